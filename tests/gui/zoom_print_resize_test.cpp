#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QImage>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>

#include "app/print_form.h"
#include "app/zoom_form.h"
#include "filters/geometry.h"
#include "filters/levels.h"
#include "filters/mean.h"
#include "filters/resize.h"
#include "main_form_fixture.h"
#include "platform/qt/scroll_bar.h"

namespace quorvane::testing {
namespace {

class SecondaryFormsTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        ZoomForm = new TZoomForm(form.get());
        PrintForm = new TPrintForm(form.get());
        ResizeForm = new TResizeForm(form.get());
    }
    void TearDown() override {
        MainFormTest::TearDown();
        ZoomForm = nullptr;
        PrintForm = nullptr;
        ResizeForm = nullptr;
    }
    QImage Loupe() const { return ZoomForm->ClientArea()->Buffer(); }
    bool ZoomChecked() const { return form->MenuItem("ZoomMenu")->isChecked(); }
};

TEST_F(SecondaryFormsTest, RightAndMiddleButtonsAndTheMenuToggleTheZoomWindow) {
    Open(WriteImage("a.bmp", Gradient(300, 200)));
    EXPECT_TRUE(ZoomForm->isHidden());
    EXPECT_TRUE(form->MenuItem("ZoomMenu")->isCheckable());
    QTest::mouseClick(form->ClientArea(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(ZoomForm->isVisible());
    EXPECT_TRUE(ZoomChecked());
    QTest::mouseClick(form->ClientArea(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(ZoomForm->isHidden());
    EXPECT_FALSE(ZoomChecked());
    QTest::mouseClick(form->ClientArea(), Qt::MiddleButton, {}, QPoint(5, 5));
    EXPECT_TRUE(ZoomForm->isVisible());
    form->MenuItem("ZoomMenu")->trigger();
    EXPECT_TRUE(ZoomForm->isHidden());
    EXPECT_FALSE(ZoomChecked());
    form->MenuItem("ZoomMenu")->trigger();
    EXPECT_TRUE(ZoomForm->isVisible());
    EXPECT_TRUE(ZoomChecked());
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(SecondaryFormsTest, TheZoomWindowIsASmallToolWindowWithoutCloseBox) {
    EXPECT_EQ(ZoomForm->windowTitle(), "Zoom");
    EXPECT_EQ(ZoomForm->size(), QSize(157, 117));
    EXPECT_EQ(ZoomForm->pos(), QPoint(574, 110));
    EXPECT_TRUE(ZoomForm->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(ZoomForm->windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(SecondaryFormsTest, TheLoupeDoublesTheClientAreaAroundThePointer) {
    Open(WriteImage("a.bmp", Gradient(300, 200)));
    form->ClientArea()->onMouseMove(100, 100);
    const QImage client = Client();
    const QImage loupe = Loupe();
    for (int y = 0; y < 117; ++y)
        for (int x = 0; x < 157; ++x)
            ASSERT_EQ(loupe.pixel(x, y), client.pixel(61 + x / 2, 71 + y / 2)) << x << "," << y;
    for (const QPoint corner : {QPoint(78, 58), QPoint(79, 59)}) EXPECT_EQ(loupe.pixel(corner), client.pixel(100, 100));
    EXPECT_EQ(ZoomBitmap.Pixel(0, 0), RGB(61, 71, (61 + 71) % 97));
    EXPECT_EQ(ZoomBitmap.Pixel(79, 59), RGB(140, 130, (140 + 130) % 97));
}

TEST_F(SecondaryFormsTest, TheLoupeShowsTheFrameAndTextsAndBlackBeyondTheClientArea) {
    Open(WriteImage("a.bmp", Gradient(100, 80)));
    form->FormMouseMove(20, 10);
    const QImage client = Client();
    const QImage loupe = Loupe();
    // (20, 10) is at (39, 29) of the sample: the sample starts at (-19, -19).
    EXPECT_EQ(loupe.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(loupe.pixel(2 * 19 + 1, 2 * 19 + 1), client.pixel(0, 0));  // the selection frame's corner
    EXPECT_EQ(loupe.pixel(2 * 59, 2 * 29), client.pixel(40, 10));        // inside the white text
    EXPECT_EQ(loupe.pixel(156, 116), client.pixel(20 + 39, 10 + 29));

    form->FormMouseMove(-500, 9000);
    EXPECT_EQ(Loupe().pixel(78, 58), qRgb(0, 0, 0));
}

// Flat 16 x 16 blocks, which survive the JPEG compression the PDF may apply.
Bitmap Blocks(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int column = x / 16;
            const int row = y / 16;
            bitmap.SetPixel(x, y, RGB(column * 40 % 256, row * 60 % 256, (column + 1) * (row + 1) * 25 % 256));
        }
    return bitmap;
}

QImage RenderPdf(const std::string& pdf, const std::string& prefix) {
    const std::string command = "pdftoppm -r 96 -singlefile " + pdf + " " + prefix;
    if (std::system(command.c_str()) != 0) return {};
    return QImage(QString::fromStdString(prefix + ".ppm"));
}

TEST_F(SecondaryFormsTest, PrintingPutsEachPixelOnThreeByThreeDotsAtTheTopLeft) {
    if (std::system("pdftoppm -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm is not installed";
    const std::string pdf = (folder / "page.pdf").string();
    qputenv("QUORVANE_PRINT_TO_PDF", QByteArray::fromStdString(pdf));
    Open(WriteImage("a.bmp", Blocks(200, 100)));
    form->MenuItem("PrintMenu")->trigger();
    ASSERT_TRUE(PrintForm->isVisible());
    QTest::mouseClick(PrintForm->Button1, Qt::LeftButton);
    EXPECT_TRUE(services.shown.empty()) << services.shown.front();
    EXPECT_TRUE(PrintForm->isHidden());

    const QImage page = RenderPdf(pdf, (folder / "page").string());
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());  // landscape
    int worst = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const QColor dot = page.pixelColor(3 * x + 1, 3 * y + 1);
            const TColor pixel = ImageBitmap.Pixel(x, y);
            if (x % 16 == 0 || x % 16 == 15 || y % 16 == 0 || y % 16 == 15) continue;  // JPEG rings at block edges
            worst = std::max({worst, std::abs(dot.red() - int(pixel & 255)), std::abs(dot.green() - int(pixel >> 8 & 255)),
                              std::abs(dot.blue() - int(pixel >> 16 & 255))});
        }
    EXPECT_LE(worst, 24);
    // The image covers dots 0..599 and 0..299 exactly: paper right of and below it.
    EXPECT_NE(page.pixel(599, 299), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(601, 150), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(300, 301), qRgb(255, 255, 255));

    PrintForm->PortraitRadioButton->setChecked(true);
    PrintForm->Button1Click(PrintForm->Button1);
    const QImage portrait = RenderPdf(pdf, (folder / "portrait").string());
    EXPECT_LT(portrait.width(), portrait.height());
    qunsetenv("QUORVANE_PRINT_TO_PDF");
}

TEST_F(SecondaryFormsTest, ThePrintDialogRemembersTheOrientation) {
    EXPECT_EQ(PrintForm->windowTitle(), "Print");
    EXPECT_TRUE(PrintForm->RadioButton2->isChecked());
    EXPECT_FALSE(PrintForm->PortraitRadioButton->isChecked());
    form->PrintMenuClick(nullptr);
    PrintForm->PortraitRadioButton->setChecked(true);
    QTest::mouseClick(PrintForm->Button2, Qt::LeftButton);
    EXPECT_TRUE(PrintForm->isHidden());
    form->PrintMenuClick(nullptr);
    EXPECT_TRUE(PrintForm->PortraitRadioButton->isChecked());
    EXPECT_FALSE(PrintForm->RadioButton2->isChecked());
}

TEST_F(SecondaryFormsTest, WithoutADefaultPrinterTheErrorShowsAndTheDialogStays) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    Open(WriteImage("a.bmp", Gradient(20, 10)));
    form->PrintMenuClick(nullptr);
    QTest::mouseClick(PrintForm->Button1, Qt::LeftButton);
    EXPECT_EQ(services.shown, std::vector<std::string>{"error: There is no default printer."});
    EXPECT_TRUE(PrintForm->isVisible());
}

Bitmap Transformed(const Bitmap& image, void (*primitive)(std::int32_t), std::int32_t direction, bool levels) {
    ImageBitmap.Assign(image);
    primitive(direction);
    if (levels) OptimizeLevels();
    Bitmap result;
    result.Assign(ImageBitmap);
    return result;
}

// Every channel keeps a spread of values through Reflection.
Bitmap Scattered(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB((x * 37 + y * 11) % 256, x * y * 7 % 256, (x + 3 * y) * 5 % 256));
    return bitmap;
}

TEST_F(SecondaryFormsTest, GeometryMenuItemsSnapshotTransformAndSelectAll) {
    const Bitmap image = Scattered(30, 20);
    const struct {
        const char* item;
        void (*primitive)(std::int32_t);
        std::int32_t direction;
        bool levels;
    } cases[] = {
        {"HorisontallyMenu", MirrorImage, 0, false},          {"VerticallyMenu", MirrorImage, 1, false},
        {"ReflectionHorisontallyMenu", ReflectImage, 0, true}, {"ReflectionVerticallyMenu", ReflectImage, 1, true},
        {"LeftMenu", RotateImage, 0, false},                   {"RightMenu", RotateImage, 1, false},
    };
    for (const auto& c : cases) {
        const Bitmap expected = Transformed(image, c.primitive, c.direction, c.levels);
        Open(WriteImage("a.bmp", image));
        Selection = TRect{3, 4, 10, 12};
        form->MenuItem(c.item)->trigger();
        EXPECT_TRUE(ImageBitmap.SamePixels(expected)) << c.item;
        EXPECT_TRUE(UndoBitmap.SamePixels(image)) << c.item;
        EXPECT_TRUE(Enabled("UndoMenu")) << c.item;
        EXPECT_EQ(Selection, (TRect{0, 0, ImageBitmap.Width() - 1, ImageBitmap.Height() - 1})) << c.item;
        EXPECT_EQ(ClientSize(), QSize(260, ImageBitmap.Height())) << c.item;
    }
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(SecondaryFormsTest, CropOfTheWholeImageStillTakesASnapshot) {
    const Bitmap image = Gradient(40, 30);
    Open(WriteImage("a.bmp", image));
    EXPECT_FALSE(Enabled("UndoMenu"));
    form->MenuItem("CropMenu")->trigger();
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
    EXPECT_TRUE(UndoBitmap.SamePixels(image));
    EXPECT_TRUE(Enabled("UndoMenu"));

    Selection = TRect{5, 6, 14, 10};
    form->MenuItem("CropMenu")->trigger();
    EXPECT_EQ(ImageBitmap.Width(), 10);
    EXPECT_EQ(ImageBitmap.Height(), 5);
    EXPECT_EQ(ImageBitmap.Pixel(0, 0), image.Pixel(5, 6));
    EXPECT_EQ(Selection, (TRect{0, 0, 9, 4}));
}

class ResizeFormTest : public SecondaryFormsTest {
protected:
    void OpenDialog(int width, int height) {
        Open(WriteImage("a.bmp", Gradient(width, height)));
        form->MenuItem("ResizeMenu")->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowActive(ResizeForm));
    }
    QString Text(QLabel* label) const { return label->text(); }
    TScrollBar* WidthBar() const { return ResizeForm->WidthScrollBar; }
    TScrollBar* HeightBar() const { return ResizeForm->HeightScrollBar; }
};

TEST_F(ResizeFormTest, StartsWithItsInitialControlStates) {
    EXPECT_EQ(ResizeForm->windowTitle(), "Resize");
    EXPECT_TRUE(ResizeForm->isHidden());
    EXPECT_EQ(Text(ResizeForm->WidthLabel), "0");
    EXPECT_EQ(Text(ResizeForm->HeightLabel), "0");
    EXPECT_EQ(Text(ResizeForm->NewWidthLabel), "0000");
    EXPECT_EQ(Text(ResizeForm->NewHeightLabel), "0000");
    EXPECT_FALSE(ResizeForm->RatioCheckBox->isChecked());
    EXPECT_TRUE(ResizeForm->InterpolationCheckBox->isChecked());
    EXPECT_EQ(ResizeForm->RatioCheckBox->text(), "&Preserve aspect ratio");
    EXPECT_EQ(ResizeForm->InterpolationCheckBox->text(), "&Use pseudo interpolation when upsizing");
    for (TScrollBar* bar : {WidthBar(), HeightBar()}) {
        EXPECT_EQ(bar->Min(), 10);
        EXPECT_EQ(bar->Max(), 2500);
        EXPECT_EQ(bar->Position(), 10);
        EXPECT_EQ(bar->pageStep(), 100);
    }
    const QPushButton* buttons[] = {ResizeForm->Button1, ResizeForm->Button2, ResizeForm->Button3,
                                    ResizeForm->Button4, ResizeForm->Button5, ResizeForm->Button6};
    const char* captions[] = {"&320 X 240", "&640 X 480", "&800 X 600", "&1024 X 768", "11&52 X 864", "1&280 X 1024"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(buttons[i]->text(), captions[i]);
    EXPECT_EQ(ResizeForm->OKButton->text(), "&OK");
    EXPECT_EQ(ResizeForm->OKButton->toolTip(), "OK");
    EXPECT_EQ(ResizeForm->CancelButton->text(), "&Cancel");
    EXPECT_EQ(ResizeForm->CancelButton->toolTip(), "Cancel");
}

TEST_F(ResizeFormTest, OpeningRecordsTheSizeAndActivationSetsTheHeightMaximum) {
    OpenDialog(640, 480);
    EXPECT_TRUE(ResizeForm->isVisible());
    EXPECT_EQ(Text(ResizeForm->WidthLabel), "640");
    EXPECT_EQ(Text(ResizeForm->HeightLabel), "480");
    EXPECT_EQ(Text(ResizeForm->NewWidthLabel), "640");
    EXPECT_EQ(Text(ResizeForm->NewHeightLabel), "480");
    EXPECT_EQ(HeightBar()->Max(), 1875);

    ResizeForm->CancelButton->click();
    EXPECT_TRUE(ResizeForm->isHidden());
    OpenDialog(1000, 100);
    EXPECT_EQ(HeightBar()->Max(), 250);
    ResizeForm->Button2->click();
    EXPECT_EQ(WidthBar()->Position(), 640);
    EXPECT_EQ(HeightBar()->Position(), 250);
    EXPECT_EQ(Text(ResizeForm->NewHeightLabel), "250");
}

TEST_F(ResizeFormTest, AWideImageIsClampedToTheWidthMaximum) {
    OpenDialog(2600, 20);
    EXPECT_EQ(WidthBar()->Position(), 2500);
    EXPECT_EQ(Text(ResizeForm->WidthLabel), "2600");
    EXPECT_EQ(HeightBar()->Max(), 19);
}

TEST_F(ResizeFormTest, TheRatioLockFollowsTheWidth) {
    OpenDialog(641, 481);
    ResizeForm->RatioCheckBox->setChecked(true);
    EXPECT_TRUE(HeightBar()->isHidden());
    EXPECT_EQ(HeightBar()->Position(), 481);
    WidthBar()->SetPosition(100);
    EXPECT_EQ(HeightBar()->Position(), 75);
    EXPECT_EQ(Text(ResizeForm->NewHeightLabel), "75");
    ResizeForm->Button1->click();
    EXPECT_FALSE(ResizeForm->RatioCheckBox->isChecked());
    EXPECT_FALSE(HeightBar()->isHidden());
    EXPECT_EQ(HeightBar()->Position(), 240);
}

TEST_F(ResizeFormTest, AnImageTooWideForTheHeightRangeIsAnError) {
    OpenDialog(640, 480);
    ResizeForm->CancelButton->click();
    OpenDialog(3000, 10);
    EXPECT_EQ(services.shown, std::vector<std::string>{"error: Scrollbar property out of range."});
    EXPECT_EQ(HeightBar()->Max(), 1875);
}

Bitmap Resized(const Bitmap& image, int width, int height, bool mean) {
    ImageBitmap.Assign(image);
    ResizeImage(width, height);
    if (mean) Mean(1);
    Bitmap result;
    result.Assign(ImageBitmap);
    return result;
}

TEST_F(ResizeFormTest, OkResizesAndSoftensOnlyAnEnlargement) {
    const struct {
        int width, height, newWidth, newHeight;
        bool interpolation, mean;
    } cases[] = {
        {100, 50, 200, 100, true, true}, {100, 50, 200, 100, false, false}, {100, 50, 50, 25, true, false},
        {200, 50, 400, 40, true, true},  {200, 50, 200, 50, true, false},
    };
    for (const auto& c : cases) {
        const Bitmap image = Gradient(c.width, c.height);
        const Bitmap expected = Resized(image, c.newWidth, c.newHeight, c.mean);
        OpenDialog(c.width, c.height);
        ResizeForm->InterpolationCheckBox->setChecked(c.interpolation);
        WidthBar()->SetPosition(c.newWidth);
        HeightBar()->SetPosition(c.newHeight);
        ResizeForm->OKButton->click();
        EXPECT_TRUE(ResizeForm->isHidden());
        EXPECT_TRUE(ImageBitmap.SamePixels(expected)) << c.width << "x" << c.height << " to " << c.newWidth;
        EXPECT_TRUE(UndoBitmap.SamePixels(image));
        EXPECT_EQ(Selection, (TRect{0, 0, c.newWidth - 1, c.newHeight - 1}));
        EXPECT_EQ(ClientSize(), QSize(std::max(260, c.newWidth), c.newHeight));
    }
    EXPECT_TRUE(services.shown.empty());
}

}  // namespace
}  // namespace quorvane::testing
