#include "filters/luminance_plane.h"

#include "filters/frame.h"

namespace quorvane {

LuminancePlane::LuminancePlane()
    : width_(static_cast<std::size_t>(WorkBitmap.Width())),
      storage_(width_ * static_cast<std::size_t>(WorkBitmap.Height())) {
    const int width = WorkBitmap.Width();
    PassOverWorkRows([&](int y) {
        const std::uint8_t* row = WorkBitmap.ScanLine(y);
        std::uint8_t* out = storage_.Data() + static_cast<std::size_t>(y) * width_;
        for (const std::uint8_t* pixel = row; pixel != row + 3 * width; pixel += 3)
            *out++ = Luminance(pixel);
    });
}

}  // namespace quorvane
