#include "filters/levels.h"

#include <gtest/gtest.h>

#include "filter_test_support.h"
#include "platform/error.h"

namespace quorvane::testing {
namespace {

using LevelsTest = FilterTest;

// A one-row image whose red channel takes the given values; green and blue
// span 0..255 so they stay as they are.
Bitmap RedRow(std::initializer_list<int> reds) {
    Bitmap image(static_cast<int>(reds.size()), 1);
    int x = 0;
    for (const int red : reds) {
        image.SetPixel(x, 0, RGB(red, x == 0 ? 0 : 255, x == 0 ? 255 : 0));
        ++x;
    }
    return image;
}

TEST_F(LevelsTest, StretchesEachChannelToTheFullRange) {
    const struct {
        std::initializer_list<int> before;
        std::initializer_list<int> after;
    } cases[] = {
        {{50, 75, 100, 150}, {0, 64, 127, 255}},  // 127.5 is computed a little below
        {{0, 127, 254}, {0, 127, 255}},  // not 128: the scale is held as a double, just below 255/254
        {{0, 64, 127}, {0, 129, 255}},
        {{0, 1, 200, 255}, {0, 1, 200, 255}},  // already full: unchanged
    };
    for (const auto& c : cases) {
        Load(RedRow(c.before));
        OptimizeLevels();
        int x = 0;
        for (const int red : c.after) {
            EXPECT_EQ(ImageBitmap.Pixel(x, 0) & 255, static_cast<TColor>(red)) << "column " << x;
            ++x;
        }
        EXPECT_EQ(ImageBitmap.Pixel(0, 0) >> 8, TColor{0xFF00});  // green 0, blue 255
    }
}

TEST_F(LevelsTest, AFlatChannelIsADivisionByZeroAndLeavesTheImage) {
    Bitmap image = Uniform(4, 4, RGB(10, 0, 7));
    image.SetPixel(1, 1, RGB(200, 255, 7));  // blue is 7 throughout
    Load(image);
    try {
        OptimizeLevels();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Floating point division by zero");
    }
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
    EXPECT_FALSE(WorkBitmap.HasPixels());
}

}  // namespace
}  // namespace quorvane::testing
