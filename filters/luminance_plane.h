// The luminance of every pixel of WorkBitmap as copied, before a pass
// rewrites it: the neighbour plane of the edge finder and the sharpness
// filter.
#pragma once

#include <cstddef>
#include <cstdint>

#include "filters/frame.h"
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

// One pass over the inner pixels of WorkBitmap with their 3 x 3 luminance
// neighbourhood from `plane`: step(pixel, above, here, below, x) for column x
// of each row, where above, here and below are the plane's rows around it.
template <typename Step>
void PassOverNeighbourhoods(const LuminancePlane& plane, const Step& step) {
    const int width = WorkBitmap.Width();
    PassOverInnerWorkRows([&](int y) {
        const std::uint8_t* above = plane.Row(y - 1);
        const std::uint8_t* here = plane.Row(y);
        const std::uint8_t* below = plane.Row(y + 1);
        std::uint8_t* pixel = WorkBitmap.ScanLine(y) + 3;
        for (int x = 1; x <= width - 2; ++x, pixel += 3) step(pixel, above, here, below, x);
    });
}

}  // namespace quorvane
