#include "platform/capture/frame_rows.h"

#include <cstring>

namespace quorvane {

bool IsUsableLayout(const FrameLayout& layout) {
    if (layout.width <= 0 || layout.height <= 0) return false;
    if (std::int64_t{layout.width} * layout.height > Bitmap::MaxPixels) return false;
    return layout.bytesPerLine >= static_cast<std::size_t>(layout.width) * Bitmap::BytesPerPixel;
}

bool CopyFrameRows(const std::uint8_t* data, std::size_t bytesUsed, const FrameLayout& layout, Bitmap& frame) {
    if (data == nullptr || !IsUsableLayout(layout)) return false;
    const std::size_t rowBytes = static_cast<std::size_t>(layout.width) * Bitmap::BytesPerPixel;
    const std::size_t lastRow = static_cast<std::size_t>(layout.height - 1);
    if (bytesUsed < rowBytes || lastRow > (bytesUsed - rowBytes) / layout.bytesPerLine) return false;
    frame.SetSize(layout.width, layout.height);
    for (int y = 0; y < layout.height; ++y)
        std::memcpy(frame.ScanLine(y), data + static_cast<std::size_t>(y) * layout.bytesPerLine, rowBytes);
    return true;
}

}  // namespace quorvane
