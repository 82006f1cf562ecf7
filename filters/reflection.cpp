// Reflection: each pixel and its mirror partner both become their mean, so
// one pass over half the image, in place, gives what the two passes over a
// table of the whole image give. The means are taken eight bytes at a time.
#include <cstring>

#include "app/document.h"
#include "filters/four_pixels.h"
#include "filters/frame.h"
#include "filters/geometry.h"
#include "filters/parallel_rows.h"
#include "platform/services.h"

namespace quorvane {

namespace {

// Each byte of the result is (a + b) div 2 of the bytes in that place.
template <typename Word>
Word HalfSums(Word a, Word b) {
    constexpr Word LowBits = static_cast<Word>(0x0101010101010101);
    return (a & b) + (((a ^ b) & ~LowBits) >> 1);
}

void ReflectRow(std::uint8_t* row, int width) {
    std::uint8_t* left = row;
    std::uint8_t* right = row + 3 * static_cast<std::size_t>(width);  // just past the last unvisited pixel
    for (; right - left >= 24; left += 12, right -= 12) {
        const FourPixels leftFour = LoadFour(left);
        const FourPixels partners = Reversed(LoadFour(right - 12));
        const FourPixels means{HalfSums(leftFour.low, partners.low), HalfSums(leftFour.high, partners.high)};
        StoreFour(left, means);
        StoreFour(right - 12, Reversed(means));
    }
    for (right -= 3; left < right; left += 3, right -= 3)
        for (int c = 0; c < 3; ++c) left[c] = right[c] = static_cast<std::uint8_t>((left[c] + right[c]) >> 1);
}

void ReflectLeftRight(Bitmap& image) {
    const int width = image.Width();
    ForRowBlocks(image.Height(), width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) ReflectRow(image.ScanLine(y), width);
    });
}

void ReflectRows(std::uint8_t* top, std::uint8_t* bottom, std::size_t bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, top + i, 8);
        std::memcpy(&b, bottom + i, 8);
        const std::uint64_t means = HalfSums(a, b);
        std::memcpy(top + i, &means, 8);
        std::memcpy(bottom + i, &means, 8);
    }
    for (; i < bytes; ++i) top[i] = bottom[i] = static_cast<std::uint8_t>((top[i] + bottom[i]) >> 1);
}

void ReflectTopBottom(Bitmap& image) {
    const int height = image.Height();
    const std::size_t bytes = 3 * static_cast<std::size_t>(image.Width());
    ForRowBlocks(height / 2, image.Width(), [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) ReflectRows(image.ScanLine(y), image.ScanLine(height - 1 - y), bytes);
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
