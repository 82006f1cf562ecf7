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

std::uint8_t* SelectionInImage::ImagePixel(int column, int row) const {
    return ImageBitmap.ScanLine(Selection.Top + row) + std::size_t{3} * static_cast<std::size_t>(Selection.Left + column);
}

SelectionInImage MeasureSelectionInImage() {
    const std::int64_t width = SelectionWidth();
    const std::int64_t height = SelectionHeight();
    auto clamp = [](std::int64_t value, std::int64_t size) {
        return static_cast<int>(std::clamp<std::int64_t>(value, 0, size));
    };
    return {static_cast<int>(width),
            static_cast<int>(height),
            clamp(-std::int64_t{Selection.Left}, width),
            clamp(std::int64_t{ImageBitmap.Width()} - Selection.Left, width),
            clamp(-std::int64_t{Selection.Top}, height),
            clamp(std::int64_t{ImageBitmap.Height()} - Selection.Top, height)};
}

// Sizing WorkBitmap checks the selection's size as the copy does; its fresh
// storage is mapped but never touched, so giving it back costs no faults.
InPlaceFrame::InPlaceFrame() {
    const std::int64_t width = SelectionWidth();
    const std::int64_t height = SelectionHeight();
    Bitmap::CheckSize(width, height);
    WorkBitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
    WorkBitmap.ReleasePixels();
    inside_ = MeasureSelectionInImage();
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
