#include "filters/noise.h"

#include <gtest/gtest.h>

#include "filter_test_support.h"
#include "filters/frame.h"
#include "platform/error.h"
#include "reference_filters.h"

namespace quorvane::testing {
namespace {

class NoiseTest : public FixedClockFilterTest {
protected:
};

TEST(RandomGenerator, StepsTheSeedAndScalesTheUpperBits) {
    RandomSeed = 0;
    EXPECT_EQ(Random(100), 0u);  // seed 1: 100 >> 32
    EXPECT_EQ(RandomSeed, 1u);
    EXPECT_EQ(Random(0x80000000u), (std::uint64_t{134775814} * 0x80000000u) >> 32);
    EXPECT_EQ(RandomSeed, 134775814u);
    RandomSeed = 0xFFFFFFFFu;
    Random(7);
    EXPECT_EQ(RandomSeed, 0xFFFFFFFFu * 134775813u + 1u);
}

TEST(NoiseClock, CountsMillisecondsSinceMidnight) {
    EXPECT_LT(MillisecondsSinceMidnightUtc(), 24u * 60 * 60 * 1000);
}

TEST_F(NoiseTest, OffsetsAreOddAndWithinTheAmplitude) {
    FixedMillisecond = 12345678;
    Load(Uniform(64, 64, RGB(128, 128, 128)));
    AddNoise(25);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const TColor pixel = ImageBitmap.Pixel(x, y);
            for (const int shift : {0, 8, 16}) {
                const int offset = static_cast<int>((pixel >> shift) & 255) - 128;
                EXPECT_TRUE(offset >= -25 && offset <= 23 && (offset & 1) != 0) << offset;
            }
        }
}

TEST_F(NoiseTest, BlackRisesByAtMostTwentyThree) {
    FixedMillisecond = 1;
    Load(Uniform(40, 40, RGB(0, 0, 0)));
    AddNoise(25);
    bool rose = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            for (const int shift : {0, 8, 16}) {
                const int value = static_cast<int>((ImageBitmap.Pixel(x, y) >> shift) & 255);
                EXPECT_LE(value, 23);
                rose = rose || value > 0;
            }
    EXPECT_TRUE(rose);
}

TEST_F(NoiseTest, SameMillisecondSameNoiseOtherMillisecondOther) {
    const Bitmap image = Uniform(20, 20, RGB(100, 100, 100));
    FixedMillisecond = 500;
    Load(image);
    AddNoise(25);
    const Bitmap first = Copy(ImageBitmap);
    Load(image);
    AddNoise(25);
    EXPECT_TRUE(ImageBitmap.SamePixels(first));
    FixedMillisecond = 501;
    Load(image);
    AddNoise(25);
    EXPECT_FALSE(ImageBitmap.SamePixels(first));
}

// Row blocks on two threads must draw exactly what one sequential pass
// draws, and leave the seed where it would.
TEST_F(NoiseTest, LargeSelectionsDrawInPassOrder) {
    std::mt19937 random(21);
    const Bitmap image = RandomImage(random, 401, 333);
    FixedMillisecond = 86399999;
    Load(image, TRect{-3, 5, 390, 340});
    reference::AddNoise(25, FixedMillisecond);
    const Bitmap expected = Copy(ImageBitmap);
    std::uint32_t seed = FixedMillisecond;
    for (int i = 0; i < 3 * 394 * 336; ++i) seed = seed * 134775813u + 1u;
    Load(image, TRect{-3, 5, 390, 340});
    AddNoise(25);
    EXPECT_TRUE(ImageBitmap.SamePixels(expected));
    EXPECT_EQ(RandomSeed, seed);
    EXPECT_EQ(PixelX, 394);
    EXPECT_EQ(PixelY, 336);
}

TEST_F(NoiseTest, ZeroAmplitudeChangesNothingAndNegativeIsRefused) {
    std::mt19937 random(2);
    const Bitmap image = RandomImage(random, 9, 9);
    Load(image);
    AddNoise(0);
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
    EXPECT_THROW(AddNoise(-1), Error);
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
}

}  // namespace
}  // namespace quorvane::testing
