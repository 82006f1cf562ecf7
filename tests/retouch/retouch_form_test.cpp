#include "retouch/retouch_form.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/exchange_file.h"
#include "gui/main_form_fixture.h"
#include "platform/qt/canvas.h"
#include "platform/qt/colour_grid.h"
#include "platform/qt/scroll_bar.h"

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

struct Channels {
    int red, green, blue;
    bool operator==(const Channels&) const = default;
};

class RetouchFormTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        retouch = std::make_unique<TRetouchForm>();
        RetouchForm = retouch.get();
        form->move(40, 30);
        form->show();
    }
    void TearDown() override {
        RetouchForm = nullptr;
        retouch.reset();
        DeleteExchangeFile();
        MainFormTest::TearDown();
    }

    void OpenRetouch(const Bitmap& picture) {
        Open(WriteImage("picture.bmp", picture));
        form->RetouchMenuClick(nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(retouch.get()));
    }

    // The mouse on the window, at picture coordinates, routed as Qt routes
    // it: to the picture while a button is held there, else to what lies
    // under the mouse.
    QPoint At(int x, int y) const { return retouch->Image->mapTo(retouch.get(), QPoint(x, y)); }
    void Press(Qt::MouseButton button, int x, int y) {
        QTest::mousePress(retouch->windowHandle(), button, {}, At(x, y));
    }
    void Release(Qt::MouseButton button, int x, int y) {
        QTest::mouseRelease(retouch->windowHandle(), button, {}, At(x, y));
    }
    void MoveTo(int x, int y) { QTest::mouseMove(retouch->windowHandle(), At(x, y)); }

    Channels Bars() const {
        return {retouch->RScrollBar->Position(), retouch->GScrollBar->Position(), retouch->BScrollBar->Position()};
    }
    Channels BarLabels() const {
        return {retouch->RLabel->text().toInt(), retouch->GLabel->text().toInt(), retouch->BLabel->text().toInt()};
    }
    QColor Swatch() const { return retouch->ColorShape->palette().color(QPalette::Window); }
    QRgb Shown(int x, int y) const { return retouch->Image->Buffer().pixel(x, y) & 0xFFFFFF; }
    static QRgb AsQRgb(TColor colour) { return ToQColor(colour).rgb() & 0xFFFFFF; }

    bool ExchangeFileExists() const { return fs::exists(ExchangeFileName()); }

    std::unique_ptr<TRetouchForm> retouch;
};

Bitmap Plain(int width, int height, TColor colour) {
    Bitmap bitmap(width, height);
    bitmap.Fill(colour);
    return bitmap;
}

struct SizeCase {
    int width, height;
    QSize client, panel;
};

TEST_F(RetouchFormTest, WindowFitsThePicture) {
    const SizeCase cases[] = {
        {100, 80, {260, 453}, {116, 96}},
        {50, 416, {210, 453}, {66, 432}},
        {50, 417, {210, 465}, {66, 433}},
        {30, 20, {190, 453}, {46, 36}},
    };
    for (const SizeCase& sizeCase : cases) {
        SCOPED_TRACE(std::to_string(sizeCase.width) + " x " + std::to_string(sizeCase.height));
        retouch->Load(WriteImage("size.bmp", Gradient(sizeCase.width, sizeCase.height)));
        EXPECT_EQ(retouch->size(), sizeCase.client);
        EXPECT_EQ(retouch->ImagePanel->size(), sizeCase.panel);
        EXPECT_EQ(retouch->ImageScrollArea->geometry(), QRect(QPoint(128, 16), sizeCase.panel));
        EXPECT_EQ(retouch->Image->geometry(), QRect(8, 8, sizeCase.width, sizeCase.height));
        EXPECT_EQ(retouch->ReloadButton->geometry(), QRect(8, 8, 41, 17));
        EXPECT_EQ(retouch->Image->Buffer().pixel(sizeCase.width - 1, sizeCase.height - 1) & 0xFFFFFF,
                  AsQRgb(Gradient(sizeCase.width, sizeCase.height).Pixel(sizeCase.width - 1, sizeCase.height - 1)));
    }
}

TEST_F(RetouchFormTest, PictureLargerThanTheScreenScrollsBesideTheControls) {
    const QSize room = retouch->screen()->availableGeometry().size();
    const int width = room.width() + 200;
    const int height = room.height() + 100;
    OpenRetouch(Gradient(width, height));
    const QSize window = retouch->frameGeometry().size();
    EXPECT_EQ(window.boundedTo(room), window);
    EXPECT_GE(retouch->width(), room.width() - 16);
    EXPECT_GE(retouch->height(), room.height() - 32);
    EXPECT_EQ(retouch->ImagePanel->size(), QSize(width + 16, height + 16));
    EXPECT_EQ(retouch->ImageScrollArea->geometry(), QRect(128, 16, retouch->width() - 144, retouch->height() - 32));
    EXPECT_GT(retouch->ImageScrollArea->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(retouch->ImageScrollArea->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(retouch->CancelButton->geometry(), QRect(30, 424, 75, 25));
    // The picture keeps its own coordinates when scrolled.
    retouch->ImageScrollArea->ensureVisible(width + 16, height + 16);
    retouch->SizeScrollBar->SetPosition(1);
    retouch->ColorGrid->SetForegroundIndex(15);
    retouch->OpacityScrollBar->SetPosition(20);
    Press(Qt::LeftButton, width - 3, height - 2);
    Release(Qt::LeftButton, width - 3, height - 2);
    EXPECT_EQ(retouch->Picture().Pixel(width - 3, height - 2), RGB(255, 255, 255));
}

struct ControlCase {
    const char* name;
    QRect place;
    const char* hint;
};

TEST_F(RetouchFormTest, ControlsStartAsLaidOut) {
    const ControlCase controls[] = {
        {"GroupBox1", {8, 8, 113, 233}, ""},
        {"Image4", {8, 16, 33, 33}, "Eyedropper"},
        {"Label6", {40, 16, 62, 26}, ""},
        {"Image1", {8, 48, 33, 33}, "Airbrush"},
        {"AirBrushRadioButton", {40, 56, 57, 17}, "Airbrush tool"},
        {"Image2", {8, 80, 33, 33}, "Lighten"},
        {"LightenRadioButton", {40, 88, 57, 17}, "Lighten tool"},
        {"Image3", {8, 112, 33, 33}, "Darken"},
        {"DarkenRadioButton", {40, 120, 57, 17}, "Darken tool"},
        {"SizeScrollBar", {24, 164, 65, 13}, "Size of tool"},
        {"OpacityScrollBar", {24, 212, 65, 13}, "Opacity of airbrush"},
        {"PageControl", {8, 248, 113, 137}, ""},
        {"ColorShape", {24, 8, 41, 41}, "Current color"},
        {"RScrollBar", {16, 56, 57, 13}, "Red channel"},
        {"GScrollBar", {16, 72, 57, 13}, "Green channel"},
        {"BScrollBar", {16, 88, 57, 13}, "Blue channel"},
        {"ColorGrid", {13, 9, 76, 80}, ""},
        {"OKButton", {30, 392, 75, 25}, "OK"},
        {"CancelButton", {30, 424, 75, 25}, "Cancel"},
        {"ReloadButton", {8, 8, 41, 17}, "Reload the original image"},
    };
    for (const ControlCase& control : controls) {
        const auto* widget = retouch->findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_EQ(widget->geometry(), control.place) << control.name;
        EXPECT_EQ(widget->toolTip().toStdString(), control.hint) << control.name;
    }
    EXPECT_EQ(retouch->windowTitle(), "Quorvane - retouch window");
    EXPECT_FALSE(retouch->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(retouch->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(retouch->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(retouch->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(retouch->isVisible());
    EXPECT_EQ(retouch->Label4->pos(), QPoint(40, 144));
    EXPECT_EQ(retouch->Label7->pos(), QPoint(32, 192));
    EXPECT_EQ(retouch->PageControl->currentWidget(), retouch->RGB_page);
    EXPECT_EQ(retouch->PageControl->tabText(0), "R&GB");
    EXPECT_EQ(retouch->PageControl->tabText(1), "&Pallette");
    EXPECT_TRUE(retouch->AirBrushRadioButton->isChecked());
    for (const TScrollBar* bar : {retouch->SizeScrollBar, retouch->OpacityScrollBar})
        EXPECT_EQ((std::array{bar->Min(), bar->Max(), bar->Position(), bar->pageStep()}), (std::array{1, 20, 10, 10}));
    for (const TScrollBar* bar : {retouch->RScrollBar, retouch->GScrollBar, retouch->BScrollBar})
        EXPECT_EQ((std::array{bar->Min(), bar->Max(), bar->Position(), bar->pageStep()}), (std::array{0, 255, 0, 10}));
    EXPECT_EQ(BarLabels(), (Channels{0, 0, 0}));
    EXPECT_EQ(Swatch(), QColor(Qt::black));
    EXPECT_EQ(retouch->Image->cursor().shape(), Qt::CrossCursor);
    EXPECT_FALSE(retouch->Painting);
    EXPECT_FALSE(retouch->Picking);
}

TEST_F(RetouchFormTest, OpeningTakesTheMainWindowsPlace) {
    const Bitmap picture = Gradient(100, 80);
    OpenRetouch(picture);
    EXPECT_TRUE(retouch->isVisible());
    EXPECT_TRUE(form->isHidden());
    EXPECT_EQ(retouch->pos(), form->pos());
    EXPECT_TRUE(retouch->Picture().SamePixels(picture));
    EXPECT_TRUE(UndoBitmap.SamePixels(picture));
    EXPECT_TRUE(Enabled("UndoMenu"));
    EXPECT_TRUE(ExchangeFileExists());
    EXPECT_NE(fs::path(ExchangeFileName()).parent_path(), fs::current_path());
}

TEST_F(RetouchFormTest, PaintingThenReloadBringsBackThePicture) {
    const Bitmap picture = Plain(60, 50, RGB(10, 20, 30));
    OpenRetouch(picture);
    retouch->ColorGrid->SetForegroundIndex(15);
    Press(Qt::LeftButton, 30, 25);
    MoveTo(40, 25);
    Release(Qt::LeftButton, 40, 25);
    EXPECT_NE(retouch->Picture().Pixel(30, 25), picture.Pixel(30, 25));
    EXPECT_NE(retouch->Picture().Pixel(40, 25), picture.Pixel(40, 25));
    EXPECT_EQ(Shown(40, 25), AsQRgb(retouch->Picture().Pixel(40, 25)));
    // One dab per event: nothing between the two positions.
    EXPECT_EQ(retouch->Picture().Pixel(35, 15), picture.Pixel(35, 15));
    QTest::mouseClick(retouch->ReloadButton, Qt::LeftButton);
    EXPECT_TRUE(retouch->Picture().SamePixels(picture));
    EXPECT_EQ(Shown(40, 25), AsQRgb(picture.Pixel(40, 25)));
    EXPECT_EQ(Bars(), (Channels{255, 255, 255}));
}

TEST_F(RetouchFormTest, CancelLeavesTheImageAndRemovesTheExchangeFile) {
    const Bitmap picture = Gradient(60, 50);
    OpenRetouch(picture);
    Press(Qt::LeftButton, 20, 30);
    Release(Qt::LeftButton, 20, 30);
    retouch->move(90, 70);
    QTest::mouseClick(retouch->CancelButton, Qt::LeftButton);
    EXPECT_TRUE(ImageBitmap.SamePixels(picture));
    EXPECT_FALSE(ExchangeFileExists());
    EXPECT_TRUE(retouch->isHidden());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->pos(), QPoint(90, 70));
}

TEST_F(RetouchFormTest, OkHandsThePictureBackAndUndoRestores) {
    const Bitmap picture = Gradient(60, 50);
    OpenRetouch(picture);
    const std::string fileName = CurrentFileName;
    retouch->DarkenRadioButton->setChecked(true);
    Press(Qt::LeftButton, 20, 30);
    Release(Qt::LeftButton, 20, 30);
    Selection = {1, 2, 3, 4};
    retouch->move(90, 70);
    QTest::mouseClick(retouch->OKButton, Qt::LeftButton);
    EXPECT_FALSE(ImageBitmap.SamePixels(picture));
    EXPECT_TRUE(ImageBitmap.SamePixels(retouch->Picture()));
    EXPECT_EQ(Selection, (TRect{0, 0, 59, 49}));
    EXPECT_EQ(CurrentFileName, fileName);
    EXPECT_FALSE(ExchangeFileExists());
    EXPECT_TRUE(retouch->isHidden());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->pos(), QPoint(90, 70));
    form->UndoMenuClick(nullptr);
    EXPECT_TRUE(ImageBitmap.SamePixels(picture));
    EXPECT_TRUE(services.shown.empty());
}

class PickingTest : public RetouchFormTest, public ::testing::WithParamInterface<Qt::MouseButton> {};

TEST_P(PickingTest, OtherButtonsPickColours) {
    Bitmap picture = Plain(40, 30, RGB(1, 2, 3));
    picture.SetPixel(12, 27, RGB(12, 34, 56));
    picture.SetPixel(13, 27, RGB(200, 100, 50));
    OpenRetouch(picture);
    Press(GetParam(), 12, 27);
    EXPECT_TRUE(retouch->Picking);
    EXPECT_EQ(Bars(), (Channels{12, 34, 56}));
    EXPECT_EQ(BarLabels(), (Channels{12, 34, 56}));
    EXPECT_EQ(Swatch(), QColor(12, 34, 56));
    MoveTo(13, 27);
    EXPECT_EQ(Bars(), (Channels{200, 100, 50}));
    Release(GetParam(), 13, 27);
    EXPECT_FALSE(retouch->Picking);
    EXPECT_TRUE(retouch->Picture().SamePixels(picture));
}

INSTANTIATE_TEST_SUITE_P(Buttons, PickingTest, ::testing::Values(Qt::RightButton, Qt::MiddleButton));

TEST_F(RetouchFormTest, BothButtonsPaintAndPickAtEveryMovement) {
    OpenRetouch(Plain(60, 50, RGB(100, 100, 100)));
    retouch->LightenRadioButton->setChecked(true);
    retouch->OpacityScrollBar->SetPosition(20);
    Press(Qt::LeftButton, 10, 40);
    Press(Qt::RightButton, 10, 40);
    EXPECT_EQ(Bars(), (Channels{120, 120, 120}));
    for (int x : {30, 45}) {
        MoveTo(x, 25);
        EXPECT_EQ(retouch->Picture().Pixel(x, 25), RGB(120, 120, 120));
        EXPECT_EQ(Bars(), (Channels{120, 120, 120}));
    }
    // Off the picture the left button still paints; the eyedropper takes nothing there.
    MoveTo(-4, 25);
    EXPECT_NE(retouch->Picture().Pixel(0, 25), RGB(100, 100, 100));
    EXPECT_EQ(Bars(), (Channels{120, 120, 120}));
    Release(Qt::RightButton, -4, 25);
    Release(Qt::LeftButton, -4, 25);
    EXPECT_FALSE(retouch->Painting);
    EXPECT_FALSE(retouch->Picking);
}

TEST_F(RetouchFormTest, ReleaseOffThePictureEndsPicking) {
    Bitmap picture = Plain(60, 50, RGB(5, 5, 5));
    picture.SetPixel(30, 30, RGB(250, 0, 0));
    OpenRetouch(picture);
    Press(Qt::RightButton, 10, 40);
    MoveTo(-60, 40);
    Release(Qt::RightButton, -60, 40);
    EXPECT_FALSE(retouch->Picking);
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), retouch->Image->mapToGlobal(QPointF(30, 30)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(retouch->Image, &move);
    EXPECT_EQ(Bars(), (Channels{5, 5, 5}));
    EXPECT_TRUE(retouch->Picture().SamePixels(picture));
}

TEST_F(RetouchFormTest, GridCellSetsTheBarsAndTheSwatch) {
    int redChanges = 0;
    const auto handler = retouch->RScrollBar->OnChange;
    retouch->RScrollBar->OnChange = [&](QObject* sender) {
        ++redChanges;
        handler(sender);
    };
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(retouch->ColorGrid, Qt::LeftButton, {}, retouch->ColorGrid->CellRect(15).center());
        EXPECT_EQ(Bars(), (Channels{255, 255, 255}));
        EXPECT_EQ(BarLabels(), (Channels{255, 255, 255}));
        EXPECT_EQ(Swatch(), QColor(Qt::white));
    }
    EXPECT_EQ(redChanges, 1);
    retouch->ColorGrid->SetForegroundIndex(5);
    EXPECT_EQ(Bars(), (Channels{128, 0, 128}));
    EXPECT_EQ(Swatch(), QColor(128, 0, 128));
}

TEST_F(RetouchFormTest, SettingsStayBetweenOpenings) {
    OpenRetouch(Gradient(40, 30));
    retouch->ColorGrid->SetForegroundIndex(9);
    retouch->GScrollBar->SetPosition(77);
    retouch->DarkenRadioButton->setChecked(true);
    retouch->SizeScrollBar->SetPosition(3);
    retouch->OpacityScrollBar->SetPosition(17);
    retouch->PageControl->setCurrentWidget(retouch->Standard_page);
    QTest::mouseClick(retouch->CancelButton, Qt::LeftButton);
    OpenRetouch(Gradient(70, 20));
    EXPECT_EQ(Bars(), (Channels{255, 77, 0}));
    EXPECT_EQ(Swatch(), QColor(255, 77, 0));
    EXPECT_TRUE(retouch->DarkenRadioButton->isChecked());
    EXPECT_EQ(retouch->SizeScrollBar->Position(), 3);
    EXPECT_EQ(retouch->OpacityScrollBar->Position(), 17);
    EXPECT_EQ(retouch->ColorGrid->ForegroundIndex(), 9);
    EXPECT_EQ(retouch->size(), QSize(230, 453));
}

// A folder in the exchange file's place: nothing can be written there.
class BlockedExchangeFile {
public:
    BlockedExchangeFile() { fs::create_directory(ExchangeFileName()); }
    ~BlockedExchangeFile() { fs::remove(ExchangeFileName()); }
};

TEST_F(RetouchFormTest, OpeningStopsWhenTheExchangeFileCannotBeWritten) {
    const Bitmap picture = Gradient(40, 30);
    Open(WriteImage("picture.bmp", picture));
    const BlockedExchangeFile blocked;
    RunGuarded([&] { form->RetouchMenuClick(nullptr); });
    ASSERT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(services.shown[0].rfind("error: ", 0), 0u) << services.shown[0];
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(retouch->isVisible());
    EXPECT_TRUE(UndoBitmap.SamePixels(picture));
}

TEST_F(RetouchFormTest, FailedOkKeepsTheWindowOpenAndCancelStillLeadsBack) {
    const Bitmap picture = Gradient(40, 30);
    OpenRetouch(picture);
    Press(Qt::LeftButton, 20, 22);
    Release(Qt::LeftButton, 20, 22);
    Bitmap painted;
    painted.Assign(retouch->Picture());
    DeleteExchangeFile();
    {
        const BlockedExchangeFile blocked;
        QTest::mouseClick(retouch->OKButton, Qt::LeftButton);
    }
    ASSERT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(services.shown[0].rfind("error: ", 0), 0u) << services.shown[0];
    EXPECT_TRUE(retouch->isVisible());
    EXPECT_TRUE(form->isHidden());
    EXPECT_TRUE(retouch->Picture().SamePixels(painted));
    EXPECT_TRUE(ImageBitmap.SamePixels(picture));
    QTest::mouseClick(retouch->CancelButton, Qt::LeftButton);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(ImageBitmap.SamePixels(picture));
}

TEST_F(RetouchFormTest, ReloadWithoutTheExchangeFileKeepsThePicture) {
    OpenRetouch(Gradient(40, 30));
    Press(Qt::LeftButton, 20, 22);
    Release(Qt::LeftButton, 20, 22);
    Bitmap painted;
    painted.Assign(retouch->Picture());
    DeleteExchangeFile();
    QTest::mouseClick(retouch->ReloadButton, Qt::LeftButton);
    ASSERT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(services.shown[0].rfind("error: ", 0), 0u) << services.shown[0];
    EXPECT_TRUE(retouch->Picture().SamePixels(painted));
    EXPECT_EQ(retouch->size(), QSize(200, 453));
}

TEST_F(RetouchFormTest, CloseRequestIsRefused) {
    OpenRetouch(Gradient(40, 30));
    EXPECT_FALSE(retouch->close());
    EXPECT_TRUE(retouch->isVisible());
    EXPECT_TRUE(form->isHidden());
}

}  // namespace
}  // namespace quorvane::testing
