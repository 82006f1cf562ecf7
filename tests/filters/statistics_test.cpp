#include "filters/statistics.h"

#include <gtest/gtest.h>

#include "filter_test_support.h"
#include "platform/error.h"

namespace quorvane::testing {
namespace {

using StatisticsTest = FilterTest;

TEST_F(StatisticsTest, ReportsRangesOptimizedAndAverage) {
    Bitmap blackAndWhite(2, 1);
    blackAndWhite.SetPixel(0, 0, RGB(255, 255, 255));
    Bitmap blueFromOne(2, 1);
    blueFromOne.SetPixel(0, 0, RGB(0, 0, 1));
    blueFromOne.SetPixel(1, 0, RGB(255, 255, 255));
    const struct {
        const char* name;
        Bitmap image;
        const char* ranges;
        const char* optimized;
        int average;
    } cases[] = {
        {"white", Uniform(3, 2, RGB(255, 255, 255)), "R: 255 to 255\r\nG: 255 to 255\r\nB: 255 to 255", "no", 100},
        {"black", Uniform(3, 2, RGB(0, 0, 0)), "R: 0 to 0\r\nG: 0 to 0\r\nB: 0 to 0", "no", 0},
        {"black and white", std::move(blackAndWhite), "R: 0 to 255\r\nG: 0 to 255\r\nB: 0 to 255", "yes", 50},
        {"blue from 1", std::move(blueFromOne), "R: 0 to 255\r\nG: 0 to 255\r\nB: 1 to 255", "no", 50},
    };
    for (const auto& c : cases) {
        Load(c.image);
        CurrentFileName = "/pictures/a.bmp";
        services_.messages.clear();
        Statistics();
        ASSERT_EQ(services_.messages.size(), 1u) << c.name;
        const std::string expected = "File: /pictures/a.bmp\r\nDimensions: " + std::to_string(c.image.Width()) + " X " +
                                     std::to_string(c.image.Height()) + "\r\n\r\nOptimized: " + c.optimized +
                                     "\r\n\r\n" + c.ranges + "\r\n\r\nAverage luminance: " +
                                     std::to_string(c.average) + " %";
        EXPECT_EQ(services_.messages[0], expected) << c.name;
    }
}

TEST_F(StatisticsTest, IgnoresTheSelectionAndChangesNothing) {
    std::mt19937 random(3);
    const Bitmap image = RandomImage(random, 31, 9);
    Load(image, TRect{4, 4, 6, 5});
    UndoBitmap.Assign(Uniform(2, 2, RGB(1, 1, 1)));
    const ImageStatistics whole = MeasureImage();
    Selection = TRect{0, 0, 0, 0};
    const ImageStatistics corner = MeasureImage();
    EXPECT_EQ(whole.minimum, corner.minimum);
    EXPECT_EQ(whole.maximum, corner.maximum);
    EXPECT_EQ(whole.luminanceSum, corner.luminanceSum);
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
    EXPECT_EQ(Selection, (TRect{0, 0, 0, 0}));
    EXPECT_EQ(UndoBitmap.Width(), 2);
}

TEST_F(StatisticsTest, EmptyFileNameAfterAPaste) {
    Load(Uniform(1, 1, RGB(0, 0, 0)));
    Statistics();
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].rfind("File: \r\nDimensions: 1 X 1\r\n", 0), 0u);
}

// 255 * 8,427,409 passes 2^31: a 32-bit sum would wrap and report nonsense.
TEST_F(StatisticsTest, AveragesImagesAboveEightMegapixels) {
    Load(Uniform(2903, 2903, RGB(255, 255, 255)));
    const ImageStatistics statistics = MeasureImage();
    EXPECT_EQ(statistics.luminanceSum, std::int64_t{255} * 2903 * 2903);
    EXPECT_EQ(statistics.averageLuminance, 100);
}

TEST_F(StatisticsTest, AverageIsRoundedToTheNearestPercent) {
    Bitmap image(255, 1);
    for (int x = 0; x < 255; ++x) image.SetPixel(x, 0, RGB(x, x, x));
    Load(image);
    // The mean luminance is 127 of 255: 49.8 %.
    EXPECT_EQ(MeasureImage().averageLuminance, 50);
}

TEST_F(StatisticsTest, AnImageWithoutPixelsIsAnInvalidOperation) {
    Load(Bitmap());
    EXPECT_THROW(
        {
            try {
                Statistics();
            } catch (const Error& error) {
                EXPECT_STREQ(error.what(), "Invalid floating point operation");
                throw;
            }
        },
        Error);
    EXPECT_TRUE(services_.messages.empty());
}

}  // namespace
}  // namespace quorvane::testing
