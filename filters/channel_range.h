// The smallest and largest value of each channel along a row.
#pragma once

#include <array>
#include <cstdint>

namespace quorvane {

// Lowers low[c] and raises high[c] to the values of channel c (byte order
// blue, green, red) over the row's pixels.
void WidenChannelRange(const std::uint8_t* row, int width, std::array<std::uint8_t, 3>& low,
                       std::array<std::uint8_t, 3>& high);

}  // namespace quorvane
