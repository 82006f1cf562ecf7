#include "filters/feather.h"

#include <cmath>
#include <cstdint>
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
    const std::uint8_t red = static_cast<std::uint8_t>(colour);
    const std::uint8_t green = static_cast<std::uint8_t>(colour >> 8);
    const std::uint8_t blue = static_cast<std::uint8_t>(colour >> 16);
    std::vector<long double> columnTerm(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) columnTerm[x] = AxisTerm(x, a);
    PassOverWorkRows([&](int y) {
        const long double rowTerm = AxisTerm(y, b);
        std::uint8_t* pixel = WorkBitmap.ScanLine(y);
        for (int x = 0; x < width; ++x, pixel += 3) {
            const double d = static_cast<double>(std::sqrt(columnTerm[x] + rowTerm));
            if (d > 1) {
                pixel[0] = blue;
                pixel[1] = green;
                pixel[2] = red;
                continue;
            }
            const double t = static_cast<double>(1.0L - d);
            const long double weightOfColour = 1.0L - t;
            const long double weightOfValue = t;
            pixel[0] = Blend(pixel[0], blue, weightOfColour, weightOfValue);
            pixel[1] = Blend(pixel[1], green, weightOfColour, weightOfValue);
            pixel[2] = Blend(pixel[2], red, weightOfColour, weightOfValue);
        }
    });
    frame.WriteBack();
}

}  // namespace quorvane
