#include "filters/frame.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "filter_test_support.h"
#include "filters/point.h"

namespace quorvane::testing {
namespace {

TEST(ClampByte, KeepsBytesAndCutsTheRest) {
    const struct {
        std::int32_t value;
        std::uint8_t expected;
    } cases[] = {{-1, 0}, {0, 0}, {1, 1}, {255, 255}, {256, 255}, {INT32_MIN, 0}, {INT32_MAX, 255}};
    for (const auto& c : cases) EXPECT_EQ(ClampByte(c.value), c.expected) << c.value;
}

TEST(PixelLuminance, IsTheTruncatedMeanOfTheChannels) {
    std::uint8_t pixel[3] = {31, 20, 10};  // blue, green, red
    PixelPtr = pixel;
    EXPECT_EQ(PixelLuminance(), 20);
    pixel[0] = pixel[1] = pixel[2] = 255;
    EXPECT_EQ(PixelLuminance(), 255);
}

using FilterFrameTest = FilterTest;

// The pass state after a pass, for small work bitmaps and for ones large
// enough to be split between threads.
TEST_F(FilterFrameTest, PassesLeaveTheStateOfTheSequentialPass) {
    for (const int size : {1, 4, 300}) {
        Load(Uniform(size + 2, size + 1, RGB(1, 2, 3)));
        FilterFrame frame;
        PassOverWorkRows([](int) {});
        EXPECT_EQ(PixelX, size + 2);
        EXPECT_EQ(PixelY, size + 1);
        EXPECT_EQ(PixelPtr, WorkBitmap.ScanLine(size) + 3 * (size + 2));
        PassOverInnerWorkRows([](int) {});
        if (size >= 2) {
            EXPECT_EQ(PixelX, size + 1);
            EXPECT_EQ(PixelY, size);
            EXPECT_EQ(PixelPtr, WorkBitmap.ScanLine(size - 1) + 3 * (size + 1));
        } else {  // no inner pass: the state of the full pass stays
            EXPECT_EQ(PixelX, size + 2);
            EXPECT_EQ(PixelY, size + 1);
        }
    }
}

TEST_F(FilterFrameTest, EveryRowIsVisitedOnce) {
    Load(Uniform(400, 300, RGB(0, 0, 0)));
    FilterFrame frame;
    PassOverWorkRows([](int y) {
        std::uint8_t* row = WorkBitmap.ScanLine(y);
        for (int i = 0; i < 3 * WorkBitmap.Width(); ++i) ++row[i];
    });
    frame.WriteBack();
    for (const int y : {0, 149, 150, 151, 299}) EXPECT_EQ(ImageBitmap.Pixel(399, y), RGB(1, 1, 1)) << y;
}

TEST_F(FilterFrameTest, ReleasesTheWorkPixelsAndTheCursorWhenTheFilterThrows) {
    Load(Uniform(8, 8, RGB(5, 5, 5)), TRect{2, 2, 5, 5});
    try {
        FilterFrame frame;
        EXPECT_EQ(services_.busyDepth, 1);
        EXPECT_TRUE(WorkBitmap.HasPixels());
        throw std::runtime_error("step failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(WorkBitmap.HasPixels());
    EXPECT_EQ(WorkBitmap.Width(), 4);
    EXPECT_EQ(services_.busyDepth, 0);
}

TEST_F(FilterFrameTest, FiltersReleaseTheWorkPixelsAndKeepItsSize) {
    Load(Uniform(8, 8, RGB(5, 5, 5)), TRect{1, 2, 3, 7});
    InvertChannels(0);
    EXPECT_FALSE(WorkBitmap.HasPixels());
    EXPECT_EQ(WorkBitmap.Width(), 3);
    EXPECT_EQ(WorkBitmap.Height(), 6);
}

}  // namespace
}  // namespace quorvane::testing
