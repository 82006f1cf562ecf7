#include "filters/point.h"

#include <gtest/gtest.h>

#include <functional>

#include "filter_test_support.h"

namespace quorvane::testing {
namespace {

using PointFilterTest = FilterTest;

struct PixelCase {
    const char* name;
    std::function<void()> filter;
    TColor before;
    TColor after;
};

// Each case runs on a one-pixel selection in the middle of a 3 x 3 image, so
// it also shows that the neighbours stay as they were.
TEST_F(PointFilterTest, MapsSinglePixels) {
    const PixelCase cases[] = {
        {"brightness up", [] { AdjustChannels(25, 25, 25); }, RGB(250, 10, 0), RGB(255, 35, 25)},
        {"brightness down", [] { AdjustChannels(-25, -25, -25); }, RGB(30, 30, 30), RGB(5, 5, 5)},
        {"brightness down again", [] { AdjustChannels(-25, -25, -25); }, RGB(5, 5, 5), RGB(0, 0, 0)},
        {"red up only", [] { AdjustChannels(25, 0, 0); }, RGB(240, 7, 8), RGB(255, 7, 8)},
        {"blue down only", [] { AdjustChannels(0, 0, -25); }, RGB(1, 2, 30), RGB(1, 2, 5)},
        {"huge offsets saturate", [] { AdjustChannels(INT32_MAX, INT32_MIN, 0); }, RGB(255, 0, 9), RGB(255, 0, 9)},
        {"white 128", BlackAndWhite, RGB(128, 128, 128), RGB(255, 255, 255)},
        {"black 127", BlackAndWhite, RGB(127, 128, 128), RGB(0, 0, 0)},
        {"black red", BlackAndWhite, RGB(255, 0, 0), RGB(0, 0, 0)},
        {"white yellow", BlackAndWhite, RGB(200, 200, 0), RGB(255, 255, 255)},
        {"gray", Grayscale, RGB(10, 20, 31), RGB(20, 20, 20)},
        {"invert red", [] { InvertChannels(1); }, RGB(0, 100, 200), RGB(255, 100, 200)},
        {"invert green", [] { InvertChannels(2); }, RGB(0, 100, 200), RGB(0, 155, 200)},
        {"invert blue", [] { InvertChannels(3); }, RGB(0, 100, 200), RGB(0, 100, 55)},
        {"invert all", [] { InvertChannels(0); }, RGB(0, 100, 200), RGB(255, 155, 55)},
        {"invert none", [] { InvertChannels(4); }, RGB(0, 100, 200), RGB(0, 100, 200)},
        {"logarithm red", [] { LogarithmChannels(1); }, RGB(10, 10, 10), RGB(110, 10, 10)},
        {"logarithm blue", [] { LogarithmChannels(3); }, RGB(10, 10, 10), RGB(10, 10, 110)},
        {"logarithm none", [] { LogarithmChannels(255); }, RGB(10, 10, 10), RGB(10, 10, 10)},
        {"swap", SwapChannels, RGB(10, 20, 30), RGB(30, 10, 20)},
    };
    for (const PixelCase& c : cases) {
        Bitmap image = Uniform(3, 3, RGB(77, 88, 99));
        image.SetPixel(1, 1, c.before);
        Load(image, TRect{1, 1, 1, 1});
        c.filter();
        EXPECT_EQ(Describe(ImageBitmap.Pixel(1, 1)), Describe(c.after)) << c.name;
        image.SetPixel(1, 1, c.after);
        EXPECT_TRUE(ImageBitmap.SamePixels(image)) << c.name << ": a pixel outside the selection changed";
    }
}

// Runs `filter` on a 256 x 1 ramp and checks value -> result pairs.
void ExpectCurve(const std::function<void()>& filter, std::initializer_list<std::pair<int, int>> points) {
    Bitmap ramp(256, 1);
    for (int v = 0; v < 256; ++v) ramp.SetPixel(v, 0, RGB(v, v, v));
    ImageBitmap.Assign(ramp);
    SelectAll();
    filter();
    for (const auto& [value, expected] : points)
        EXPECT_EQ(Describe(ImageBitmap.Pixel(value, 0)), Describe(RGB(expected, expected, expected))) << value;
}

TEST_F(PointFilterTest, LogarithmCurve) {
    ExpectCurve([] { LogarithmChannels(0); }, {{0, 0}, {1, 32}, {2, 51}, {10, 110}, {15, 127}, {50, 181},
                                               {100, 212}, {128, 223}, {200, 244}, {254, 255}, {255, 255}});
}

TEST_F(PointFilterTest, ContrastCurves) {
    ExpectCurve([] { AdjustContrast(false); },
                {{0, 0}, {64, 0}, {65, 2}, {100, 72}, {128, 128}, {191, 254}, {192, 255}, {255, 255}});
    ExpectCurve([] { AdjustContrast(true); }, {{0, 64}, {1, 64}, {100, 114}, {128, 128}, {255, 191}});
}

TEST_F(PointFilterTest, InverseFiltersRestoreTheImage) {
    std::mt19937 random(7);
    const Bitmap image = RandomImage(random, 23, 17);
    Load(image, TRect{3, 2, 19, 16});  // right column and bottom row of the image included
    InvertChannels(0);
    EXPECT_FALSE(ImageBitmap.SamePixels(image));
    InvertChannels(0);
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
    for (int i = 0; i < 3; ++i) SwapChannels();
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
}

TEST_F(PointFilterTest, SelectionPastTheEdgeChangesOnlyPixelsInside) {
    const Bitmap image = Uniform(6, 5, RGB(10, 20, 30));
    Load(image, TRect{3, 2, 12, 9});
    InvertChannels(0);
    EXPECT_EQ(ChangedOutside(ImageBitmap, image, TRect{3, 2, 5, 4}), 0);
    EXPECT_EQ(ImageBitmap.Pixel(5, 4), RGB(245, 235, 225));
    EXPECT_EQ(ImageBitmap.Pixel(3, 2), RGB(245, 235, 225));
    for (int y = 0; y < 5; ++y)  // the row padding stays zero
        EXPECT_EQ(ImageBitmap.ScanLine(y)[18], 0);
}

}  // namespace
}  // namespace quorvane::testing
