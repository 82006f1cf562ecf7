#include "filters/feather.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "filters/frame.h"
#include "platform/error.h"

namespace quorvane {

namespace {

// (offset from the centre)^2 / semiAxis^2, in extended precision.
long double AxisTerm(std::int64_t position, std::int64_t semiAxis) {
    const std::int64_t offset = position - semiAxis;
    return static_cast<long double>(offset * offset) / static_cast<long double>(semiAxis * semiAxis);
}

std::uint8_t Blend(std::uint8_t value, std::uint8_t colour, long double weightOfColour, long double weightOfValue) {
    return static_cast<std::uint8_t>(static_cast<std::int32_t>(colour * weightOfColour + value * weightOfValue));
}

}  // namespace

void Feather(TColor colour) {
    FilterFrame frame;
    const int width = frame.Width();
    const int height = frame.Height();
    if (width == 0 || height == 0) return;
    const std::int64_t a = width / 2;
    const std::int64_t b = height / 2;
    // The first pixel's distance would be 0 / 0.
    if (a == 0 || b == 0) throw Error("Invalid floating point operation");
    const PixelBytes target = BytesOf(colour);
    std::vector<long double> columnTerm(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) columnTerm[x] = AxisTerm(x, a);
    PassOverWorkRows([&](int y) {
        const long double rowTerm = AxisTerm(y, b);
        std::uint8_t* pixel = WorkBitmap.ScanLine(y);
        for (int x = 0; x < width; ++x, pixel += 3) {
            const double d = static_cast<double>(std::sqrt(columnTerm[x] + rowTerm));
            if (d > 1) {
                std::memcpy(pixel, target.data(), 3);
                continue;
            }
            const double t = static_cast<double>(1.0L - d);
            const long double weightOfColour = 1.0L - t;
            const long double weightOfValue = t;
            for (int c = 0; c < 3; ++c) pixel[c] = Blend(pixel[c], target[c], weightOfColour, weightOfValue);
        }
    });
    frame.WriteBack();
}

}  // namespace quorvane
