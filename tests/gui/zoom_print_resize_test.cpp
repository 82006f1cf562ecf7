#include <QAction>
#include <QImage>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>

#include "app/print_form.h"
#include "app/zoom_form.h"
#include "main_form_fixture.h"

namespace quorvane::testing {
namespace {

class SecondaryFormsTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        ZoomForm = new TZoomForm(form.get());
        PrintForm = new TPrintForm(form.get());
    }
    void TearDown() override {
        MainFormTest::TearDown();
        ZoomForm = nullptr;
        PrintForm = nullptr;
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

}  // namespace
}  // namespace quorvane::testing
