#include "filters/channel_range.h"

#include <algorithm>
#include <cstddef>

namespace quorvane {

void WidenChannelRange(const std::uint8_t* row, int width, std::array<std::uint8_t, 3>& low,
                       std::array<std::uint8_t, 3>& high) {
    // Sixteen pixels are 48 bytes, so byte i of every block belongs to
    // channel i mod 3: the block loop runs on whole vector registers.
    constexpr std::size_t Block = 48;
    std::array<std::uint8_t, Block> blockLow;
    std::array<std::uint8_t, Block> blockHigh;
    for (std::size_t i = 0; i < Block; ++i) {
        blockLow[i] = low[i % 3];
        blockHigh[i] = high[i % 3];
    }
    const std::size_t bytes = std::size_t{3} * static_cast<std::size_t>(width);
    std::size_t offset = 0;
    for (; offset + Block <= bytes; offset += Block)
        for (std::size_t i = 0; i < Block; ++i) {
            blockLow[i] = std::min(blockLow[i], row[offset + i]);
            blockHigh[i] = std::max(blockHigh[i], row[offset + i]);
        }
    for (std::size_t i = 0; offset + i < bytes; ++i) {
        blockLow[i] = std::min(blockLow[i], row[offset + i]);
        blockHigh[i] = std::max(blockHigh[i], row[offset + i]);
    }
    for (std::size_t i = 0; i < Block; ++i) {
        low[i % 3] = std::min(low[i % 3], blockLow[i]);
        high[i % 3] = std::max(high[i % 3], blockHigh[i]);
    }
}

}  // namespace quorvane
