#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "main_form_fixture.h"

namespace quorvane::testing {
namespace {

QRgb Rgb(int red, int green, int blue) { return qRgb(red, green, blue); }

int WhitePixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == qRgb(255, 255, 255);
    return count;
}

Bitmap Plain(int width, int height, TColor colour) {
    Bitmap bitmap(width, height);
    bitmap.Fill(colour);
    return bitmap;
}

TEST_F(MainFormTest, StartsEmptyWithTheDocumentItemsDisabled) {
    EXPECT_EQ(ClientSize(), QSize(260, 0));
    EXPECT_EQ(form->windowTitle(), "Quorvane");
    for (const char* item : {"SaveasMenu", "SaveMenu", "PrintMenu", "FiltersMenu", "DeformMenu", "CopyMenu",
                             "SelectallMenu", "UndoMenu"})
        EXPECT_FALSE(Enabled(item)) << item;
    for (const char* item : {"OpenMenu", "ExitMenu", "PasteMenu", "WebcameraMenu", "ScanMenu", "AboutMenu"})
        EXPECT_TRUE(Enabled(item)) << item;
}

TEST_F(MainFormTest, MenuBarCaptionsShortCutsAndPictures) {
    QStringList menus;
    for (QAction* action : form->menuBar()->actions()) menus << action->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "F&ilters", "&Deform", "&Sources", "&Help"}));

    struct Item {
        const char* name;
        const char* caption;
        const char* shortCut;
        bool picture;
    };
    const Item items[] = {
        {"OpenMenu", "&Open", "Ctrl+O", true},       {"SaveasMenu", "&Save as", "", true},
        {"SaveMenu", "&Save", "Ctrl+S", false},      {"PrintMenu", "&Print", "", true},
        {"ExitMenu", "&Exit", "", true},             {"UndoMenu", "&Undo", "Ctrl+Z", true},
        {"CopyMenu", "&Copy", "Ctrl+C", true},       {"PasteMenu", "&Paste", "Ctrl+V", true},
        {"SelectallMenu", "&Select all", "Ctrl+A", false},
        {"StatisticsMenu", "&Statistics", "", true}, {"ZoomMenu", "&Zoom", "", true},
        {"RetouchMenu", "&Retouch", "", true},       {"WebcameraMenu", "&Webcam", "", true},
        {"ScanMenu", "&Scanner / digital camera", "", true}, {"AboutMenu", "&About", "", true},
        {"Early20thCenturyMenu", "&Early 20:th century", "", false}, {"Rotate1", "R&otate", "", false},
    };
    for (const Item& item : items) {
        QAction* action = form->MenuItem(item.name);
        EXPECT_EQ(action->text(), item.caption) << item.name;
        EXPECT_EQ(action->shortcut().toString(), item.shortCut) << item.name;
        EXPECT_EQ(!action->icon().isNull(), item.picture) << item.name;
        if (item.picture) {
            const QImage picture = action->icon().pixmap(16, 16).toImage();
            int drawn = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) drawn += picture.pixelColor(x, y).alpha() > 0;
            EXPECT_GT(drawn, 20) << item.name << " has an empty picture";
        }
    }
}

TEST_F(MainFormTest, ClientAreaFitsTheImageAndIsAtLeast260Wide) {
    Open(WriteImage("small.bmp", Plain(100, 80, RGB(10, 20, 30))));
    EXPECT_EQ(ClientSize(), QSize(260, 80));
    EXPECT_EQ(Client().pixel(50, 50), Rgb(10, 20, 30));
    EXPECT_EQ(Client().pixel(200, 50), Rgb(128, 128, 128));

    Open(WriteImage("large.bmp", Gradient(640, 480)));
    EXPECT_EQ(ClientSize(), QSize(640, 480));
    EXPECT_EQ(Client().pixel(300, 200), Rgb(300 % 256, 200, (300 + 200) % 97));
    EXPECT_EQ(form->windowTitle(), QString::fromStdString("Quorvane - " + (folder / "large.bmp").string()));
}

TEST_F(MainFormTest, FrameAndSizeTextsAreDrawnOnTheScreenOnly) {
    Open(WriteImage("dark.bmp", Plain(300, 200, RGB(0, 0, 90))));
    Selection = TRect{20, 60, 180, 120};
    form->ReDraw();
    const QImage client = Client();
    // Three black pixels across each edge, under a yellow dotted line.
    for (int dy : {-1, 1}) EXPECT_EQ(client.pixel(150, 60 + dy), Rgb(0, 0, 0));
    EXPECT_EQ(client.pixel(20 - 1, 90), Rgb(0, 0, 0));
    EXPECT_EQ(client.pixel(180 + 1, 90), Rgb(0, 0, 0));
    int yellow = 0;
    for (int x = 40; x < 100; ++x) yellow += client.pixel(x, 120) == Rgb(255, 255, 0);
    EXPECT_GT(yellow, 10);
    EXPECT_LT(yellow, 50);
    EXPECT_EQ(client.pixel(100, 90), Rgb(0, 0, 90));
    EXPECT_EQ(client.pixel(150, 58), Rgb(0, 0, 90));
    // "Selection width: 161" at (10, 10) and "height: 61" at (10, 25), white.
    EXPECT_GT(WhitePixels(client, QRect(10, 10, 120, 12)), 40);
    EXPECT_GT(WhitePixels(client, QRect(60, 25, 60, 12)), 15);
    EXPECT_EQ(WhitePixels(client, QRect(10, 25, 40, 12)), 0);  // the blanks before "height"
    EXPECT_EQ(ImageBitmap.Pixel(150, 60), RGB(0, 0, 90));
}

TEST_F(MainFormTest, DraggingSelectsAndShowsTheCaptionWhilePressed) {
    Open(WriteImage("a.bmp", Gradient(300, 200)));
    Canvas* canvas = form->ClientArea();
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(form->windowTitle(), "Release mouse button to end selection!");
    EXPECT_EQ(Client().pixel(25, 30), Rgb(255, 255, 255));  // the press marker
    EXPECT_EQ(Client().pixel(20, 38), Rgb(255, 255, 255));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(120, 90));
    EXPECT_EQ(Selection, (TRect{20, 30, 120, 90}));
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(form->windowTitle(), QString::fromStdString("Quorvane - " + CurrentFileName));

    // Released outside the window: the selection reaches past the image.
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(250, 150));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(400, 260));
    EXPECT_EQ(Selection, (TRect{250, 150, 400, 260}));
}

TEST_F(MainFormTest, AnEmptyOrBackwardDragSelectsAll) {
    Open(WriteImage("a.bmp", Gradient(300, 200)));
    Canvas* canvas = form->ClientArea();
    const QPoint drags[][2] = {{{120, 90}, {20, 30}}, {{50, 50}, {50, 50}}, {{50, 50}, {50, 80}}};
    for (const auto& drag : drags) {
        Selection = TRect{1, 2, 3, 4};
        services.shown.clear();
        QTest::mousePress(canvas, Qt::LeftButton, {}, drag[0]);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, drag[1]);
        EXPECT_EQ(services.shown, std::vector<std::string>{"message: Nothing selected.\r\nSelecting all."});
        EXPECT_EQ(Selection, (TRect{0, 0, 299, 199}));
    }
}

TEST_F(MainFormTest, ARightClickLeavesTheSelection) {
    Open(WriteImage("a.bmp", Gradient(300, 200)));
    Selection = TRect{20, 30, 120, 90};
    QTest::mousePress(form->ClientArea(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(form->windowTitle(), "Release mouse button to end selection!");
    QTest::mouseRelease(form->ClientArea(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(Selection, (TRect{20, 30, 120, 90}));
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(MainFormTest, CommandLineArgument) {
    const std::string path = WriteImage("start.bmp", Gradient(320, 240));
    TMainForm opened;
    opened.FormCreate({"quorvane", path, "ignored"});
    EXPECT_EQ(CurrentFileName, path);
    EXPECT_EQ(opened.ClientArea()->size(), QSize(320, 240));

    TMainForm missing;
    missing.FormCreate({"quorvane", "/no/such/picture.bmp"});
    EXPECT_EQ(services.shown, std::vector<std::string>{"message: /no/such/picture.bmp does not exist."});
    EXPECT_EQ(missing.ClientArea()->size(), QSize(260, 0));
    EXPECT_TRUE(CurrentFileName.empty());
}

}  // namespace
}  // namespace quorvane::testing
