// The pixel commands of the Filters menu, run through their menu actions:
// each takes the undo snapshot, changes the selection exactly as its
// primitive does, keeps the selection and repaints the window.
#include <functional>

#include "filters/composite.h"
#include "filters/edges.h"
#include "filters/levels.h"
#include "filters/mean.h"
#include "filters/noise.h"
#include "filters/point.h"
#include "filters/sharpness.h"
#include "filters/statistics.h"
#include "main_form_fixture.h"

namespace quorvane::testing {
namespace {

std::uint32_t FixedClock() { return 43210; }

// A gradient with a white block, so that every filter, the edge finder
// included, has something to change.
Bitmap Picture() {
    Bitmap picture = Gradient(300, 200);
    for (int y = 80; y < 140; ++y)
        for (int x = 100; x < 180; ++x) picture.SetPixel(x, y, RGB(255, 255, 255));
    return picture;
}

Bitmap Copy(const Bitmap& bitmap) {
    Bitmap copy;
    copy.Assign(bitmap);
    return copy;
}

QRgb Shown(const Bitmap& bitmap, int x, int y) {
    const TColor colour = bitmap.Pixel(x, y);
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

struct Command {
    const char* item;
    std::function<void()> primitive;
};

const Command Commands[] = {
    {"BlackandwhiteMenu", [] { BlackAndWhite(); }},
    {"IncreaseBrightnessMenu", [] { AdjustChannels(25, 25, 25); }},
    {"DecreaseBrightnessMenu", [] { AdjustChannels(-25, -25, -25); }},
    {"IncreaseRedMenu", [] { AdjustChannels(25, 0, 0); }},
    {"DecreaseRedMenu", [] { AdjustChannels(-25, 0, 0); }},
    {"IncreaseGreenMenu", [] { AdjustChannels(0, 25, 0); }},
    {"DecreaseGreenMenu", [] { AdjustChannels(0, -25, 0); }},
    {"IncreaseBlueMenu", [] { AdjustChannels(0, 0, 25); }},
    {"DecreaseBlueMenu", [] { AdjustChannels(0, 0, -25); }},
    {"GrayscaleMenu", [] { Grayscale(); }},
    {"InvertAllmenu", [] { InvertChannels(0); }},
    {"InvertRedMenu", [] { InvertChannels(1); }},
    {"InvertGreenMenu", [] { InvertChannels(2); }},
    {"InvertBlueMenu", [] { InvertChannels(3); }},
    {"LogaritmizeAllMenu", [] { LogarithmChannels(0); }},
    {"LogaritmizeRedMenu", [] { LogarithmChannels(1); }},
    {"LogaritmizeGreenMenu", [] { LogarithmChannels(2); }},
    {"LogaritmizeBlueMenu", [] { LogarithmChannels(3); }},
    {"IncreaseContrastmenu", [] { AdjustContrast(false); }},
    {"DecreaseContrastmenu", [] { AdjustContrast(true); }},
    {"SwapchannelsMenu", [] { SwapChannels(); }},
    {"OptimizeMenu", [] { OptimizeLevels(); }},
    {"FindEdgesMenu", [] { FindEdges(); }},
    {"MeanvalueMenu", [] { Mean(5); }},
    {"AddNoiseMenu", [] { AddNoise(25); }},
    {"RemoveNoiseMenu", [] { Mean(1); }},
    {"IncreaseSharpnessMenu", [] { AdjustSharpness(false); }},
    {"DecreaseSharpnessMenu", [] { AdjustSharpness(true); }},
    {"SepiaMenu", [] { Sepia(); }},
    {"DrawnMenu", [] { Drawn(); }},
    {"Early20thCenturyMenu", [] { Early20thCentury(); }},
    {"CheapcolorcameraMenu", [] { CheapColorCamera(); }},
};

class FilterCommandsTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        SetNoiseClock(FixedClock);
    }
    void TearDown() override {
        SetNoiseClock(nullptr);
        MainFormTest::TearDown();
    }

    void Trigger(const char* item) { form->MenuItem(item)->trigger(); }
    // Forgets any earlier snapshot, so that a command's own shows.
    void ForgetUndo() {
        UndoBitmap = Bitmap();
        SetMenuEnabled(DocumentMenu::UndoMenu, false);
    }
};

TEST_F(FilterCommandsTest, EveryCommandSnapshotsFiltersTheSelectionAndRepaints) {
    Open(WriteImage("picture.bmp", Picture()));
    const TRect selection{40, 50, 260, 170};
    for (const Command& command : Commands) {
        ImageBitmap.Assign(Picture());
        Selection = selection;
        form->ReDraw();
        const Bitmap before = Copy(ImageBitmap);
        command.primitive();
        const Bitmap expected = Copy(ImageBitmap);
        ImageBitmap.Assign(before);
        Selection = selection;
        ForgetUndo();

        Trigger(command.item);

        EXPECT_TRUE(services.shown.empty()) << command.item;
        EXPECT_TRUE(Enabled("UndoMenu")) << command.item;
        EXPECT_TRUE(UndoBitmap.SamePixels(before)) << command.item;
        EXPECT_TRUE(ImageBitmap.SamePixels(expected)) << command.item;
        EXPECT_EQ(Selection, selection) << command.item;
        // Inside the selection, clear of its frame and of the size texts.
        const QImage client = Client();
        int changed = 0;
        for (int y = 60; y <= 160; y += 5)
            for (int x = 50; x <= 250; x += 5) {
                if (expected.Pixel(x, y) == before.Pixel(x, y)) continue;
                ++changed;
                EXPECT_EQ(client.pixel(x, y), Shown(expected, x, y)) << command.item << " at " << x << ", " << y;
            }
        EXPECT_GT(changed, 0) << command.item << " changed nothing that shows";
        services.shown.clear();
    }
}

TEST_F(FilterCommandsTest, StatisticsReportWithoutSnapshot) {
    Open(WriteImage("picture.bmp", Picture()));
    Selection = TRect{10, 10, 20, 20};
    ForgetUndo();
    const std::string expected = "message: " + StatisticsText(MeasureImage(), CurrentFileName);

    Trigger("StatisticsMenu");

    ASSERT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(services.shown[0], expected);
    EXPECT_NE(services.shown[0].find("Dimensions: 300 X 200\r\n"), std::string::npos);
    EXPECT_FALSE(Enabled("UndoMenu"));
    EXPECT_TRUE(UndoBitmap.Empty());
    EXPECT_TRUE(ImageBitmap.SamePixels(Picture()));
}

TEST_F(FilterCommandsTest, OptimizeOnAFlatSelectionShowsTheErrorAndKeepsTheImage) {
    Open(WriteImage("picture.bmp", Picture()));
    Selection = TRect{110, 90, 170, 130};  // inside the white block
    ForgetUndo();

    Trigger("OptimizeMenu");

    EXPECT_EQ(services.shown, std::vector<std::string>{"error: Floating point division by zero."});
    EXPECT_TRUE(ImageBitmap.SamePixels(Picture()));
    EXPECT_TRUE(Enabled("UndoMenu"));
    EXPECT_TRUE(UndoBitmap.SamePixels(Picture()));
}

}  // namespace
}  // namespace quorvane::testing
