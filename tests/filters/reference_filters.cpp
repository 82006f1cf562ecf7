#include "reference_filters.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "app/document.h"
#include "filters/frame.h"
#include "filters/noise.h"

namespace quorvane::reference {

namespace {

std::uint8_t& Red() { return PixelPtr[2]; }
std::uint8_t& Green() { return PixelPtr[1]; }
std::uint8_t& Blue() { return PixelPtr[0]; }

template <typename Step>
void Pass(Step step) {
    for (PixelY = 0; PixelY < WorkBitmap.Height(); ++PixelY) {
        PixelPtr = WorkBitmap.ScanLine(PixelY);
        for (PixelX = 0; PixelX < WorkBitmap.Width(); ++PixelX) {
            step();
            PixelPtr += 3;
        }
    }
}

// The pass over the pixels with all eight neighbours inside the work bitmap.
template <typename Step>
void InnerPass(Step step) {
    const int width = WorkBitmap.Width();
    const int height = WorkBitmap.Height();
    if (width < 3 || height < 3) return;
    for (PixelY = 1; PixelY <= height - 2; ++PixelY) {
        PixelPtr = WorkBitmap.ScanLine(PixelY) + 3;
        for (PixelX = 1; PixelX <= width - 2; ++PixelX) {
            step();
            PixelPtr += 3;
        }
    }
}

template <typename Step>
void Frame(Step step) {
    CopySelectionToWork();
    Pass(step);
    WriteWorkToSelection();
    WorkBitmap.ReleasePixels();
}

bool Chosen(std::uint8_t selector, std::uint8_t channel) { return selector == 0 || selector == channel; }

std::uint8_t Logarithm(std::uint8_t v) {
    return static_cast<std::uint8_t>(std::lrint(105.88L * std::log10(static_cast<long double>(v) + 1)));
}

// plane[x][y]: one entry per work pixel.
template <typename Entry>
using Plane = std::vector<std::vector<Entry>>;

template <typename Entry>
Plane<Entry> MakePlane() {
    return Plane<Entry>(WorkBitmap.Width(), std::vector<Entry>(WorkBitmap.Height()));
}

}  // namespace

void AdjustChannels(std::int32_t dR, std::int32_t dG, std::int32_t dB) {
    Frame([&] {
        Red() = ClampByte(Red() + dR);
        Green() = ClampByte(Green() + dG);
        Blue() = ClampByte(Blue() + dB);
    });
}

void BlackAndWhite() {
    Frame([] {
        const std::uint8_t value = PixelLuminance() > 127 ? 255 : 0;
        Red() = Green() = Blue() = value;
    });
}

void Grayscale() {
    Frame([] {
        const std::uint8_t value = PixelLuminance();
        Red() = Green() = Blue() = value;
    });
}

void InvertChannels(std::uint8_t selector) {
    Frame([&] {
        if (Chosen(selector, 1)) Red() = 255 - Red();
        if (Chosen(selector, 2)) Green() = 255 - Green();
        if (Chosen(selector, 3)) Blue() = 255 - Blue();
    });
}

void LogarithmChannels(std::uint8_t selector) {
    Frame([&] {
        if (Chosen(selector, 1)) Red() = Logarithm(Red());
        if (Chosen(selector, 2)) Green() = Logarithm(Green());
        if (Chosen(selector, 3)) Blue() = Logarithm(Blue());
    });
}

void AdjustContrast(bool decrease) {
    const long double f = decrease ? 0.5L : 2.0L;
    const long double o = decrease ? 64.0L : -128.0L;
    Frame([&] {
        for (int c = 0; c < 3; ++c) PixelPtr[c] = ClampByte(static_cast<std::int32_t>(PixelPtr[c] * f + o));
    });
}

void SwapChannels() {
    Frame([] {
        const std::uint8_t r = Red(), g = Green(), b = Blue();
        Red() = b;
        Green() = r;
        Blue() = g;
    });
}

void OptimizeLevels() {
    CopySelectionToWork();
    std::int32_t minimum[3] = {256, 256, 256};
    std::int32_t maximum[3] = {-1, -1, -1};
    Pass([&] {
        for (int c = 0; c < 3; ++c) {
            if (PixelPtr[c] > maximum[c]) maximum[c] = PixelPtr[c];
            if (PixelPtr[c] < minimum[c]) minimum[c] = PixelPtr[c];
        }
    });
    double scale[3];
    double offset[3];
    for (int c = 0; c < 3; ++c) {
        if (maximum[c] == minimum[c]) {
            WorkBitmap.ReleasePixels();
            throw std::runtime_error("Floating point division by zero");
        }
        scale[c] = static_cast<double>(255.0L / (maximum[c] - minimum[c]));
        offset[c] = static_cast<double>(-static_cast<long double>(scale[c]) * minimum[c]);
    }
    Pass([&] {
        for (int c = 0; c < 3; ++c)
            PixelPtr[c] = static_cast<std::uint8_t>(
                std::nearbyint(static_cast<long double>(PixelPtr[c]) * scale[c] + static_cast<long double>(offset[c])));
    });
    WriteWorkToSelection();
    WorkBitmap.ReleasePixels();
}

void Mean(std::int32_t n) {
    CopySelectionToWork();
    const int width = WorkBitmap.Width();
    const int height = WorkBitmap.Height();
    struct Colour {
        int red, green, blue;
    };
    Plane<Colour> plane = MakePlane<Colour>();
    Pass([&] { plane[PixelX][PixelY] = {Red(), Green(), Blue()}; });
    const int divisor = (2 * n + 1) * (2 * n + 1);
    Pass([&] {
        int sR = 0, sG = 0, sB = 0;
        for (int dx = -n; dx <= n; ++dx)
            for (int dy = -n; dy <= n; ++dy) {
                int x = PixelX + dx;
                int y = PixelY + dy;
                if (x < 0) x = 0;
                if (x > width - 1) x = width - 1;
                if (y < 0) y = 0;
                if (y > height - 1) y = height - 1;
                sR += plane[x][y].red;
                sG += plane[x][y].green;
                sB += plane[x][y].blue;
            }
        Red() = static_cast<std::uint8_t>(sR / divisor);
        Green() = static_cast<std::uint8_t>(sG / divisor);
        Blue() = static_cast<std::uint8_t>(sB / divisor);
    });
    WriteWorkToSelection();
    WorkBitmap.ReleasePixels();
}

void AddNoise(std::int32_t n, std::uint32_t seed) {
    auto draw = [&] {
        seed = seed * 134775813u + 1u;
        return static_cast<std::int32_t>((static_cast<std::uint64_t>(seed) * static_cast<std::uint32_t>(n)) >> 32);
    };
    Frame([&] {
        const int r = Red(), g = Green(), b = Blue();
        const int r1 = draw();
        const int r2 = draw();
        const int r3 = draw();
        Red() = ClampByte(r + 2 * r1 - n);
        Green() = ClampByte(g + 2 * r2 - n);
        Blue() = ClampByte(b + 2 * r3 - n);
    });
    RandomSeed = seed;
}

void FindEdges() {
    CopySelectionToWork();
    const int width = WorkBitmap.Width();
    const int height = WorkBitmap.Height();
    Plane<std::uint8_t> plane = MakePlane<std::uint8_t>();
    Pass([&] { plane[PixelX][PixelY] = PixelLuminance(); });
    InnerPass([&] {
        const int centre = plane[PixelX][PixelY];
        int s = 0;
        for (int i = -1; i <= 1; ++i)
            for (int j = -1; j <= 1; ++j)
                if (i != 0 || j != 0) s += std::abs(plane[PixelX + i][PixelY + j] - centre);
        Red() = Green() = Blue() = static_cast<std::uint8_t>(s / 8);
    });
    const int imageWidth = ImageBitmap.Width();
    const int imageHeight = ImageBitmap.Height();
    for (int x = 0; x < imageWidth; ++x) {
        ImageBitmap.SetPixel(x, 0, 0);
        ImageBitmap.SetPixel(x, imageHeight - 1, 0);
    }
    for (int y = 0; y < imageHeight; ++y) {
        ImageBitmap.SetPixel(0, y, 0);
        ImageBitmap.SetPixel(imageWidth - 1, y, 0);
    }
    if (width >= 3 && height >= 3) {
        Bitmap interior(width - 2, height - 2);
        interior.Draw(WorkBitmap, -1, -1);
        ImageBitmap.StretchDraw(interior, Selection.Left, Selection.Top, width, height);
    }
    WorkBitmap.ReleasePixels();
    OptimizeLevels();
    LogarithmChannels(0);
}

void AdjustSharpness(bool decrease) {
    CopySelectionToWork();
    const long double k = decrease ? -0.5L : 2.0L;
    Plane<std::uint8_t> plane = MakePlane<std::uint8_t>();
    Pass([&] { plane[PixelX][PixelY] = PixelLuminance(); });
    InnerPass([&] {
        int sum = 0;
        for (int i = -1; i <= 1; ++i)
            for (int j = -1; j <= 1; ++j)
                if (i != 0 || j != 0) sum += plane[PixelX + i][PixelY + j];
        const int m = sum / 8;
        const int r0 = Red(), g0 = Green(), b0 = Blue();
        Red() = ClampByte(static_cast<std::int32_t>((PixelLuminance() - m) * k + r0));
        Green() = ClampByte(static_cast<std::int32_t>((PixelLuminance() - m) * k + g0));
        Blue() = ClampByte(static_cast<std::int32_t>((PixelLuminance() - m) * k + b0));
    });
    WriteWorkToSelection();
    WorkBitmap.ReleasePixels();
}

void Feather(TColor colour) {
    CopySelectionToWork();
    const int a = WorkBitmap.Width() / 2;
    const int b = WorkBitmap.Height() / 2;
    const int channel[3] = {static_cast<int>((colour >> 16) & 255), static_cast<int>((colour >> 8) & 255),
                            static_cast<int>(colour & 255)};
    Pass([&] {
        const long double dx = static_cast<long double>((PixelX - a) * (PixelX - a));
        const long double dy = static_cast<long double>((PixelY - b) * (PixelY - b));
        const long double q = dx / (static_cast<long double>(a) * a) + dy / (static_cast<long double>(b) * b);
        if (std::isnan(q)) {
            WorkBitmap.ReleasePixels();
            throw std::runtime_error("Invalid floating point operation");
        }
        const double d = static_cast<double>(std::sqrt(q));
        for (int c = 0; c < 3; ++c) {
            if (d > 1) {
                PixelPtr[c] = static_cast<std::uint8_t>(channel[c]);
            } else {
                const double t = static_cast<double>(1.0L - d);
                PixelPtr[c] = static_cast<std::uint8_t>(static_cast<std::int32_t>(
                    channel[c] * (1.0L - t) + PixelPtr[c] * static_cast<long double>(t)));
            }
        }
    });
    WriteWorkToSelection();
    WorkBitmap.ReleasePixels();
}

Statistics MeasureImage() {
    Statistics s{{255, 255, 255}, {0, 0, 0}, 0, 0};
    for (PixelY = 0; PixelY < ImageBitmap.Height(); ++PixelY) {
        PixelPtr = ImageBitmap.ScanLine(PixelY);
        for (PixelX = 0; PixelX < ImageBitmap.Width(); ++PixelX) {
            const std::uint8_t value[3] = {Red(), Green(), Blue()};
            for (int c = 0; c < 3; ++c) {
                if (value[c] > s.maximum[c]) s.maximum[c] = value[c];
                if (value[c] < s.minimum[c]) s.minimum[c] = value[c];
            }
            s.sum += PixelLuminance();
            PixelPtr += 3;
        }
    }
    const long double pixels = static_cast<long double>(ImageBitmap.Width()) * ImageBitmap.Height();
    s.average = static_cast<std::uint8_t>(std::nearbyint(s.sum * (100.0L / 255.0L) / pixels));
    return s;
}

}  // namespace quorvane::reference
