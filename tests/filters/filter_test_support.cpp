#include "filter_test_support.h"

#include "filters/noise.h"

#include <cstdio>

namespace quorvane::testing {

void FilterTest::SetUp() {
    ResetDocument();
    saved_ = TheServices();
    TheServices().messages = &services_;
    TheServices().cursor = &services_;
}

void FilterTest::TearDown() {
    EXPECT_EQ(services_.busyDepth, 0) << "busy cursor left on";
    TheServices() = saved_;
    ResetDocument();
}

void FilterTest::Load(const Bitmap& image, TRect selection) {
    ImageBitmap.Assign(image);
    Selection = selection;
}

void FilterTest::Load(const Bitmap& image) { Load(image, TRect{0, 0, image.Width() - 1, image.Height() - 1}); }

Bitmap Uniform(int width, int height, TColor colour) {
    Bitmap bitmap(width, height);
    bitmap.Fill(colour);
    return bitmap;
}

Bitmap RandomImage(std::mt19937& random, int width, int height) {
    Bitmap bitmap(width, height);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int i = 0; i < 3 * width; ++i) row[i] = static_cast<std::uint8_t>(byte(random));
    }
    return bitmap;
}

TRect RandomSelection(std::mt19937& random, int imageWidth, int imageHeight) {
    std::uniform_int_distribution<int> left(-2, imageWidth - 1);
    std::uniform_int_distribution<int> top(-2, imageHeight - 1);
    TRect selection;
    selection.Left = left(random);
    selection.Top = top(random);
    std::uniform_int_distribution<int> width(1, imageWidth + 3);
    std::uniform_int_distribution<int> height(1, imageHeight + 3);
    selection.Right = selection.Left + width(random) - 1;
    selection.Bottom = selection.Top + height(random) - 1;
    return selection;
}

Bitmap Copy(const Bitmap& bitmap) {
    Bitmap copy;
    copy.Assign(bitmap);
    return copy;
}

int ChangedOutside(const Bitmap& a, const Bitmap& b, TRect inside) {
    int changed = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const bool within = x >= inside.Left && x <= inside.Right && y >= inside.Top && y <= inside.Bottom;
            if (!within && a.Pixel(x, y) != b.Pixel(x, y)) ++changed;
        }
    return changed;
}

std::string Describe(TColor colour) {
    char text[32];
    std::snprintf(text, sizeof text, "(%u, %u, %u)", colour & 255, (colour >> 8) & 255, (colour >> 16) & 255);
    return text;
}

std::uint32_t FixedMillisecond = 0;

namespace {
std::uint32_t FixedClock() { return FixedMillisecond; }
}  // namespace

void FixedClockFilterTest::SetUp() {
    FilterTest::SetUp();
    FixedMillisecond = 0;
    SetNoiseClock(FixedClock);
}

void FixedClockFilterTest::TearDown() {
    SetNoiseClock(nullptr);
    FilterTest::TearDown();
}

}  // namespace quorvane::testing
