#include "retouch/brushes.h"

#include <cmath>

#include "filters/frame.h"

namespace quorvane {

namespace {

constexpr TColor White = RGB(255, 255, 255);

// Calls paint(pixel, d / s) for every pixel of the spot inside the picture,
// column by column, each column top to bottom. `pixel` points at the blue
// byte; green and red follow. Coordinates are 64-bit so that a spot around a
// point near the 32-bit limits does not overflow.
template <typename Paint>
void ForSpot(Bitmap& picture, int size, std::int32_t centreX, std::int32_t centreY, const Paint& paint) {
    if (size < 1) return;
    for (std::int64_t x = std::int64_t{centreX} - size; x <= std::int64_t{centreX} + size; ++x) {
        if (x < 0 || x >= picture.Width()) continue;
        for (std::int64_t y = std::int64_t{centreY} - size; y <= std::int64_t{centreY} + size; ++y) {
            if (y < 0 || y >= picture.Height()) continue;
            const auto dx = static_cast<double>(x - centreX);
            const auto dy = static_cast<double>(y - centreY);
            const double distance = std::sqrt(dx * dx + dy * dy);
            if (distance > size) continue;
            paint(picture.ScanLine(static_cast<int>(y)) + x * Bitmap::BytesPerPixel,
                  static_cast<long double>(distance) / size);
        }
    }
}

}  // namespace

void AirbrushDab(Bitmap& picture, const BrushSettings& settings, std::int32_t x, std::int32_t y) {
    if (settings.strengthMaximum < 1) return;
    const double opacity = static_cast<double>(settings.strength) / settings.strengthMaximum;
    const PixelBytes colour = BytesOf(settings.colour);
    ForSpot(picture, settings.size, x, y, [&](std::uint8_t* pixel, long double relativeDistance) {
        const auto weight = static_cast<double>((1.0L - relativeDistance) * opacity);
        const auto remainder = static_cast<double>(1.0L - weight);
        // w and 1 - w add up to 1, so every sum lies between the two channels blended.
        for (int channel = 0; channel < 3; ++channel) {
            const long double blend = static_cast<long double>(colour[channel]) * weight +
                                      static_cast<long double>(pixel[channel]) * remainder;
            pixel[channel] = static_cast<std::uint8_t>(static_cast<int>(blend));
        }
    });
}

void ShadeDab(Bitmap& picture, int size, std::int32_t x, std::int32_t y, std::int32_t amount) {
    ForSpot(picture, size, x, y, [&](std::uint8_t* pixel, long double relativeDistance) {
        const long double change = (1.0L - relativeDistance) * amount;
        for (int channel = 0; channel < 3; ++channel)
            pixel[channel] = ClampByte(static_cast<std::int32_t>(pixel[channel] + change));
    });
}

TColor PickColor(const Bitmap& picture, std::int32_t x, std::int32_t y) {
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return White;
    return picture.Pixel(x, y);
}

}  // namespace quorvane
