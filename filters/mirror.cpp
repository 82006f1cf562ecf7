// Mirroring in place: the result of moving every pixel to its mirror position
// through a second picture, without the second picture.
#include <cstring>
#include <vector>

#include "app/document.h"
#include "filters/four_pixels.h"
#include "filters/frame.h"
#include "filters/geometry.h"
#include "filters/parallel_rows.h"
#include "platform/services.h"

namespace quorvane {

namespace {

void ReverseRow(std::uint8_t* row, int width) {
    std::uint8_t* left = row;
    std::uint8_t* right = row + 3 * static_cast<std::size_t>(width);  // just past the last unmoved pixel
    for (; right - left >= 24; left += 12, right -= 12) {
        const FourPixels leftFour = LoadFour(left);
        StoreFour(left, Reversed(LoadFour(right - 12)));
        StoreFour(right - 12, Reversed(leftFour));
    }
    for (right -= 3; left < right; left += 3, right -= 3) {
        std::uint8_t pixel[3];
        std::memcpy(pixel, left, 3);
        std::memcpy(left, right, 3);
        std::memcpy(right, pixel, 3);
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
