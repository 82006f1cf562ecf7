#include "filters/composite.h"

#include <gtest/gtest.h>

#include "filter_test_support.h"
#include "filters/edges.h"
#include "filters/mean.h"
#include "filters/noise.h"
#include "filters/point.h"
#include "platform/error.h"

namespace quorvane::testing {
namespace {

class CompositeTest : public FixedClockFilterTest {
protected:
    void SetUp() override {
        FixedClockFilterTest::SetUp();
        FixedMillisecond = 4242;
    }
};

TEST_F(CompositeTest, SepiaTintsTheLuminance) {
    const struct {
        TColor before;
        TColor after;
    } cases[] = {{RGB(128, 128, 128), RGB(153, 128, 103)},
                 {RGB(240, 240, 241), RGB(255, 240, 215)},
                 {RGB(0, 10, 20), RGB(35, 10, 0)}};
    for (const auto& c : cases) {
        const Bitmap image = Uniform(2, 2, c.before);
        Load(image);
        UpdateUndo();
        Sepia();
        EXPECT_EQ(Describe(ImageBitmap.Pixel(1, 1)), Describe(c.after));
        RestoreUndo();
        EXPECT_TRUE(ImageBitmap.SamePixels(image));
    }
}

TEST_F(CompositeTest, DrawnShowsAStepAsADarkLineOnWhite) {
    Bitmap image = Uniform(20, 12, RGB(0, 0, 0));
    for (int y = 0; y < 12; ++y)
        for (int x = 10; x < 20; ++x) image.SetPixel(x, y, RGB(255, 255, 255));
    Load(image);
    Drawn();
    int dark = 0;
    for (int x = 0; x < 20; ++x) {
        const TColor pixel = ImageBitmap.Pixel(x, 6);
        if (x < 7 || x > 12) {
            EXPECT_EQ(pixel, RGB(255, 255, 255)) << x;
        }
        if (pixel == RGB(0, 0, 0)) ++dark;
    }
    EXPECT_GE(dark, 2);
    for (int y = 0; y < 12; ++y) EXPECT_EQ(ImageBitmap.Pixel(10, y), ImageBitmap.Pixel(10, 6)) << y;
}

TEST_F(CompositeTest, DrawnOnAFlatAreaStopsInsideTheEdgeFinder) {
    Load(Uniform(10, 10, RGB(60, 60, 60)));
    EXPECT_THROW(Drawn(), Error);
    EXPECT_EQ(ImageBitmap.Pixel(4, 4), RGB(0, 0, 0));  // the stretched edge map, not inverted
}

TEST_F(CompositeTest, EarlyTwentiethCenturyKeepsRedAboveGreenAboveBlue) {
    std::mt19937 random(8);
    Load(RandomImage(random, 30, 20));
    Early20thCentury();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            const TColor pixel = ImageBitmap.Pixel(x, y);
            const TColor red = pixel & 255, green = (pixel >> 8) & 255, blue = pixel >> 16;
            EXPECT_TRUE(red >= green && green >= blue) << Describe(pixel);
        }
}

TEST_F(CompositeTest, SequencesEqualTheirStepsOneByOne) {
    std::mt19937 random(9);
    const Bitmap image = RandomImage(random, 25, 19);
    const TRect selection{3, 2, 30, 15};
    const struct {
        const char* name;
        void (*sequence)();
        void (*steps)();
    } cases[] = {
        {"early", Early20thCentury,
         [] {
             AddNoise(25);
             Mean(1);
             Grayscale();
             AdjustChannels(25, 13, -25);
             AdjustContrast(false);
         }},
        {"cheap", CheapColorCamera,
         [] {
             AdjustChannels(25, 0, 0);
             AddNoise(25);
             Mean(1);
             AdjustContrast(false);
         }},
        {"drawn", Drawn,
         [] {
             Mean(1);
             FindEdges();
             InvertChannels(0);
             AdjustContrast(false);
         }},
    };
    for (const auto& c : cases) {
        Load(image, selection);
        c.steps();
        const Bitmap expected = Copy(ImageBitmap);
        Load(image, selection);
        c.sequence();
        EXPECT_TRUE(ImageBitmap.SamePixels(expected)) << c.name;
        EXPECT_FALSE(ImageBitmap.SamePixels(image)) << c.name;
    }
}

}  // namespace
}  // namespace quorvane::testing
