// Reflection: each pixel and its mirror partner both become their mean, so
// one pass over half the image, in place, gives what the two passes over a
// table of the whole image give.
#include "app/document.h"
#include "filters/frame.h"
#include "filters/geometry.h"
#include "filters/parallel_rows.h"
#include "platform/services.h"

namespace quorvane {

namespace {

void ReflectLeftRight(Bitmap& image) {
    const int width = image.Width();
    ForRowBlocks(image.Height(), width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            std::uint8_t* left = image.ScanLine(y);
            std::uint8_t* right = left + 3 * (width - 1);
            while (left < right) {
                for (int c = 0; c < 3; ++c) left[c] = right[c] = static_cast<std::uint8_t>((left[c] + right[c]) >> 1);
                left += 3;
                right -= 3;
            }
        }
    });
}

void ReflectTopBottom(Bitmap& image) {
    const int height = image.Height();
    const int bytes = 3 * image.Width();
    ForRowBlocks(height / 2, image.Width(), [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            std::uint8_t* top = image.ScanLine(y);
            std::uint8_t* bottom = image.ScanLine(height - 1 - y);
            for (int i = 0; i < bytes; ++i) top[i] = bottom[i] = static_cast<std::uint8_t>((top[i] + bottom[i]) >> 1);
        }
    });
}

}  // namespace

void ReflectImage(std::int32_t direction) {
    const BusyCursor busy;
    SelectAll();
    if (!ImageBitmap.Empty()) {
        if (direction == 0)
            ReflectLeftRight(ImageBitmap);
        else
            ReflectTopBottom(ImageBitmap);
    }
    PixelX = ImageBitmap.Width();
    PixelY = ImageBitmap.Height();
}

}  // namespace quorvane
