// A 24-bit picture with direct row access.
//
// Rows are addressed from the top; each holds Width pixels of three bytes in
// the order blue, green, red, and is padded with zero bytes to a multiple of
// four (the layout of a bottom-up BMP row, and one a QImage can wrap as it is).
// The padding stays zero: nothing writes past Width * 3 bytes of a row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/pixel_storage.h"

namespace quorvane {

// A colour value: red in the lowest byte, then green, then blue, top byte 0.
using TColor = std::uint32_t;

constexpr TColor RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return TColor{red} | TColor{green} << 8 | TColor{blue} << 16;
}
constexpr int RedOf(TColor colour) { return static_cast<int>(colour & 0xFF); }
constexpr int GreenOf(TColor colour) { return static_cast<int>(colour >> 8 & 0xFF); }
constexpr int BlueOf(TColor colour) { return static_cast<int>(colour >> 16 & 0xFF); }

// The colour as a pixel's three bytes: blue, green, red.
using PixelBytes = std::array<std::uint8_t, 3>;
constexpr PixelBytes BytesOf(TColor colour) {
    return {static_cast<std::uint8_t>(BlueOf(colour)), static_cast<std::uint8_t>(GreenOf(colour)),
            static_cast<std::uint8_t>(RedOf(colour))};
}

class Bitmap {
public:
    static constexpr int BytesPerPixel = 3;
    // The largest picture accepted from any source, in pixels (768 MB of pixels).
    static constexpr std::int64_t MaxPixels = std::int64_t{256} << 20;

    Bitmap() = default;
    Bitmap(int width, int height) { SetSize(width, height); }

    Bitmap(Bitmap&&) noexcept = default;
    Bitmap& operator=(Bitmap&&) noexcept = default;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t Stride() const { return StrideFor(width_); }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Gives the picture new dimensions. Keeps the pixels when the dimensions
    // do not change and storage is held; otherwise the picture is black.
    // Throws Error for negative sizes and for pictures above MaxPixels.
    void SetSize(int width, int height);

    // Frees the pixel storage and keeps the dimensions; the next write access
    // gives a black picture of the same size.
    void ReleasePixels() { storage_.Release(); }
    bool HasPixels() const { return storage_.Data() != nullptr; }

    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    std::uint8_t* Bits();
    const std::uint8_t* Bits() const { return storage_.Data(); }
    std::size_t ByteSize() const { return Stride() * static_cast<std::size_t>(height_); }

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor colour);
    void Fill(TColor colour);

    // Draws `source` one to one with its top-left pixel at (x, y); whatever
    // falls outside this picture is dropped.
    void Draw(const Bitmap& source, int x, int y);

    // Draws `source` scaled to the rectangle (x, y, width, height) by nearest
    // neighbour, clipped to this picture.
    void StretchDraw(const Bitmap& source, int x, int y, int width, int height);

    // Makes this picture a pixel-exact copy of `source`, reusing storage when
    // the dimensions match.
    void Assign(const Bitmap& source);

    bool SamePixels(const Bitmap& other) const;

    static std::size_t StrideFor(int width) {
        return (static_cast<std::size_t>(width) * BytesPerPixel + 3) & ~std::size_t{3};
    }
    // Throws Error when a picture of this size cannot be held.
    static void CheckSize(std::int64_t width, std::int64_t height);

private:
    void EnsureStorage();

    int width_ = 0;
    int height_ = 0;
    PixelStorage storage_;
};

}  // namespace quorvane
