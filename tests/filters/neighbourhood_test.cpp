#include <gtest/gtest.h>

#include "filter_test_support.h"
#include "filters/edges.h"
#include "filters/mean.h"
#include "filters/sharpness.h"
#include "platform/error.h"

namespace quorvane::testing {
namespace {

using MeanTest = FilterTest;
using FindEdgesTest = FilterTest;
using SharpnessTest = FilterTest;

TEST_F(MeanTest, RadiusZeroAndUniformSelectionsStayAsTheyWere) {
    std::mt19937 random(11);
    const Bitmap image = RandomImage(random, 17, 13);
    Load(image, TRect{2, 3, 20, 20});
    Mean(0);
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
    const Bitmap uniform = Uniform(30, 20, RGB(17, 140, 250));
    Load(uniform, TRect{3, 2, 25, 18});
    Mean(5);
    EXPECT_TRUE(ImageBitmap.SamePixels(uniform));
}

TEST_F(MeanTest, ClampedWindowsCountEdgePixelsAgain) {
    Bitmap image = Uniform(3, 3, RGB(0, 0, 0));
    image.SetPixel(1, 1, RGB(90, 90, 90));
    Load(image);
    Mean(1);
    EXPECT_TRUE(ImageBitmap.SamePixels(Uniform(3, 3, RGB(10, 10, 10))));
}

TEST_F(MeanTest, OneWhitePixelSpreadsOverItsBlock) {
    Bitmap image = Uniform(9, 9, RGB(0, 0, 0));
    image.SetPixel(4, 4, RGB(255, 255, 255));
    Load(image, TRect{1, 1, 7, 7});
    Mean(1);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool block = x >= 3 && x <= 5 && y >= 3 && y <= 5;
            EXPECT_EQ(ImageBitmap.Pixel(x, y), block ? RGB(28, 28, 28) : RGB(0, 0, 0)) << x << "," << y;
        }
}

// 255 * 6001^2 does not fit 32 bits; the mean must still be exact.
TEST_F(MeanTest, LargeRadiiSumExactly) {
    Bitmap image(2, 1);
    image.SetPixel(1, 0, RGB(255, 255, 255));
    Load(image);
    Mean(3000);
    // Pixel 0 counts black 3001 times and white 3000 times per row of its
    // window, pixel 1 the other way round: 127.47 and 127.52, truncated.
    EXPECT_EQ(ImageBitmap.Pixel(0, 0), RGB(127, 127, 127));
    EXPECT_EQ(ImageBitmap.Pixel(1, 0), RGB(127, 127, 127));
}

TEST_F(MeanTest, NegativeRadiusIsRefused) {
    const Bitmap image = Uniform(3, 3, RGB(9, 9, 9));
    Load(image);
    EXPECT_THROW(Mean(-1), Error);
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
}

// Left half luminance 0, right half 255.
Bitmap Step(int width, int height) {
    Bitmap image = Uniform(width, height, RGB(0, 0, 0));
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x) image.SetPixel(x, y, RGB(255, 255, 255));
    return image;
}

TEST_F(FindEdgesTest, AStepBecomesTwoWhiteColumns) {
    // The selection 1..10 x 1..8 of a 12 x 10 image; the step lies between
    // image columns 5 and 6, selection columns 4 and 5.
    Load(Step(12, 10), TRect{1, 1, 10, 8});
    FindEdges();
    // Interior columns 1..8 of the work map onto the 10 selection columns by
    // offset * 8 div 10: the step columns 4 and 5 land on offsets 4, 5 and 6.
    for (int x = 1; x <= 10; ++x) {
        const int offset = x - 1;
        const int interiorColumn = 1 + offset * 8 / 10;
        const bool edge = interiorColumn == 4 || interiorColumn == 5;
        for (int y = 1; y <= 8; ++y)
            EXPECT_EQ(ImageBitmap.Pixel(x, y), edge ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x << "," << y;
    }
    // The outline runs along the image's outermost pixels outside the selection.
    EXPECT_EQ(ImageBitmap.Pixel(11, 5), RGB(0, 0, 0));
    EXPECT_EQ(ImageBitmap.Pixel(8, 9), RGB(0, 0, 0));
    EXPECT_EQ(ImageBitmap.Pixel(8, 0), RGB(0, 0, 0));
}

TEST_F(FindEdgesTest, AFlatSelectionStopsWithTheStretchedMapInPlace) {
    const Bitmap image = Uniform(8, 8, RGB(120, 30, 200));
    Load(image, TRect{2, 2, 6, 6});
    try {
        FindEdges();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Floating point division by zero");
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool selected = x >= 2 && x <= 6 && y >= 2 && y <= 6;
            const bool outline = x == 0 || y == 0 || x == 7 || y == 7;
            EXPECT_EQ(ImageBitmap.Pixel(x, y), selected || outline ? RGB(0, 0, 0) : RGB(120, 30, 200)) << x << "," << y;
        }
    EXPECT_FALSE(WorkBitmap.HasPixels());
}

TEST_F(FindEdgesTest, ANarrowSelectionKeepsItsPixelsForTheLevelsStretch) {
    Bitmap image(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) image.SetPixel(x, y, RGB(10 * y, 10 * y, 10 * y));
    Load(image, TRect{2, 0, 3, 4});  // two columns wide: no interior
    FindEdges();
    // The outline blackens rows 0 and 4; the selection then spans 0..30,
    // which the stretch maps to 0..255 and the logarithm curve keeps there.
    const struct {
        int y;
        int value;
    } rows[] = {{0, 0}, {1, 205}, {2, 236}, {3, 255}, {4, 0}};
    for (const auto& row : rows)
        for (const int x : {2, 3}) EXPECT_EQ(Describe(ImageBitmap.Pixel(x, row.y)), Describe(RGB(row.value, row.value, row.value)));
    EXPECT_EQ(ImageBitmap.Pixel(1, 2), RGB(20, 20, 20));
}

TEST_F(SharpnessTest, UniformSelectionsStayAndOnlyInnerPixelsChange) {
    const Bitmap uniform = Uniform(9, 7, RGB(40, 50, 60));
    Load(uniform, TRect{1, 1, 8, 6});
    AdjustSharpness(false);
    EXPECT_TRUE(ImageBitmap.SamePixels(uniform));

    std::mt19937 random(5);
    const Bitmap image = RandomImage(random, 3, 3);
    Load(image);
    AdjustSharpness(false);
    EXPECT_EQ(ChangedOutside(ImageBitmap, image, TRect{1, 1, 1, 1}), 0);
}

TEST_F(SharpnessTest, RedGreenAndBlueFollowTheRewrittenLuminance) {
    Bitmap image = Uniform(3, 3, RGB(90, 90, 90));
    image.SetPixel(1, 1, RGB(100, 100, 100));
    Load(image);
    AdjustSharpness(false);
    EXPECT_EQ(Describe(ImageBitmap.Pixel(1, 1)), Describe(RGB(120, 132, 154)));
    Load(image);
    AdjustSharpness(true);
    EXPECT_EQ(Describe(ImageBitmap.Pixel(1, 1)), Describe(RGB(95, 96, 96)));
}

}  // namespace
}  // namespace quorvane::testing
