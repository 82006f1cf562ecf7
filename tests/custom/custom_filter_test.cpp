#include "custom/custom_filter.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "custom/channel_program.h"
#include "custom/custom_reference.h"
#include "custom/expression_generator.h"
#include "custom/textual_evaluation.h"
#include "filters/filter_test_support.h"
#include "filters/frame.h"
#include "platform/error.h"

namespace quorvane {
namespace {

using testing::Copy;
using testing::Describe;
using testing::ReferenceChannelValue;
using testing::ReferenceCustomFilter;

TEST(SubstituteVariables, ReplacesTextuallyInThreeSteps) {
    struct Case {
        const char* expression;
        int red, green, blue;
        const char* expected;
    };
    const Case cases[] = {
        {"255-R1", 10, 20, 30, "255-10"},
        {"R12", 7, 0, 0, "72"},        // digits join the digits written next to them
        {"2R1", 7, 0, 0, "27"},
        {"GR1", 1, 200, 0, "200"},     // red's "1" completes "G1"
        {"GR1", 10, 200, 0, "2000"},
        {"GR1", 2, 200, 0, "G2"},
        {"BGR1", 1, 1, 9, "9"},        // a chain of completions over all three steps
        {"RR11", 1, 0, 0, "R11"},      // a step does not search its own digits again
        {"B1G1R1", 1, 2, 3, "321"},
        {"r1+g1+b1", 1, 2, 3, "r1+g1+b1"},  // only the upper-case names are variables
        {"R1R1R1", 255, 0, 0, "255255255"},
        {"", 1, 2, 3, ""},
    };
    for (const Case& c : cases) {
        const auto red = static_cast<std::uint8_t>(c.red);
        const auto green = static_cast<std::uint8_t>(c.green);
        const auto blue = static_cast<std::uint8_t>(c.blue);
        EXPECT_EQ(SubstituteVariables(c.expression, red, green, blue), c.expected) << c.expression;
        EXPECT_EQ(testing::ReferenceSubstitution(c.expression, c.red, c.green, c.blue), c.expected) << c.expression;
    }
}

TEST(ChannelByte, RoundsHalfToEvenThenClamps) {
    const long double largest = std::numeric_limits<long double>::max();
    const std::pair<long double, int> cases[] = {
        {2.5L, 2},   {3.5L, 4},    {0.5L, 0},      {1.5L, 2},      {254.5L, 254},   {255.5L, 255},
        {255.49L, 255}, {-0.5L, 0}, {-0.51L, 0},   {-0.49L, 0},    {1E30L, 255},    {-1E30L, 0},
        {largest, 255}, {-largest, 0}, {0, 0},     {-0.0L, 0},     {127.4999L, 127}, {5.0L / 3, 2},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(ChannelByte(value), expected) << static_cast<double>(value);
}

class CustomFilterTest : public testing::FilterTest {
protected:
    // Runs the pass and compares the whole image with the reference's.
    void ExpectAsReference(const Bitmap& image, TRect selection, const std::string& red, const std::string& green,
                           const std::string& blue) {
        const testing::ReferencePass expected = ReferenceCustomFilter(image, selection, red, green, blue);
        Load(image, selection);
        std::optional<std::string> error;
        try {
            CustomFilter(parser, red, green, blue);
        } catch (const Error& raised) {
            error = raised.what();
        }
        const std::string label = "'" + red + "', '" + green + "', '" + blue + "'";
        EXPECT_EQ(error, expected.error) << label;
        EXPECT_TRUE(ImageBitmap.SamePixels(expected.image)) << label << FirstDifference(expected.image);
    }

    static std::string FirstDifference(const Bitmap& expected) {
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x)
                if (ImageBitmap.Pixel(x, y) != expected.Pixel(x, y))
                    return " at (" + std::to_string(x) + ", " + std::to_string(y) + "): " +
                           Describe(ImageBitmap.Pixel(x, y)) + " instead of " + Describe(expected.Pixel(x, y));
        return "";
    }

    TMathParser parser;
};

// A picture holding every red and green value with a blue of choice, large
// enough for the pass to use tables over two variables and both cores.
Bitmap AllRedGreen(std::uint8_t blue) {
    Bitmap image(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) image.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), blue));
    return image;
}

TEST_F(CustomFilterTest, DescribedResults) {
    struct Case {
        const char* red;
        const char* green;
        const char* blue;
        TColor before;
        TColor after;
    };
    const Case cases[] = {
        {"255-R1", "G1", "B1", RGB(10, 20, 30), RGB(245, 20, 30)},
        {"B1", "R1", "G1", RGB(10, 20, 30), RGB(30, 10, 20)},
        {"(R1+G1+B1)/3", "G1", "B1", RGB(1, 2, 2), RGB(2, 2, 2)},
        {"(R1+G1+B1)/3", "G1", "B1", RGB(1, 1, 2), RGB(1, 1, 2)},
        {"2.5", "3.5", "255.5", RGB(9, 9, 9), RGB(2, 4, 255)},
        {"-0.5", "1E30", "-1E30", RGB(9, 9, 9), RGB(0, 255, 0)},
        {"EXP(R1)", "EXP(G1)", "EXP(B1)", RGB(5, 6, 255), RGB(148, 255, 255)},
        {"255/R1", "255/G1", "B1", RGB(0, 1, 7), RGB(0, 255, 7)},
        {"LN(R1)*46", "LN(G1)*46", "B1", RGB(0, 255, 7), RGB(0, 255, 7)},
        {"R12", "2R1", "B1", RGB(7, 9, 9), RGB(72, 27, 9)},
        {"GR1", "G1", "B1", RGB(1, 200, 0), RGB(200, 200, 0)},
        {"r1", "R1", "B1", RGB(9, 9, 9), RGB(0, 9, 9)},
        {"1E+R1", "R1G1", "B1B1", RGB(2, 3, 4), RGB(100, 23, 44)},  // joined into an exponent, into numerals
        {"SIN(R1)", "S IN(R1)", "", RGB(9, 9, 9), RGB(0, 0, 0)},   // a space or an empty text is a syntax error
        {"R1*1E4000/1E4000", "1/0+G1", "!", RGB(9, 9, 9), RGB(9, 0, 0)},
    };
    for (const Case& c : cases) {
        for (int size : {1, 300}) {
            Bitmap image(size, size);
            image.Fill(c.before);
            Load(image);
            CustomFilter(parser, c.red, c.green, c.blue);
            EXPECT_EQ(Describe(ImageBitmap.Pixel(size - 1, size - 1)), Describe(c.after))
                << "'" << c.red << "', '" << c.green << "', '" << c.blue << "' on " << size << " x " << size;
        }
    }
}

TEST_F(CustomFilterTest, OverflowStopsThePassWithNothingDrawn) {
    std::mt19937 random(5);
    const Bitmap image = testing::RandomImage(random, 300, 300);
    Load(image);
    try {
        CustomFilter(parser, "R1*1E4000*1E4000", "G1", "B1");
        ADD_FAILURE() << "no overflow";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Floating point overflow");
    }
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
    EXPECT_FALSE(WorkBitmap.HasPixels());
}

// '1E4931*(20-...)' leaves the extended range only where the values sum to 8
// or less: the error must come from that one pixel, wherever it lies, on
// every road (a table over red, a table over red and green, a compiled
// program, text remembered by colour).
TEST_F(CustomFilterTest, OverflowOfOnePixelStopsThePass) {
    const char* const expressions[] = {"1E4931*(20-R1)", "1E4931*(20-R1-G1)", "1E4931*(20-R1-G1-B1)",
                                       "1E4931*(20-R1-G1-B1)+0*(R1G1)"};
    for (const char* expression : expressions) {
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{299, 299}, std::pair{17, 250}}) {
            Bitmap image(300, 300);
            image.Fill(RGB(200, 200, 200));
            image.SetPixel(x, y, RGB(3, 2, 1));
            ExpectAsReference(image, {0, 0, 299, 299}, "R1", expression, "B1");
        }
        Bitmap image(300, 300);
        image.Fill(RGB(200, 200, 200));
        ExpectAsReference(image, {0, 0, 299, 299}, "R1", expression, "B1");  // no such pixel: no error
        ExpectAsReference(image, {290, 290, 310, 310}, "R1", expression, "B1");  // black beyond the image
    }
}

TEST_F(CustomFilterTest, SelectionOnlyAndPassStateOfAFullPass) {
    std::mt19937 random(11);
    const Bitmap image = testing::RandomImage(random, 40, 30);
    ExpectAsReference(image, {5, 7, 24, 19}, "255-R1", "(R1+G1+B1)/3", "SQRT(R1*G1)");
    EXPECT_EQ(PixelX, 20);
    EXPECT_EQ(PixelY, 13);
}

// The roads a channel can take, each against the reference, pixel by pixel,
// on generated expressions: with tables (a pass over many pixels) and without
// (a pass over few).
TEST(ChannelProgram, EveryRoadGivesTheTextualResult) {
    std::mt19937 random(2024);
    std::vector<std::array<std::uint8_t, 3>> pixels = {{0, 0, 0},   {1, 1, 1},     {255, 255, 255}, {1, 10, 100},
                                                      {7, 0, 0},   {100, 19, 1},  {2, 3, 4},       {0, 255, 1}};
    std::uniform_int_distribution<int> byte(0, 255);
    while (pixels.size() < 120) {
        pixels.push_back({static_cast<std::uint8_t>(byte(random)), static_cast<std::uint8_t>(byte(random)),
                          static_cast<std::uint8_t>(byte(random))});
    }
    testing::ExpressionGenerator generator(7);
    TMathParser parser;
    for (int round = 0; round < 1200; ++round) {
        const std::string expression = generator.Next();
        // Tables over one variable (256 pixels), over two (many pixels, only
        // every fourth round, since each fill costs 65536 evaluations), none.
        for (const std::int64_t passPixels : {std::int64_t{256}, std::int64_t{1} << 30, std::int64_t{1}}) {
            if (round % 4 != 0 && passPixels > 256) continue;
            const ChannelProgram program(expression, passPixels, parser);
            for (const auto& [red, green, blue] : pixels) {
                const testing::ReferenceChannel expected = ReferenceChannelValue(expression, red, green, blue);
                const std::uint8_t pixel[3] = {blue, green, red};
                ChannelProgram::Scratch scratch{parser, {}};
                std::uint8_t result = 0;
                std::optional<std::string> error;
                try {
                    program.EvaluateRow(pixel, 1, &result, scratch);
                } catch (const Error& raised) {
                    error = raised.what();
                }
                ASSERT_EQ(error, expected.error) << "'" << expression << "' at " << int{red} << ", " << int{green}
                                                 << ", " << int{blue} << " in a pass over " << passPixels << " pixels";
                ASSERT_EQ(int{result}, int{expected.value})
                    << "'" << expression << "' at " << int{red} << ", " << int{green} << ", " << int{blue}
                    << " in a pass over " << passPixels << " pixels";
            }
        }
    }
}

TEST_F(CustomFilterTest, WholePassesAsReference) {
    std::mt19937 random(99);
    testing::ExpressionGenerator generator(31);
    for (int round = 0; round < 12; ++round) {
        const Bitmap image = testing::RandomImage(random, 1 + random() % 90, 1 + random() % 90);
        const TRect selection = testing::RandomSelection(random, image.Width(), image.Height());
        ExpectAsReference(image, selection, generator.Next(), generator.Next(), generator.Next());
    }
    ExpectAsReference(AllRedGreen(3), {0, 0, 255, 255}, "SQRT(R1*G1)", "R1G1/7", "(R1+G1+B1)/3");
    ExpectAsReference(AllRedGreen(1), {0, 0, 255, 255}, "GR1", "G1-R1", "B1^2+R1");
}

}  // namespace
}  // namespace quorvane
