#include <gtest/gtest.h>

#include <QAction>
#include <cstdlib>

#include "gui/main_form_fixture.h"
#include "platform/dynamic_library.h"
#include "platform/message_queue.h"
#include "sources/multitwain_inner.h"
#include "sources/twain_fake_dsm.h"

namespace quorvane::testing {
namespace {

const char* const ImageMenus[] = {"SaveasMenu", "PrintMenu",  "FiltersMenu",
                                  "DeformMenu", "CopyMenu",   "SelectallMenu"};

class ScanCommandTest : public MainFormTest {
protected:
    void SetUp() override {
        ::setenv(SourceManagerFolderVariable, FAKE_DSM_DIR, 1);
        FakeDsmScript() = FakeScript{};
        FakeDsmScript().closeAfterBatches = false;
        ThePlainMessageQueue().Clear();
        MainFormTest::SetUp();
        blocksBefore = LiveBlockCount();
    }
    void TearDown() override {
        MainFormTest::TearDown();
        Twain() = TwainConnection{.application = DefaultApplicationIdentity()};
        EXPECT_EQ(LiveBlockCount(), blocksBefore) << "scanned images leaked";
        ::unsetenv(SourceManagerFolderVariable);
    }
    void Scan() { form->MenuItem("ScanMenu")->trigger(); }
    // A page of the fake is grey in the level of its number: batch x 16 + page + 1.
    static FakeTransfer Page(int width, int height) { return {TWRC_XFERDONE, width, height}; }
    void ExpectDocumentIs(int width, int height, int level) {
        ASSERT_EQ(ImageBitmap.Width(), width);
        ASSERT_EQ(ImageBitmap.Height(), height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) ASSERT_EQ(ImageBitmap.Pixel(x, y), RGB(level, level, level));
        EXPECT_EQ(Selection, (TRect{0, 0, width - 1, height - 1}));
    }

    std::size_t blocksBefore = 0;
};

TEST_F(ScanCommandTest, WithoutSourceManagerBothStepsSaySoAndNothingChanges) {
    ::setenv(SourceManagerFolderVariable, "/nonexistent-folder", 1);
    Open(WriteImage("before.bmp", Gradient(5, 4)));
    UndoBitmap.SetSize(1, 1);
    Scan();
    const std::string loadFailed = "message: Unable to load Source Manager (TWAIN_32.DLL)";
    EXPECT_EQ(services.shown, (std::vector<std::string>{loadFailed, loadFailed}));
    EXPECT_EQ(ImageBitmap.Width(), 5);
    EXPECT_EQ(UndoBitmap.Width(), 1);
}

TEST_F(ScanCommandTest, ClosingTheSourceWithoutScanningChangesNothing) {
    FakeDsmScript().closeAfterBatches = true;
    Scan();
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(ImageBitmap.Width(), 0);
    for (const char* item : ImageMenus) EXPECT_FALSE(Enabled(item)) << item;
}

TEST_F(ScanCommandTest, FeederBatchGivesItsFirstPageWithOneUndoStep) {
    Open(WriteImage("before.bmp", Gradient(5, 4)));
    FakeDsmScript().batches = {{Page(3, 2), Page(7, 7), Page(1, 1)}};
    Scan();
    ExpectDocumentIs(3, 2, 1);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(CurrentFileName, (folder / "before.bmp").string());
    EXPECT_EQ(form->ScannedImage.Width, 25);
    form->UndoMenuClick(nullptr);
    EXPECT_EQ(ImageBitmap.Width(), 5);
    EXPECT_EQ(ImageBitmap.Pixel(4, 3), Gradient(5, 4).Pixel(4, 3));
}

TEST_F(ScanCommandTest, NoSecondScanCanStartWhileTheSourceIsUp) {
    static TMainForm* scanning = nullptr;
    static bool enabledDuringScan = true;
    scanning = form.get();
    TWAIN_SetImageNotification([](BlockHandle, int) { enabledDuringScan = scanning->MenuItem("ScanMenu")->isEnabled(); });
    FakeDsmScript().batches = {{Page(2, 2)}};
    Scan();
    TWAIN_SetImageNotification(nullptr);
    EXPECT_FALSE(enabledDuringScan);
    EXPECT_TRUE(Enabled("ScanMenu"));
}

TEST_F(ScanCommandTest, ScanIntoAnEmptyWindowEnablesTheImageMenusButNotSave) {
    FakeDsmScript().userSelectCancels = true;
    FakeDsmScript().batches = {{Page(4, 3)}};
    Scan();
    ExpectDocumentIs(4, 3, 1);
    for (const char* item : ImageMenus) EXPECT_TRUE(Enabled(item)) << item;
    EXPECT_FALSE(Enabled("SaveMenu"));
}

TEST_F(ScanCommandTest, EachScanGivesTheDocumentTheSizeOfItsImage) {
    for (const auto& [width, height] : {std::pair{6, 2}, std::pair{2, 5}}) {
        FakeDsmScript().batches = {{Page(width, height)}};
        FakeDsmScript().batch = 0;
        Scan();
        ExpectDocumentIs(width, height, 1);
    }
}

}  // namespace
}  // namespace quorvane::testing
