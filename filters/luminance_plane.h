// The luminance of every pixel of WorkBitmap as copied, before a pass
// rewrites it: the neighbour plane of the edge finder and the sharpness
// filter.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/pixel_storage.h"

namespace quorvane {

class LuminancePlane {
public:
    // Measures WorkBitmap: one full pass in frame order.
    LuminancePlane();

    // The luminance row y, one byte per column.
    const std::uint8_t* Row(int y) const { return storage_.Data() + static_cast<std::size_t>(y) * width_; }

private:
    std::size_t width_;
    PixelStorage storage_;
};

}  // namespace quorvane
