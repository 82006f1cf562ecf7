#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <array>

#include "filters/palette.h"
#include "main_form_fixture.h"
#include "platform/error.h"
#include "platform/qt/colour_grid.h"
#include "platform/qt/scroll_bar.h"

namespace quorvane::testing {
namespace {

using Channels = std::array<int, 3>;

Bitmap Plain(int width, int height, TColor colour) {
    Bitmap bitmap(width, height);
    bitmap.Fill(colour);
    return bitmap;
}

TEST(TScrollBarTest, ClampsAndReportsOnlyRealChanges) {
    TScrollBar bar;
    bar.SetMax(255);
    std::vector<int> reported;
    bar.OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &bar);
        reported.push_back(bar.Position());
    };
    for (int position : {300, 300, 255, -5, 0, 7}) bar.SetPosition(position);
    bar.SetMax(5);  // the position follows the smaller range
    bar.SetMin(5);  // already there: no change
    bar.SetMax(100);
    EXPECT_EQ(reported, (std::vector<int>{255, 0, 7, 5}));
    EXPECT_EQ(bar.Position(), 5);
}

TEST(TScrollBarTest, RefusesAMaximumBelowTheMinimum) {
    TScrollBar bar;
    bar.SetMax(2500);
    bar.SetMin(10);
    bar.SetPosition(2000);
    try {
        bar.SetMax(9);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Scrollbar property out of range");
    }
    EXPECT_THROW(bar.SetMin(2501), Error);
    EXPECT_EQ(bar.Min(), 10);
    EXPECT_EQ(bar.Max(), 2500);
    EXPECT_EQ(bar.Position(), 2000);
}

TEST(TScrollBarTest, HandlerErrorsReachTheSetterOrAfterAUserMoveTheErrorBox) {
    ScriptedServices services;
    TScrollBar bar;
    bar.SetMax(255);
    bar.SetLargeChange(10);
    bar.OnChange = [&](QObject*) {
        if (bar.Position() == 20) throw Error("Twenty");
    };
    EXPECT_THROW(bar.SetPosition(20), Error);
    bar.SetPosition(0);
    EXPECT_TRUE(services.shown.empty());

    bar.show();
    QTest::keyClick(&bar, Qt::Key_PageDown);
    QTest::keyClick(&bar, Qt::Key_PageDown);
    EXPECT_EQ(bar.Position(), 20);
    EXPECT_EQ(services.shown, (std::vector<std::string>{"error: Twenty."}));
}

TEST(TColorGridTest, OnlyALeftClickOnAnotherCellChangesTheCurrentCell) {
    TColorGrid grid;
    grid.resize(76, 80);
    std::vector<int> reported;
    grid.OnChange = [&](QObject*) { reported.push_back(grid.ForegroundIndex()); };
    QTest::mouseClick(&grid, Qt::RightButton, {}, grid.CellRect(5).center());
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(0).center());
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(6).center());
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(6).center());
    QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(75, 79));
    grid.SetForegroundIndex(2);
    EXPECT_EQ(reported, (std::vector<int>{6, 15, 2}));
    EXPECT_THROW(grid.SetForegroundIndex(16), std::out_of_range);
    EXPECT_EQ(grid.ForegroundColor(), RGB(0, 128, 0));
}

class PaletteTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        PaletteForm = new TPaletteForm(form.get());
        palette = PaletteForm;
    }
    void TearDown() override {
        MainFormTest::TearDown();
        PaletteForm = nullptr;
    }

    void ClickCell(int index, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(palette->ColorGrid, button, {}, palette->ColorGrid->CellRect(index).center());
    }
    Channels Positions() const {
        return {palette->RScrollBar->Position(), palette->GScrollBar->Position(), palette->BScrollBar->Position()};
    }
    QStringList Labels() const { return {palette->RLabel->text(), palette->GLabel->text(), palette->BLabel->text()}; }
    QColor ShapeFill() const { return palette->ColorShape->palette().color(QPalette::Window); }
    void OpenPlain(int width, int height, TColor colour) { Open(WriteImage("plain.bmp", Plain(width, height, colour))); }

    TPaletteForm* palette = nullptr;
};

QString Caption(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (const auto* button = qobject_cast<const QPushButton*>(control)) return button->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
    return {};
}

TEST_F(PaletteTest, StartsHiddenWithItsLayout) {
    EXPECT_FALSE(palette->isVisible());
    EXPECT_EQ(palette->windowTitle(), "Palette");
    EXPECT_TRUE(palette->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(palette->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(palette->minimumSize(), QSize(242, 128));
    EXPECT_EQ(palette->maximumSize(), QSize(242, 128));

    struct Control {
        const char* name;
        QRect place;
        const char* caption;
        const char* hint;
    };
    const Control controls[] = {
        {"AirbrushGroupBox", {8, 8, 225, 81}, "Color option", ""},
        {"ColorShape", {8, 24, 41, 41}, "", "Current color"},
        {"Label1", {56, 24, 16, 13}, "R:", ""},
        {"Label2", {56, 40, 16, 13}, "G:", ""},
        {"Label3", {56, 56, 16, 13}, "B:", ""},
        {"RScrollBar", {72, 24, 57, 13}, "", "Red channel"},
        {"GScrollBar", {72, 40, 57, 13}, "", "Green channel"},
        {"BScrollBar", {72, 56, 57, 13}, "", "Blue channel"},
        {"RLabel", {136, 24, 24, 13}, "0", ""},
        {"GLabel", {136, 40, 24, 13}, "0", ""},
        {"BLabel", {136, 56, 24, 13}, "0", ""},
        {"ColorGrid", {160, 16, 56, 56}, "", ""},
        {"OKButton", {64, 96, 75, 25}, "&OK", "OK"},
        {"CancelButton", {152, 96, 75, 25}, "&Cancel", "Cancel"},
    };
    for (const Control& control : controls) {
        const auto* widget = palette->findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_EQ(widget->geometry(), control.place) << control.name;
        EXPECT_EQ(Caption(widget), control.caption) << control.name;
        EXPECT_EQ(widget->toolTip(), control.hint) << control.name;
        const bool inGroupBox = std::string(control.name) != "AirbrushGroupBox" &&
                                std::string(control.name).find("Button") == std::string::npos;
        EXPECT_EQ(widget->parentWidget() == palette->AirbrushGroupBox, inGroupBox) << control.name;
    }
    for (const TScrollBar* bar : {palette->RScrollBar, palette->GScrollBar, palette->BScrollBar}) {
        EXPECT_EQ(bar->Min(), 0);
        EXPECT_EQ(bar->Max(), 255);
        EXPECT_EQ(bar->pageStep(), 10);
        EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    }
    EXPECT_EQ(Positions(), (Channels{0, 0, 0}));
    EXPECT_EQ(palette->ColorGrid->ForegroundIndex(), 0);
    EXPECT_EQ(ShapeFill(), QColor(0, 0, 0));
}

TEST_F(PaletteTest, EachGridCellSetsTheScrollBarsToItsColour) {
    const Channels colours[] = {
        {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},     {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},
        {255, 255, 0}, {0, 0, 255},   {255, 0, 255}, {0, 255, 255},   {255, 255, 255},
    };
    for (int cell = 1; cell <= 15; ++cell) {
        const Channels& colour = colours[cell - 1];
        ClickCell(cell);
        EXPECT_EQ(Positions(), colour) << cell;
        EXPECT_EQ(Labels(), QStringList({QString::number(colour[0]), QString::number(colour[1]),
                                         QString::number(colour[2])}))
            << cell;
        EXPECT_EQ(ShapeFill(), QColor(colour[0], colour[1], colour[2])) << cell;
    }
    ClickCell(0);
    EXPECT_EQ(Positions(), (Channels{0, 0, 0}));
    EXPECT_EQ(ShapeFill(), QColor(0, 0, 0));
}

TEST_F(PaletteTest, OnlyPositionsThatReallyChangeRunTheirHandlers) {
    ClickCell(9);
    EXPECT_EQ(Labels(), QStringList({"255", "0", "0"}));
    EXPECT_EQ(ShapeFill(), QColor(255, 0, 0));

    palette->RLabel->setText("r");
    palette->BLabel->setText("b");
    ClickCell(11);  // yellow: only green moves
    EXPECT_EQ(Positions(), (Channels{255, 255, 0}));
    EXPECT_EQ(Labels(), QStringList({"r", "255", "b"}));

    palette->GLabel->setText("g");
    ClickCell(11);                      // the current cell again
    ClickCell(15, Qt::RightButton);     // no background cell to choose
    EXPECT_EQ(Positions(), (Channels{255, 255, 0}));
    EXPECT_EQ(Labels(), QStringList({"r", "g", "b"}));
}

TEST_F(PaletteTest, ScrollBarsShowTheColourAndTheirPosition) {
    palette->show();
    palette->RScrollBar->SetPosition(300);
    QTest::keyClick(palette->GScrollBar, Qt::Key_PageDown);
    // A click on the right arrow steps by one.
    QTest::mouseClick(palette->BScrollBar, Qt::LeftButton, {}, QPoint(palette->BScrollBar->width() - 3, 6));
    EXPECT_EQ(Labels(), QStringList({"255", "10", "1"}));
    EXPECT_EQ(ShapeFill(), QColor(255, 10, 1));
    EXPECT_EQ(palette->ChosenColour(), RGB(255, 10, 1));
}

TEST_F(PaletteTest, FeatherTakesTheUndoWhenOpenedAndBlendsOnOK) {
    OpenPlain(101, 101, RGB(255, 255, 255));
    form->MenuItem("FeatherMenu")->trigger();
    EXPECT_TRUE(palette->isVisible());
    EXPECT_TRUE(Enabled("UndoMenu"));
    EXPECT_TRUE(ImageBitmap.SamePixels(Plain(101, 101, RGB(255, 255, 255))));

    QTest::mouseClick(palette->OKButton, Qt::LeftButton);
    EXPECT_FALSE(palette->isVisible());
    EXPECT_EQ(ImageBitmap.Pixel(50, 50), RGB(255, 255, 255));
    EXPECT_EQ(ImageBitmap.Pixel(25, 50), RGB(127, 127, 127));
    for (const QPoint black : {QPoint(0, 50), QPoint(50, 0), QPoint(0, 0), QPoint(100, 100)})
        EXPECT_EQ(ImageBitmap.Pixel(black.x(), black.y()), RGB(0, 0, 0)) << black.x() << "," << black.y();
    EXPECT_EQ(Client().pixel(25, 50), qRgb(127, 127, 127));
    EXPECT_EQ(Selection, (TRect{0, 0, 100, 100}));
    EXPECT_TRUE(services.shown.empty());

    form->UndoMenuClick(nullptr);
    EXPECT_TRUE(ImageBitmap.SamePixels(Plain(101, 101, RGB(255, 255, 255))));
}

TEST_F(PaletteTest, CancelAndCloseKeepTheImageAndTheDialogKeepsItsColour) {
    OpenPlain(20, 20, RGB(10, 20, 30));
    form->FeatherMenuClick(nullptr);
    ClickCell(12);
    QTest::mouseClick(palette->CancelButton, Qt::LeftButton);
    EXPECT_FALSE(palette->isVisible());
    EXPECT_TRUE(Enabled("UndoMenu"));

    form->FeatherMenuClick(nullptr);
    EXPECT_EQ(Positions(), (Channels{0, 0, 255}));
    EXPECT_EQ(ShapeFill(), QColor(0, 0, 255));
    palette->close();
    EXPECT_FALSE(palette->isVisible());
    EXPECT_TRUE(ImageBitmap.SamePixels(Plain(20, 20, RGB(10, 20, 30))));
}

TEST_F(PaletteTest, OKBlendsTheSelectionCurrentWhenPressed) {
    OpenPlain(40, 30, RGB(10, 20, 30));
    form->FeatherMenuClick(nullptr);
    Selection = TRect{10, 10, 19, 19};
    ClickCell(15);
    QTest::mouseClick(palette->OKButton, Qt::LeftButton);
    EXPECT_EQ(ImageBitmap.Pixel(9, 9), RGB(10, 20, 30));
    EXPECT_EQ(ImageBitmap.Pixel(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(ImageBitmap.Pixel(15, 15), RGB(10, 20, 30));
    EXPECT_EQ(ImageBitmap.Pixel(20, 20), RGB(10, 20, 30));
}

TEST_F(PaletteTest, AOnePixelHighSelectionFailsWithTheImageUnchanged) {
    OpenPlain(5, 1, RGB(10, 20, 30));
    form->FeatherMenuClick(nullptr);
    ClickCell(15);
    QTest::mouseClick(palette->OKButton, Qt::LeftButton);
    EXPECT_EQ(services.shown, (std::vector<std::string>{"error: Invalid floating point operation."}));
    EXPECT_FALSE(palette->isVisible());
    EXPECT_TRUE(ImageBitmap.SamePixels(Plain(5, 1, RGB(10, 20, 30))));
    EXPECT_TRUE(Enabled("UndoMenu"));
}

}  // namespace
}  // namespace quorvane::testing
