// Mirroring in place: the result of moving every pixel to its mirror position
// through a second picture, without the second picture.
#include <cstring>
#include <vector>

#include "app/document.h"
#include "filters/frame.h"
#include "filters/geometry.h"
#include "filters/parallel_rows.h"
#include "platform/services.h"

namespace quorvane {

namespace {

void ReverseRow(std::uint8_t* row, int width) {
    std::uint8_t* left = row;
    std::uint8_t* right = row + 3 * (width - 1);
    while (left < right) {
        for (int c = 0; c < 3; ++c) {
            const std::uint8_t byte = left[c];
            left[c] = right[c];
            right[c] = byte;
        }
        left += 3;
        right -= 3;
    }
}

void MirrorLeftRight(Bitmap& image) {
    const int width = image.Width();
    ForRowBlocks(image.Height(), width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) ReverseRow(image.ScanLine(y), width);
    });
}

void MirrorTopBottom(Bitmap& image) {
    const int height = image.Height();
    const std::size_t bytes = image.Stride();
    ForRowBlocks(height / 2, image.Width(), [&](int firstRow, int endRow) {
        std::vector<std::uint8_t> spare(bytes);
        for (int y = firstRow; y < endRow; ++y) {
            std::uint8_t* top = image.ScanLine(y);
            std::uint8_t* bottom = image.ScanLine(height - 1 - y);
            std::memcpy(spare.data(), top, bytes);
            std::memcpy(top, bottom, bytes);
            std::memcpy(bottom, spare.data(), bytes);
        }
    });
}

}  // namespace

void MirrorImage(std::int32_t direction) {
    const BusyCursor busy;
    if (!ImageBitmap.Empty()) {
        if (direction == 0)
            MirrorLeftRight(ImageBitmap);
        else
            MirrorTopBottom(ImageBitmap);
    }
    PixelX = ImageBitmap.Width();
    PixelY = ImageBitmap.Height();
    SelectAll();
}

}  // namespace quorvane
