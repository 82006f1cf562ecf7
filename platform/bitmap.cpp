#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/error.h"

namespace quorvane {

void Bitmap::CheckSize(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0)
        throw Error("Invalid image size " + std::to_string(width) + " x " + std::to_string(height));
    if (width > 0 && height > MaxPixels / width)
        throw Error("Image too large: " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels");
}

void Bitmap::SetSize(int width, int height) {
    CheckSize(width, height);
    if (width == width_ && height == height_ && HasPixels()) return;
    storage_.Release();
    width_ = width;
    height_ = height;
    EnsureStorage();
}

void Bitmap::EnsureStorage() {
    if (!HasPixels() && !Empty()) storage_ = PixelStorage(ByteSize());
}

std::uint8_t* Bitmap::Bits() {
    EnsureStorage();
    return storage_.Data();
}

std::uint8_t* Bitmap::ScanLine(int y) { return Bits() + Stride() * static_cast<std::size_t>(y); }

const std::uint8_t* Bitmap::ScanLine(int y) const {
    return storage_.Data() + Stride() * static_cast<std::size_t>(y);
}

TColor Bitmap::Pixel(int x, int y) const {
    const std::uint8_t* p = ScanLine(y) + x * BytesPerPixel;
    return RGB(p[2], p[1], p[0]);
}

void Bitmap::SetPixel(int x, int y, TColor colour) {
    const PixelBytes pixel = BytesOf(colour);
    std::memcpy(ScanLine(y) + x * BytesPerPixel, pixel.data(), BytesPerPixel);
}

void Bitmap::Fill(TColor colour) {
    if (Empty()) return;
    const PixelBytes pixel = BytesOf(colour);
    std::uint8_t* first = ScanLine(0);
    for (int x = 0; x < width_; ++x) std::memcpy(first + x * BytesPerPixel, pixel.data(), BytesPerPixel);
    for (int y = 1; y < height_; ++y) std::memcpy(ScanLine(y), first, Stride());
}

void Bitmap::Draw(const Bitmap& source, int x, int y) {
    if (source.Empty() || Empty() || !source.HasPixels()) return;
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + source.width_, width_);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + source.height_, height_);
    if (left >= right || top >= bottom) return;
    if (x == 0 && y == 0 && source.width_ == width_ && source.height_ == height_) {
        std::memcpy(Bits(), source.Bits(), ByteSize());
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(right - left) * BytesPerPixel;
    for (std::int64_t row = top; row < bottom; ++row) {
        const std::uint8_t* from = source.ScanLine(static_cast<int>(row - y)) + (left - x) * BytesPerPixel;
        std::memcpy(ScanLine(static_cast<int>(row)) + left * BytesPerPixel, from, bytes);
    }
}

void Bitmap::StretchDraw(const Bitmap& source, int x, int y, int width, int height) {
    if (source.Empty() || Empty() || width <= 0 || height <= 0 || !source.HasPixels()) return;
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + width, width_);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + height, height_);
    for (std::int64_t row = top; row < bottom; ++row) {
        const int sourceRow = static_cast<int>((row - y) * source.height_ / height);
        const std::uint8_t* from = source.ScanLine(sourceRow);
        std::uint8_t* to = ScanLine(static_cast<int>(row));
        for (std::int64_t column = left; column < right; ++column) {
            const std::int64_t sourceColumn = (column - x) * source.width_ / width;
            std::memcpy(to + column * BytesPerPixel, from + sourceColumn * BytesPerPixel, 3);
        }
    }
}

void Bitmap::Assign(const Bitmap& source) {
    if (this == &source) return;
    SetSize(source.width_, source.height_);
    if (!Empty()) {
        if (source.HasPixels())
            std::memcpy(Bits(), source.Bits(), ByteSize());
        else
            std::memset(Bits(), 0, ByteSize());
    }
}

bool Bitmap::SamePixels(const Bitmap& other) const {
    if (width_ != other.width_ || height_ != other.height_) return false;
    const std::size_t bytes = static_cast<std::size_t>(width_) * BytesPerPixel;
    for (int y = 0; y < height_; ++y)
        if (std::memcmp(ScanLine(y), other.ScanLine(y), bytes) != 0) return false;
    return true;
}

}  // namespace quorvane
