#include "retouch/brushes.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <utility>
#include <vector>

namespace quorvane {
namespace {

Bitmap Plain(int width, int height, TColor colour) {
    Bitmap bitmap(width, height);
    bitmap.Fill(colour);
    return bitmap;
}

Bitmap Gradient(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB(x * 9 % 256, y * 13 % 256, (x * y) % 251));
    return bitmap;
}

BrushSettings Airbrush(TColor colour, int size, int strength) {
    return {.colour = colour, .size = size, .strength = strength, .strengthMaximum = 20};
}

enum class Tool { Airbrush, Lighten, Darken };

// `dabs` dabs of the tool at the centre of a 41 x 41 picture of colour
// `before`; the pixel at (dx, dy) from the centre must become `after`.
struct DabCase {
    const char* name;
    Tool tool;
    TColor colour;  // the airbrush's colour
    int size;
    int strength;
    TColor before;
    int dx;
    int dy;
    TColor after;
    int dabs = 1;
};

std::ostream& operator<<(std::ostream& out, const DabCase& dabCase) { return out << dabCase.name; }

class DabTest : public ::testing::TestWithParam<DabCase> {};

TEST_P(DabTest, GivesTheExpectedPixel) {
    const DabCase& dabCase = GetParam();
    constexpr int Centre = 20;
    Bitmap picture = Plain(2 * Centre + 1, 2 * Centre + 1, dabCase.before);
    for (int dab = 0; dab < dabCase.dabs; ++dab) {
        switch (dabCase.tool) {
            case Tool::Airbrush:
                AirbrushDab(picture, Airbrush(dabCase.colour, dabCase.size, dabCase.strength), Centre, Centre);
                break;
            case Tool::Lighten: ShadeDab(picture, dabCase.size, Centre, Centre, dabCase.strength); break;
            case Tool::Darken: ShadeDab(picture, dabCase.size, Centre, Centre, -dabCase.strength); break;
        }
    }
    EXPECT_EQ(picture.Pixel(Centre + dabCase.dx, Centre + dabCase.dy), dabCase.after);
}

const TColor Blue = RGB(0, 0, 255);
const TColor Red = RGB(255, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Brushes, DabTest,
    ::testing::Values(
        DabCase{"airbrush_full_strength_gives_the_colour", Tool::Airbrush, RGB(10, 200, 30), 10, 20, RGB(77, 88, 99),
                0, 0, RGB(10, 200, 30)},
        DabCase{"airbrush_half_strength_blends_and_truncates", Tool::Airbrush, Red, 10, 10, Blue, 0, 0,
                RGB(127, 0, 127)},
        DabCase{"airbrush_half_radius_weighs_one_half", Tool::Airbrush, RGB(200, 100, 0), 10, 20, RGB(0, 0, 200),
                3, 4, RGB(100, 50, 100)},
        DabCase{"airbrush_rim_keeps_its_colour", Tool::Airbrush, Red, 10, 20, Blue, 0, -10, Blue},
        DabCase{"airbrush_outside_the_spot_untouched", Tool::Airbrush, Red, 10, 20, Blue, 8, 7, Blue},
        DabCase{"two_airbrush_dabs_accumulate", Tool::Airbrush, RGB(255, 255, 255), 10, 10, RGB(0, 0, 0), 0, 0,
                RGB(191, 191, 191), 2},
        DabCase{"lighten_centre_clamps", Tool::Lighten, 0, 10, 20, RGB(250, 100, 0), 0, 0, RGB(255, 120, 20)},
        DabCase{"lighten_half_radius_adds_half", Tool::Lighten, 0, 10, 20, RGB(250, 100, 0), -5, 0,
                RGB(255, 110, 10)},
        DabCase{"lighten_rim_stays", Tool::Lighten, 0, 10, 20, RGB(250, 100, 0), 6, 8, RGB(250, 100, 0)},
        DabCase{"darken_truncates_down_and_stops_at_zero", Tool::Darken, 0, 2, 1, RGB(100, 0, 255), 0, 1,
                RGB(99, 0, 254)},
        DabCase{"darken_centre_clamps_at_zero", Tool::Darken, 0, 5, 20, RGB(10, 20, 200), 0, 0, RGB(0, 0, 180)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BrushesTest, SizeOneChangesOnlyTheCentre) {
    const Bitmap original = Plain(5, 5, RGB(100, 100, 100));
    std::vector<Bitmap> painted(2);
    for (Bitmap& picture : painted) picture.Assign(original);
    AirbrushDab(painted[0], Airbrush(RGB(0, 0, 0), 1, 20), 2, 2);
    ShadeDab(painted[1], 1, 2, 2, 20);
    for (Bitmap& picture : painted) {
        EXPECT_NE(picture.Pixel(2, 2), original.Pixel(2, 2));
        picture.SetPixel(2, 2, original.Pixel(2, 2));
        EXPECT_TRUE(picture.SamePixels(original));
    }
}

// A spot that reaches past the edges paints the part inside exactly as the
// same spot on a larger picture does, and nothing else.
TEST(BrushesTest, SpotPastTheEdgeChangesOnlyThePixelsInside) {
    constexpr int Margin = 6;
    Bitmap small = Gradient(8, 5);
    Bitmap large(8 + 2 * Margin, 5 + 2 * Margin);
    large.Fill(RGB(1, 2, 3));
    large.Draw(small, Margin, Margin);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{7, 4}, std::pair{-3, 2}, std::pair{9, -1}}) {
        AirbrushDab(small, Airbrush(RGB(250, 5, 128), 5, 17), x, y);
        AirbrushDab(large, Airbrush(RGB(250, 5, 128), 5, 17), x + Margin, y + Margin);
        ShadeDab(small, 4, x, y, -13);
        ShadeDab(large, 4, x + Margin, y + Margin, -13);
    }
    Bitmap inside(8, 5);
    inside.Draw(large, -Margin, -Margin);
    EXPECT_TRUE(inside.SamePixels(small));
}

TEST(BrushesTest, SpotsFarOutsideOrAtTheLimitsChangeNothing) {
    const Bitmap original = Gradient(6, 6);
    Bitmap picture;
    picture.Assign(original);
    for (auto [x, y] : {std::pair{-21, 3}, std::pair{3, 26}, std::pair{INT_MAX, INT_MAX}, std::pair{INT_MIN, 0}}) {
        AirbrushDab(picture, Airbrush(RGB(255, 255, 255), 20, 20), x, y);
        ShadeDab(picture, 20, x, y, 20);
    }
    EXPECT_TRUE(picture.SamePixels(original));
}

TEST(BrushesTest, ZeroSizeOrMaximumPaintsNothing) {
    const Bitmap original = Gradient(5, 5);
    Bitmap picture;
    picture.Assign(original);
    AirbrushDab(picture, Airbrush(RGB(255, 0, 0), 0, 20), 2, 2);
    AirbrushDab(picture, {.colour = RGB(255, 0, 0), .size = 3, .strength = 1, .strengthMaximum = 0}, 2, 2);
    ShadeDab(picture, 0, 2, 2, 20);
    EXPECT_TRUE(picture.SamePixels(original));
}

TEST(BrushesTest, EyedropperTakesThePixelAndWhiteOutside) {
    Bitmap picture = Plain(3, 2, RGB(1, 1, 1));
    picture.SetPixel(2, 1, RGB(12, 34, 56));
    EXPECT_EQ(PickColor(picture, 2, 1), RGB(12, 34, 56));
    const std::pair<int, int> outside[] = {{-1, 0}, {0, -1}, {3, 1}, {2, 2}, {INT_MIN, INT_MAX}};
    for (auto [x, y] : outside)
        EXPECT_EQ(PickColor(picture, x, y), RGB(255, 255, 255)) << x << ", " << y;
}

}  // namespace
}  // namespace quorvane
