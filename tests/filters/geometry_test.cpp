#include "filters/geometry.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "filter_test_support.h"
#include "filters/frame.h"
#include "filters/mean.h"

namespace quorvane::testing {
namespace {

using GeometryTest = FilterTest;

// The transforms as the straightforward per-pixel algorithms: colour values
// read and written one by one, through a table or a second picture.
Bitmap ReferenceMirror(const Bitmap& image, int direction) {
    const int width = image.Width();
    const int height = image.Height();
    Bitmap result(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            if (direction == 0)
                result.SetPixel(width - 1 - x, y, image.Pixel(x, y));
            else
                result.SetPixel(x, height - 1 - y, image.Pixel(x, y));
        }
    return result;
}

Bitmap ReferenceReflect(const Bitmap& image, int direction) {
    const int width = image.Width();
    const int height = image.Height();
    std::vector<TColor> table(static_cast<std::size_t>(width) * height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            const TColor a = image.Pixel(x, y);
            const TColor b = direction == 0 ? image.Pixel(width - 1 - x, y) : image.Pixel(x, height - 1 - y);
            const auto half = [&](int shift) { return (((a >> shift) & 255) + ((b >> shift) & 255)) / 2; };
            table[static_cast<std::size_t>(x) * height + y] = RGB(half(0), half(8), half(16));
        }
    Bitmap result(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) result.SetPixel(x, y, table[static_cast<std::size_t>(x) * height + y]);
    return result;
}

Bitmap ReferenceRotate(const Bitmap& image, int direction) {
    const int width = image.Width();
    const int height = image.Height();
    std::vector<TColor> table(static_cast<std::size_t>(width) * height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) table[static_cast<std::size_t>(x) * height + y] = image.Pixel(x, y);
    Bitmap result(height, width);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            const TColor colour = table[static_cast<std::size_t>(x) * height + y];
            if (direction == 0)
                result.SetPixel(y, width - 1 - x, colour);
            else
                result.SetPixel(height - 1 - y, x, colour);
        }
    return result;
}

Bitmap ReferenceResize(const Bitmap& image, int width, int height) {
    Bitmap result(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int sourceX = static_cast<int>((2 * std::int64_t{x} + 1) * image.Width() / (2 * std::int64_t{width}));
            const int sourceY = static_cast<int>((2 * std::int64_t{y} + 1) * image.Height() / (2 * std::int64_t{height}));
            result.SetPixel(x, y, image.Pixel(sourceX, sourceY));
        }
    return result;
}

void ExpectWholeImageSelected() {
    EXPECT_EQ(Selection, (TRect{0, 0, ImageBitmap.Width() - 1, ImageBitmap.Height() - 1}));
}

// Sizes that cover odd and even, one pixel, rows of whole four-pixel groups
// with and without a rest, and more than one tile and row block.
const struct {
    int width;
    int height;
} Sizes[] = {{1, 1}, {1, 7},   {6, 1},    {3, 2},     {5, 4},     {8, 3},      {11, 9},
             {25, 2}, {64, 64}, {65, 130}, {300, 257}, {517, 1030}, {1027, 6}};

TEST_F(GeometryTest, MirrorReflectAndRotateEqualThePerPixelAlgorithms) {
    std::mt19937 random(4);
    for (const auto size : Sizes)
        for (int direction = 0; direction < 2; ++direction) {
            const Bitmap image = RandomImage(random, size.width, size.height);
            const TRect away{2, 3, 1, 1};
            Load(image, away);
            MirrorImage(direction);
            EXPECT_TRUE(ImageBitmap.SamePixels(ReferenceMirror(image, direction))) << size.width << "x" << size.height;
            EXPECT_EQ(PixelX, size.width);
            EXPECT_EQ(PixelY, size.height);
            ExpectWholeImageSelected();

            Load(image, away);
            ReflectImage(direction);
            EXPECT_TRUE(ImageBitmap.SamePixels(ReferenceReflect(image, direction))) << size.width << "x" << size.height;
            ExpectWholeImageSelected();

            Load(image, away);
            RotateImage(direction);
            EXPECT_TRUE(ImageBitmap.SamePixels(ReferenceRotate(image, direction))) << size.width << "x" << size.height;
            ExpectWholeImageSelected();
        }
}

TEST_F(GeometryTest, RotationOfAThreeByTwoImage) {
    Bitmap image(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) image.SetPixel(x, y, RGB(x, y, 7));
    Load(image);
    RotateImage(0);
    ASSERT_EQ(ImageBitmap.Width(), 2);
    ASSERT_EQ(ImageBitmap.Height(), 3);
    EXPECT_EQ(ImageBitmap.Pixel(0, 2), RGB(0, 0, 7));
    EXPECT_EQ(ImageBitmap.Pixel(0, 0), RGB(2, 0, 7));
    RotateImage(1);
    EXPECT_TRUE(ImageBitmap.SamePixels(image));

    RotateImage(1);
    EXPECT_EQ(ImageBitmap.Pixel(1, 0), RGB(0, 0, 7));
    EXPECT_EQ(ImageBitmap.Pixel(0, 2), RGB(2, 1, 7));
}

TEST_F(GeometryTest, MirroringTwiceGivesTheImageBack) {
    std::mt19937 random(9);
    const Bitmap image = RandomImage(random, 33, 20);
    for (int direction = 0; direction < 2; ++direction) {
        Load(image);
        MirrorImage(direction);
        EXPECT_FALSE(ImageBitmap.SamePixels(image));
        MirrorImage(direction);
        EXPECT_TRUE(ImageBitmap.SamePixels(image));
    }
}

TEST_F(GeometryTest, ReflectionAveragesWithThePartnerRoundingDown) {
    Bitmap image(2, 1);
    image.SetPixel(0, 0, RGB(10, 20, 30));
    image.SetPixel(1, 0, RGB(11, 40, 0));
    Load(image);
    ReflectImage(0);
    EXPECT_EQ(ImageBitmap.Pixel(0, 0), RGB(10, 30, 15));
    EXPECT_EQ(ImageBitmap.Pixel(1, 0), RGB(10, 30, 15));
}

TEST_F(GeometryTest, ResizeEqualsThePerPixelNearestNeighbour) {
    std::mt19937 random(5);
    const struct {
        int width, height, newWidth, newHeight;
    } cases[] = {
        {100, 50, 200, 100}, {100, 50, 50, 25}, {200, 50, 400, 40}, {3, 2, 10, 10},
        {641, 481, 100, 75}, {7, 5, 7, 5},      {1, 1, 13, 11},     {300, 200, 299, 401},
    };
    for (const auto& c : cases) {
        const Bitmap image = RandomImage(random, c.width, c.height);
        Load(image, TRect{5, 5, 9, 9});
        ResizeImage(c.newWidth, c.newHeight);
        EXPECT_TRUE(ImageBitmap.SamePixels(ReferenceResize(image, c.newWidth, c.newHeight)))
            << c.width << "x" << c.height << " to " << c.newWidth << "x" << c.newHeight;
        ExpectWholeImageSelected();
    }
}

TEST_F(GeometryTest, PseudoInterpolationSoftensOnlyAnEnlargement) {
    std::mt19937 random(8);
    const struct {
        int width, height, newWidth, newHeight;
        bool smooth, meanRuns;
    } cases[] = {
        {100, 50, 200, 100, true, true}, {100, 50, 200, 100, false, false}, {100, 50, 50, 25, true, false},
        {200, 50, 400, 40, true, true},  {40, 30, 40, 31, true, true},      {40, 30, 40, 30, true, false},
    };
    for (const auto& c : cases) {
        const Bitmap image = RandomImage(random, c.width, c.height);
        Load(image, TRect{1, 1, 4, 4});
        ResizeImage(c.newWidth, c.newHeight);
        if (c.meanRuns) Mean(1);
        Bitmap expected;
        expected.Assign(ImageBitmap);

        Load(image, TRect{1, 1, 4, 4});
        ResizeWithPseudoInterpolation(c.newWidth, c.newHeight, c.width, c.height, c.smooth);
        EXPECT_TRUE(ImageBitmap.SamePixels(expected))
            << c.width << "x" << c.height << " to " << c.newWidth << "x" << c.newHeight << (c.smooth ? " smooth" : "");
        ExpectWholeImageSelected();
    }
}

TEST_F(GeometryTest, DoublingRepeatsEveryPixelAsATwoByTwoBlock) {
    std::mt19937 random(6);
    const Bitmap image = RandomImage(random, 5, 3);
    Load(image);
    ResizeImage(10, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(ImageBitmap.Pixel(x, y), image.Pixel(x / 2, y / 2)) << x << "," << y;
}

TEST_F(GeometryTest, CropTakesTheInclusiveSelection) {
    std::mt19937 random(7);
    const Bitmap image = RandomImage(random, 20, 10);
    Load(image, TRect{3, 2, 8, 6});
    CropImage();
    ASSERT_EQ(ImageBitmap.Width(), 6);
    ASSERT_EQ(ImageBitmap.Height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(ImageBitmap.Pixel(x, y), image.Pixel(x + 3, y + 2));
    ExpectWholeImageSelected();
    EXPECT_FALSE(WorkBitmap.HasPixels());

    Load(image);
    CropImage();
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
}

TEST_F(GeometryTest, CropPastTheImageKeepsTheSelectionsFullSize) {
    const Bitmap image = Uniform(4, 4, RGB(200, 100, 50));
    Load(image, TRect{-1, 2, 5, 7});
    CropImage();
    ASSERT_EQ(ImageBitmap.Width(), 7);
    ASSERT_EQ(ImageBitmap.Height(), 6);
    EXPECT_EQ(ImageBitmap.Pixel(0, 0), OutsideImageColour);
    EXPECT_EQ(ImageBitmap.Pixel(1, 0), RGB(200, 100, 50));
    EXPECT_EQ(ImageBitmap.Pixel(4, 1), RGB(200, 100, 50));
    EXPECT_EQ(ImageBitmap.Pixel(5, 1), OutsideImageColour);
    EXPECT_EQ(ImageBitmap.Pixel(1, 2), OutsideImageColour);
}

}  // namespace
}  // namespace quorvane::testing
