// The frame every pixel filter runs in, and the pass state it shares.
//
// A filter copies the selection of ImageBitmap into WorkBitmap, rewrites that
// copy through row pointers, draws it back at the selection's top-left corner
// (clipped to the image) and releases WorkBitmap's pixels, all under the busy
// cursor. FilterFrame holds the parts around the pass; the pass itself is the
// filter's.
#pragma once

#include <cstdint>

#include "app/document.h"
#include "filters/parallel_rows.h"
#include "platform/bitmap.h"
#include "platform/services.h"

namespace quorvane {

// The pixel a pass is on: pointer to its blue byte (green and red follow),
// its column and its row. Passes leave them as a sequential pass over the
// rows top to bottom, pixels left to right, would: one row below the last
// row walked, one column right of the last column, and the pointer just past
// the last pixel walked.
extern std::uint8_t* PixelPtr;
extern std::int32_t PixelX;
extern std::int32_t PixelY;

inline std::uint8_t ClampByte(std::int32_t value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// (red + green + blue) div 3 of a pixel.
inline std::uint8_t Luminance(const std::uint8_t* pixel) {
    return static_cast<std::uint8_t>((pixel[0] + pixel[1] + pixel[2]) / 3);
}

// The luminance of the pixel at PixelPtr.
inline std::uint8_t PixelLuminance() { return Luminance(PixelPtr); }

// Sets the pass state to what a pass over columns [firstColumn, endColumn)
// and rows [firstRow, endRow) of `bitmap` leaves. Call it while the bitmap
// still holds its pixels.
void FinishPass(Bitmap& bitmap, int firstColumn, int endColumn, int firstRow, int endRow);

// Busy cursor and the copy of the selection into WorkBitmap while alive;
// WorkBitmap's pixels are released, then the cursor restored, when it ends,
// also when the filter throws.
class FilterFrame {
public:
    FilterFrame();
    ~FilterFrame();
    FilterFrame(const FilterFrame&) = delete;
    FilterFrame& operator=(const FilterFrame&) = delete;

    int Width() const { return WorkBitmap.Width(); }
    int Height() const { return WorkBitmap.Height(); }

    // Draws WorkBitmap back over the selection.
    void WriteBack();

private:
    BusyCursor busy_;
};

// The part of the selection that lies inside ImageBitmap, in work
// coordinates: work columns [firstColumn, endColumn) and rows [firstRow,
// endRow) land inside the image; the rest of the W x H selection falls
// outside it and holds OutsideImageColour in a copy.
struct SelectionInImage {
    int width;
    int height;
    int firstColumn;
    int endColumn;
    int firstRow;
    int endRow;

    bool Empty() const { return firstColumn >= endColumn || firstRow >= endRow; }
    // Whether some pixels of the selection lie outside the image.
    bool ReachesPastImage() const {
        return width > 0 && height > 0 &&
               (firstColumn != 0 || endColumn != width || firstRow != 0 || endRow != height);
    }
    // The first byte of work pixel (column, row), which must lie inside the image.
    std::uint8_t* ImagePixel(int column, int row) const;
};

SelectionInImage MeasureSelectionInImage();

// The frame of a filter whose every output pixel depends only on the same
// input pixel and its place in the selection. Such a filter gives the same
// image whether it rewrites a copy that is drawn back or the covered pixels
// of ImageBitmap themselves (the copy's pixels outside the image are dropped
// by the write-back), so it skips the copy and works in place. WorkBitmap
// ends as the copying frame leaves it: the selection's size, no pixels.
class InPlaceFrame {
public:
    InPlaceFrame();
    InPlaceFrame(const InPlaceFrame&) = delete;
    InPlaceFrame& operator=(const InPlaceFrame&) = delete;

    const SelectionInImage& Inside() const { return inside_; }

private:
    BusyCursor busy_;
    SelectionInImage inside_;
};

// One pass over the selection's pixels inside ImageBitmap, row blocks on both
// cores: runStep(pixel, count, column, row) rewrites the `count` pixels of
// work row `row` from work column `column` on, `pixel` being the first one's
// first byte. Leaves PixelX and PixelY as a full pass over the selection
// would, and PixelPtr just past the last pixel walked.
template <typename RunStep>
void PassOverSelectionInImage(const InPlaceFrame& frame, const RunStep& runStep) {
    const SelectionInImage& inside = frame.Inside();
    if (!inside.Empty()) {
        const int count = inside.endColumn - inside.firstColumn;
        ForRowBlocks(inside.endRow - inside.firstRow, count, [&](int firstRow, int endRow) {
            for (int y = inside.firstRow + firstRow; y < inside.firstRow + endRow; ++y)
                runStep(inside.ImagePixel(inside.firstColumn, y), count, inside.firstColumn, y);
        });
        PixelPtr = inside.ImagePixel(inside.endColumn - 1, inside.endRow - 1) + 3;
    }
    PixelX = inside.width;
    PixelY = inside.height;
}

// The same for a step that rewrites a run of pixels whatever their place:
// pixelStep(pixel, count).
template <typename PixelStep>
void PassOverSelectionInPlace(const PixelStep& pixelStep) {
    const InPlaceFrame frame;
    PassOverSelectionInImage(frame, [&](std::uint8_t* pixel, int count, int, int) { pixelStep(pixel, count); });
}

// One pass over every pixel of WorkBitmap, row blocks on both cores:
// rowStep(y) handles work row y, and nothing it reads is written for another
// row. Leaves the pass state of a full pass.
template <typename RowStep>
void PassOverWorkRows(const RowStep& rowStep) {
    const int width = WorkBitmap.Width();
    const int height = WorkBitmap.Height();
    if (width == 0 || height == 0) return;
    ForRowBlocks(height, width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) rowStep(y);
    });
    FinishPass(WorkBitmap, 0, width, 0, height);
}

// One pass over the inner pixels of WorkBitmap, those with all eight
// neighbours inside it: rowStep(y) handles columns 1..width - 2 of row y, for
// rows 1..height - 2. No pass when the bitmap is less than 3 pixels wide or
// high.
template <typename RowStep>
void PassOverInnerWorkRows(const RowStep& rowStep) {
    const int width = WorkBitmap.Width();
    const int height = WorkBitmap.Height();
    if (width < 3 || height < 3) return;
    ForRowBlocks(height - 2, width - 2, [&](int firstRow, int endRow) {
        for (int y = firstRow + 1; y < endRow + 1; ++y) rowStep(y);
    });
    FinishPass(WorkBitmap, 1, width - 1, 1, height - 1);
}

}  // namespace quorvane
