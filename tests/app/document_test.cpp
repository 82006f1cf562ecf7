#include "app/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/bmp.h"
#include "platform/error.h"
#include "support/scripted_services.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// Records the repaints and menu changes the document asks for.
class RecordingView final : public DocumentView {
public:
    RecordingView() { SetDocumentView(this); }
    ~RecordingView() override { SetDocumentView(nullptr); }
    void ReDraw() override { ++repaints; }
    void MenuEnabledChanged(DocumentMenu item, bool enabled) override { changes.push_back({item, enabled}); }

    int repaints = 0;
    std::vector<std::pair<DocumentMenu, bool>> changes;
};

Bitmap Numbered(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB(x * 10, y * 10, 200));
    return bitmap;
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        folder = fs::temp_directory_path() / ("quorvane-document-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string WriteBmp(const std::string& name, const Bitmap& picture) {
        const std::string path = (folder / name).string();
        WriteBmpFile(picture, path);
        return path;
    }

    testing::ScriptedServices services;
    RecordingView view;
    fs::path folder;
};

TEST_F(DocumentTest, SelectAllAndEmptySelections) {
    ImageBitmap.SetSize(640, 480);
    SelectAll();
    EXPECT_EQ(Selection, (TRect{0, 0, 639, 479}));
    ImageBitmap = Bitmap();
    SelectAll();
    EXPECT_EQ(Selection, (TRect{0, 0, -1, -1}));

    struct Case {
        TRect selection;
        bool empty;
    };
    const Case cases[] = {
        {{20, 30, 120, 90}, false}, {{0, 0, 1, 1}, false},        {{5, 5, 5, 50}, true},
        {{5, 5, 50, 5}, true},      {{120, 90, 20, 30}, true},     {{5, 5, 6, 5}, true},
        {{-10, -10, 3, 3}, false},  {{INT32_MIN, 0, INT32_MAX, 9}, false},
    };
    for (const Case& c : cases) {
        Selection = c.selection;
        EXPECT_EQ(IsSelectionEmpty(), c.empty) << c.selection.Left << "," << c.selection.Top;
    }
}

TEST_F(DocumentTest, ReDrawNormalisesAReversedSelection) {
    Selection = TRect{120, 90, 20, 30};
    ReDraw();
    EXPECT_EQ(Selection, (TRect{20, 30, 120, 90}));
    EXPECT_EQ(view.repaints, 1);
}

TEST_F(DocumentTest, SelectionCopyReachesPastTheImageAndWritesBackClipped) {
    ImageBitmap = Numbered(4, 3);
    Selection = TRect{2, 1, 5, 3};  // two columns and one row outside
    CopySelectionToWork();
    ASSERT_EQ(WorkBitmap.Width(), 4);
    ASSERT_EQ(WorkBitmap.Height(), 3);
    EXPECT_EQ(WorkBitmap.Pixel(0, 0), ImageBitmap.Pixel(2, 1));
    EXPECT_EQ(WorkBitmap.Pixel(1, 1), ImageBitmap.Pixel(3, 2));
    EXPECT_EQ(WorkBitmap.Pixel(2, 0), OutsideImageColour);
    EXPECT_EQ(WorkBitmap.Pixel(0, 2), OutsideImageColour);

    WorkBitmap.Fill(RGB(1, 2, 3));
    WriteWorkToSelection();
    EXPECT_EQ(ImageBitmap.Pixel(2, 1), RGB(1, 2, 3));
    EXPECT_EQ(ImageBitmap.Pixel(3, 2), RGB(1, 2, 3));
    EXPECT_EQ(ImageBitmap.Pixel(1, 1), RGB(10, 10, 200));
    EXPECT_EQ(ImageBitmap.Width(), 4);
}

TEST_F(DocumentTest, UndoSnapshotSurvivesRestoreAndTogglesTheItem) {
    ImageBitmap = Numbered(5, 4);
    Selection = TRect{1, 1, 2, 2};
    UpdateUndo();
    EXPECT_TRUE(IsMenuEnabled(DocumentMenu::UndoMenu));
    ImageBitmap = Numbered(2, 2);
    RestoreUndo();
    EXPECT_TRUE(ImageBitmap.SamePixels(Numbered(5, 4)));
    EXPECT_TRUE(UndoBitmap.SamePixels(Numbered(5, 4)));
    EXPECT_FALSE(IsMenuEnabled(DocumentMenu::UndoMenu));
    EXPECT_EQ(Selection, (TRect{0, 0, 4, 3}));
}

TEST_F(DocumentTest, OpenChoosesTheReaderBySubstringOfTheUpperCasedPath) {
    const Bitmap picture = Numbered(3, 2);
    struct Case {
        std::string name;
        bool opens;
    };
    const Case cases[] = {
        {"plain.bmp", true}, {"UPPER.BMP", true}, {"photo.bmp.backup", true},
        {"picture.jpeg", false}, {"notes.txt", false},
    };
    for (const Case& c : cases) {
        ResetDocument();
        services.shown.clear();
        const std::string path = WriteBmp(c.name + ".tmp", picture);
        fs::rename(path, folder / c.name);
        EXPECT_EQ(OpenFile((folder / c.name).string()), c.opens) << c.name;
        if (c.opens) {
            EXPECT_TRUE(ImageBitmap.SamePixels(picture)) << c.name;
            EXPECT_TRUE(services.shown.empty());
        } else {
            EXPECT_TRUE(ImageBitmap.Empty()) << c.name;
            EXPECT_EQ(services.shown, std::vector<std::string>{"message: You must specify a BMP or JPG file."});
        }
    }
}

TEST_F(DocumentTest, OpenEnablesTheImageItemsInOrderAndKeepsUndo) {
    const std::string path = WriteBmp("a.bmp", Numbered(6, 5));
    ASSERT_TRUE(OpenFile(path));
    using M = DocumentMenu;
    const std::vector<std::pair<DocumentMenu, bool>> expected = {
        {M::SaveasMenu, true}, {M::SaveMenu, true},   {M::PrintMenu, true},     {M::FiltersMenu, true},
        {M::DeformMenu, true}, {M::CopyMenu, true},   {M::SelectallMenu, true},
    };
    // ResetDocument's own changes come first.
    ASSERT_GE(view.changes.size(), expected.size());
    EXPECT_EQ(std::vector(view.changes.end() - static_cast<long>(expected.size()), view.changes.end()), expected);
    EXPECT_EQ(Selection, (TRect{0, 0, 5, 4}));
    EXPECT_FALSE(IsMenuEnabled(DocumentMenu::UndoMenu));
    EXPECT_GE(view.repaints, 1);
}

TEST_F(DocumentTest, PasteEnablesEverythingButSave) {
    EnableImageMenus(false);
    EXPECT_TRUE(IsMenuEnabled(DocumentMenu::SaveasMenu));
    EXPECT_FALSE(IsMenuEnabled(DocumentMenu::SaveMenu));
    EXPECT_TRUE(IsMenuEnabled(DocumentMenu::SelectallMenu));
}

TEST_F(DocumentTest, AFileThatCannotBeReadLeavesTheDocumentAsItWas) {
    ImageBitmap = Numbered(3, 3);
    Selection = TRect{0, 0, 1, 1};
    const fs::path broken = folder / "broken.bmp";
    std::ofstream(broken) << "BM this is not a bitmap";
    EXPECT_THROW(OpenFile(broken.string()), Error);
    EXPECT_THROW(OpenFile((folder / "missing.bmp").string()), Error);
    EXPECT_TRUE(ImageBitmap.SamePixels(Numbered(3, 3)));
    EXPECT_EQ(Selection, (TRect{0, 0, 1, 1}));
    EXPECT_FALSE(IsMenuEnabled(DocumentMenu::SaveMenu));
}

TEST_F(DocumentTest, SaveRefusesOtherNamesAndEnablesSaveAfterWriting) {
    ImageBitmap = Numbered(7, 3);
    EXPECT_FALSE(SaveImageFile((folder / "out.png").string()));
    EXPECT_FALSE(SaveImageFile(""));
    EXPECT_EQ(services.shown.size(), 2u);
    EXPECT_EQ(services.shown[0], "message: You must specify a .BMP or .JPG file.\r\nexample: MyPic.bmp");
    EXPECT_FALSE(fs::exists(folder / "out.png"));
    EXPECT_FALSE(IsMenuEnabled(DocumentMenu::SaveMenu));

    const std::string path = (folder / "out.BMP").string();
    EXPECT_TRUE(SaveImageFile(path));
    EXPECT_TRUE(IsMenuEnabled(DocumentMenu::SaveMenu));
    EXPECT_TRUE(ReadBmpFile(path).SamePixels(ImageBitmap));
}

TEST_F(DocumentTest, AFailedSaveKeepsTheExistingFile) {
    ImageBitmap = Numbered(7, 3);
    const std::string path = WriteBmp("keep.bmp", Numbered(2, 2));
    const auto before = fs::file_size(path);
    ImageBitmap = Bitmap();  // nothing to encode as JPEG
    const std::string jpegPath = (folder / "keep.jpg").string();
    fs::copy_file(path, jpegPath);
    EXPECT_THROW(SaveImageFile(jpegPath), Error);
    EXPECT_EQ(fs::file_size(jpegPath), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST(UpperCase, ChangesOnlyAsciiLetters) { EXPECT_EQ(UpperCase("a.bmp/ÄÖ.jpg"), "A.BMP/ÄÖ.JPG"); }

}  // namespace
}  // namespace quorvane
