#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <fstream>

#include "main_form_fixture.h"
#include "platform/qt/qt_services.h"

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(MainFormTest, OpenThroughTheDialog) {
    services.fileNames = {std::nullopt};
    form->OpenMenuClick(nullptr);
    EXPECT_TRUE(ImageBitmap.Empty());
    EXPECT_EQ(services.dialogRequests.at(0).filter, "Images|*.bmp;*.jpg;*.jpeg");

    const std::string path = WriteImage("chosen.bmp", Gradient(40, 30));
    services.fileNames = {path};
    form->OpenMenuClick(nullptr);
    EXPECT_EQ(CurrentFileName, path);
    EXPECT_TRUE(ImageBitmap.SamePixels(Gradient(40, 30)));
    EXPECT_TRUE(Enabled("SaveMenu"));
    EXPECT_TRUE(Enabled("FiltersMenu"));

    // A refused file keeps its path in the caption, the document stays.
    services.fileNames = {(folder / "picture.jpeg").string()};
    form->OpenMenuClick(nullptr);
    EXPECT_EQ(services.shown.back(), "message: You must specify a BMP or JPG file.");
    EXPECT_EQ(CurrentFileName, (folder / "picture.jpeg").string());
    EXPECT_TRUE(ImageBitmap.SamePixels(Gradient(40, 30)));
}

TEST_F(MainFormTest, SaveAsAsksBeforeOverwriting) {
    Open(WriteImage("doc.bmp", Gradient(30, 20)));
    const std::string target = WriteImage("existing.bmp", Gradient(5, 5));
    const auto before = fs::file_size(target);

    services.fileNames = {target};
    services.answers = {false};
    form->SaveasMenuClick(nullptr);
    EXPECT_EQ(services.shown.back(), "confirm: File exists. Overwrite?");
    EXPECT_EQ(fs::file_size(target), before);
    EXPECT_EQ(CurrentFileName, (folder / "doc.bmp").string());
    EXPECT_EQ(services.dialogRequests.back().defaultExtension, "bmp");

    services.fileNames = {target};
    services.answers = {true};
    form->SaveasMenuClick(nullptr);
    EXPECT_TRUE(ReadBmpFile(target).SamePixels(Gradient(30, 20)));
    EXPECT_EQ(form->windowTitle(), QString::fromStdString("Quorvane - " + target));

    const std::string fresh = (folder / "fresh.bmp").string();
    services.fileNames = {fresh};
    form->SaveasMenuClick(nullptr);  // no question for a new file
    EXPECT_TRUE(fs::exists(fresh));
}

TEST_F(MainFormTest, UndoRestoresOnceAndCopyPasteRoundTrips) {
    Open(WriteImage("doc.bmp", Gradient(200, 150)));
    UpdateUndo();
    ImageBitmap.Fill(RGB(1, 1, 1));
    form->UndoMenuClick(nullptr);
    EXPECT_TRUE(ImageBitmap.SamePixels(Gradient(200, 150)));
    EXPECT_FALSE(Enabled("UndoMenu"));

    Selection = TRect{20, 30, 120, 90};
    form->CopyMenuClick(nullptr);
    ASSERT_TRUE(services.clipboard.has_value());
    EXPECT_EQ(services.clipboard->Width(), 101);
    EXPECT_EQ(services.clipboard->Height(), 61);
    EXPECT_EQ(services.clipboard->Pixel(0, 0), ImageBitmap.Pixel(20, 30));
    EXPECT_FALSE(WorkBitmap.HasPixels());
    EXPECT_EQ(Selection, (TRect{20, 30, 120, 90}));

    form->PasteMenuClick(nullptr);
    EXPECT_EQ(ImageBitmap.Width(), 101);
    EXPECT_EQ(Selection, (TRect{0, 0, 100, 60}));
    EXPECT_TRUE(CurrentFileName.empty());
    EXPECT_EQ(form->windowTitle(), "Quorvane");

    // Save after a paste has no file name to write to.
    form->SaveMenuClick(nullptr);
    EXPECT_EQ(services.shown.back(), "message: You must specify a .BMP or .JPG file.\r\nexample: MyPic.bmp");
}

TEST_F(MainFormTest, PasteWithoutAPictureChangesNothing) {
    form->PasteMenuClick(nullptr);
    EXPECT_EQ(services.shown, std::vector<std::string>{"message: No clipboard data available."});
    EXPECT_FALSE(Enabled("SaveasMenu"));
    EXPECT_EQ(ClientSize(), QSize(260, 0));
}

TEST_F(MainFormTest, TheSystemClipboardCarriesPicturesAndRefusesText) {
    InstallQtServices(form.get());
    ClipboardService* clipboard = TheServices().clipboard;
    TheServices().messages = &services;
    TheServices().fileDialogs = &services;
    TheServices().cursor = &services;
    TheServices().clipboard = clipboard;

    Open(WriteImage("doc.bmp", Gradient(50, 40)));
    Selection = TRect{5, 5, 24, 14};
    form->CopyMenuClick(nullptr);
    const QImage onClipboard = QApplication::clipboard()->image();
    EXPECT_EQ(onClipboard.size(), QSize(20, 10));
    EXPECT_EQ(onClipboard.pixel(0, 0), qRgb(5, 5, 10));

    form->PasteMenuClick(nullptr);
    EXPECT_EQ(ImageBitmap.Width(), 20);
    EXPECT_EQ(ImageBitmap.Pixel(3, 2), Gradient(50, 40).Pixel(8, 7));

    QApplication::clipboard()->setText("just words");
    form->PasteMenuClick(nullptr);
    EXPECT_EQ(services.shown.back(), "message: No clipboard data available.");
    EXPECT_EQ(ImageBitmap.Width(), 20);
}

TEST_F(MainFormTest, DroppedFilesOpenInTurnWithoutChangingTheCaption) {
    const std::string first = WriteImage("first.bmp", Gradient(30, 30));
    const std::string second = WriteImage("second.bmp", Gradient(60, 20));
    auto drop = [&](const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &dropped);
    };
    drop({QString::fromStdString(first), QString::fromStdString(second)});
    EXPECT_TRUE(ImageBitmap.SamePixels(Gradient(60, 20)));
    EXPECT_TRUE(CurrentFileName.empty());
    EXPECT_EQ(form->windowTitle(), "Quorvane");

    // A long path is taken whole; an unreadable file ends the drop.
    const fs::path deep = folder / std::string(200, 'd') / std::string(120, 'e');
    fs::create_directories(deep);
    const std::string longPath = WriteImage((fs::relative(deep, folder) / "long.bmp").string(), Gradient(12, 12));
    std::ofstream(folder / "broken.bmp") << "not a picture";
    drop({QString::fromStdString(longPath), QString::fromStdString((folder / "broken.bmp").string()),
          QString::fromStdString(first)});
    EXPECT_TRUE(ImageBitmap.SamePixels(Gradient(12, 12)));
    ASSERT_FALSE(services.shown.empty());
    EXPECT_EQ(services.shown.back().rfind("error: ", 0), 0u);
}

TEST_F(MainFormTest, ExitAsksFirst) {
    form->show();
    services.answers = {false};
    form->ExitMenuClick(nullptr);
    EXPECT_TRUE(form->isVisible());
    services.answers = {true};
    form->ExitMenuClick(nullptr);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(services.shown, (std::vector<std::string>{"confirm: Exit now?", "confirm: Exit now?"}));
}

TEST(QtNameFilters, ShowEachPatternOnce) {
    EXPECT_EQ(QtNameFilters("Images|*.bmp;*.jpg;*.jpeg"), QStringList{"Images (*.bmp *.jpg *.jpeg)"});
    EXPECT_EQ(QtNameFilters("Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg"), (QStringList{"Bitmap (*.bmp)", "JPEG (*.jpg)"}));
}

TEST_F(MainFormTest, AboutBoxShowsTheVersion) {
    form->AboutMenuClick(nullptr);
    ASSERT_TRUE(AboutBox->isVisible());
    EXPECT_EQ(AboutBox->windowTitle(), "About");
    auto* version = AboutBox->findChild<QLabel*>("Version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Version 3.2.4 Drag And Drop");
    AboutBox->BitBtn1Click(nullptr);
    EXPECT_FALSE(AboutBox->isVisible());
}

}  // namespace
}  // namespace quorvane::testing
