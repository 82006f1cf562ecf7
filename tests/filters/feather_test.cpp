#include "filters/feather.h"

#include <gtest/gtest.h>

#include "filter_test_support.h"
#include "platform/error.h"

namespace quorvane::testing {
namespace {

using FeatherTest = FilterTest;

constexpr TColor White = RGB(255, 255, 255);
constexpr TColor Black = RGB(0, 0, 0);

TEST_F(FeatherTest, OddSelectionBlendsTowardTheRim) {
    Load(Uniform(101, 101, White));
    Feather(Black);
    EXPECT_EQ(ImageBitmap.Pixel(50, 50), White);
    EXPECT_EQ(Describe(ImageBitmap.Pixel(25, 50)), Describe(RGB(127, 127, 127)));
    for (const auto& [x, y] : {std::pair{0, 50}, {50, 0}, {0, 0}, {100, 0}, {0, 100}, {100, 100}})
        EXPECT_EQ(ImageBitmap.Pixel(x, y), Black) << x << "," << y;
}

TEST_F(FeatherTest, EvenSelectionIsCentredRightOfTheMiddle) {
    Load(Uniform(100, 100, White));
    Feather(Black);
    EXPECT_EQ(ImageBitmap.Pixel(0, 50), Black);
    EXPECT_EQ(Describe(ImageBitmap.Pixel(99, 50)), Describe(RGB(5, 5, 5)));
    EXPECT_EQ(ImageBitmap.Pixel(50, 50), White);
}

TEST_F(FeatherTest, TheColourOfThePixelLeavesItUnchanged) {
    Load(Uniform(37, 20, White), TRect{3, 2, 40, 30});
    Feather(White);
    EXPECT_TRUE(ImageBitmap.SamePixels(Uniform(37, 20, White)));
}

TEST_F(FeatherTest, HalfwayValuesAreTruncated) {
    // Pixel (25, 50) of a 101 x 101 selection lies at d = 0.5: 201 blended
    // half way to 0 is 100.5, truncated to 100.
    Load(Uniform(101, 101, RGB(201, 201, 201)));
    Feather(RGB(0, 0, 0));
    EXPECT_EQ(Describe(ImageBitmap.Pixel(25, 50)), Describe(RGB(100, 100, 100)));
}

TEST_F(FeatherTest, ColourChannelsComeFromTheirOwnBytes) {
    Load(Uniform(5, 5, Black));
    Feather(RGB(10, 20, 30));
    EXPECT_EQ(Describe(ImageBitmap.Pixel(0, 0)), Describe(RGB(10, 20, 30)));
}

TEST_F(FeatherTest, AOnePixelSideIsAnInvalidOperationAndChangesNothing) {
    for (const TRect selection : {TRect{0, 0, 0, 4}, TRect{0, 2, 6, 2}}) {
        const Bitmap image = Uniform(7, 5, RGB(3, 4, 5));
        Load(image, selection);
        try {
            Feather(White);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Invalid floating point operation");
        }
        EXPECT_TRUE(ImageBitmap.SamePixels(image));
        EXPECT_FALSE(WorkBitmap.HasPixels());
    }
}

}  // namespace
}  // namespace quorvane::testing
