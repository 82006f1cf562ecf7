#include "filters/frame.h"

#include <algorithm>

namespace quorvane {

std::uint8_t* PixelPtr = nullptr;
std::int32_t PixelX = 0;
std::int32_t PixelY = 0;

void FinishPass(Bitmap& bitmap, int firstColumn, int endColumn, int firstRow, int endRow) {
    if (endRow <= firstRow) {
        PixelY = firstRow;
        return;
    }
    PixelY = endRow;
    PixelX = std::max(firstColumn, endColumn);
    if (!bitmap.Empty()) PixelPtr = bitmap.ScanLine(endRow - 1) + std::size_t{3} * static_cast<std::size_t>(PixelX);
}

FilterFrame::FilterFrame() {
    try {
        CopySelectionToWork();
    } catch (...) {
        WorkBitmap.ReleasePixels();
        throw;
    }
}

FilterFrame::~FilterFrame() { WorkBitmap.ReleasePixels(); }

void FilterFrame::WriteBack() { WriteWorkToSelection(); }

}  // namespace quorvane
