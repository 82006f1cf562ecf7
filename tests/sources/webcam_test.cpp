#include "sources/webcam.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "app/exchange_file.h"
#include "capture_doubles.h"
#include "gui/main_form_fixture.h"
#include "sources/video_control_widget.h"

namespace quorvane {
namespace {

using testing::Camera;
using testing::InstalledFakeCameras;

class WebcamTest : public testing::MainFormTest {
protected:
    void SetUp() override {
        cameras.devices.Plug(0, Camera("Desk camera"));
        cameras.devices.Plug(2, Camera("Door camera", 32, 24));
        FakeCamera refusing = Camera("Broken camera");
        refusing.refusesConnect = true;
        cameras.devices.Plug(3, refusing);
        MainFormTest::SetUp();
        VideoForm = new TVideoForm(form.get());
    }
    void TearDown() override {
        MainFormTest::TearDown();
        EXPECT_EQ(VideoForm, nullptr);
        EXPECT_EQ(cameras.devices.OpenSources(), 0);
    }

    // The user picks list entry `index`.
    void Choose(int index) {
        VideoForm->DriversComboBox->setCurrentIndex(index);
        emit VideoForm->DriversComboBox->activated(index);
    }
    TVideo& Video() { return *VideoForm->VideoSource; }
    bool WebcamChecked() { return form->MenuItem("WebcameraMenu")->isChecked(); }

    InstalledFakeCameras cameras;
};

TEST_F(WebcamTest, IsLaidOutAndLoadedAsStored) {
    TVideoForm& dialog = *VideoForm;
    EXPECT_TRUE(dialog.isHidden());
    EXPECT_EQ(dialog.windowTitle(), "Video");
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dialog.windowType(), Qt::Tool);
    EXPECT_EQ(dialog.size(), QSize(320, 293));
    EXPECT_EQ(dialog.VideoSourceWindow->geometry(), QRect(0, 0, 320, 240));
    EXPECT_EQ(dialog.DriversComboBox->geometry().topLeft(), QPoint(8, 256));
    EXPECT_EQ(dialog.DriversComboBox->width(), 145);
    EXPECT_EQ(dialog.SnapshotButton->geometry(), QRect(160, 256, 75, 25));
    EXPECT_EQ(dialog.OkButton->geometry(), QRect(240, 256, 75, 25));
    EXPECT_EQ(dialog.SnapshotButton->text(), "&Snapshot");
    EXPECT_EQ(dialog.SnapshotButton->toolTip(), "Snapshot");
    EXPECT_EQ(dialog.OkButton->text(), "&Ok");
    EXPECT_EQ(dialog.OkButton->toolTip(), "OK");
    EXPECT_FALSE(dialog.SnapshotButton->isEnabled());
    EXPECT_TRUE(dialog.DriversComboBox->isEditable());
    EXPECT_EQ(dialog.DriversComboBox->currentText(), "Chose driver");
    EXPECT_EQ(dialog.DriversComboBox->currentIndex(), -1);
    ASSERT_EQ(dialog.DriversComboBox->count(), 10);
    EXPECT_EQ(dialog.DriversComboBox->itemText(0), "Desk camera fake 1.2.3");
    EXPECT_EQ(dialog.DriversComboBox->itemText(1), "");
    EXPECT_EQ(dialog.DriversComboBox->itemText(2), "Door camera fake 1.2.3");
    EXPECT_EQ(Video().DriverIndex(), -1);
    EXPECT_FALSE(Video().DriverOpen());
    EXPECT_TRUE(Video().PreviewScaleToWindow());
    EXPECT_TRUE(Video().PreviewScaleProportional());
    EXPECT_EQ(Video().PreviewRate(), 30);
    EXPECT_EQ(cameras.devices.OpenCount(), 0);
}

TEST_F(WebcamTest, ChoosingACameraPreviewsItScaledIntoTheArea) {
    Choose(0);
    EXPECT_TRUE(services.shown.empty());
    ASSERT_TRUE(Video().VideoPreview());
    EXPECT_TRUE(VideoForm->SnapshotButton->isEnabled());
    const HWND window = Video().CaptureWindow();
    EXPECT_EQ(window->Width(), 320);
    EXPECT_EQ(window->Height(), 240);
    EXPECT_EQ(window->PreviewPeriod(), 33);
    QTest::qWait(120);
    ASSERT_FALSE(window->Frame().Empty());
    const QImage shown = VideoForm->VideoSourceWindow->grab().toImage();
    // The frame's blue is x mod 256: halfway across the area it is about 160.
    EXPECT_NEAR(qBlue(shown.pixel(80, 120)), 160, 3);
    EXPECT_NEAR(qGreen(shown.pixel(80, 120)), 240, 3);
}

TEST_F(WebcamTest, TheSameEntryKeepsThePreviewAndAnotherReplacesIt) {
    Choose(0);
    Choose(0);
    EXPECT_EQ(cameras.devices.OpenCount(), 1);
    EXPECT_TRUE(Video().VideoPreview());
    Choose(2);
    EXPECT_EQ(cameras.devices.OpenCount(), 2);
    EXPECT_EQ(cameras.devices.OpenSources(), 1);
    EXPECT_EQ(Video().DriverName(), "Door camera");
    EXPECT_TRUE(Video().VideoPreview());
}

TEST_F(WebcamTest, FailedChoicesShowTheirMessageAndKeepTheSnapshotButton) {
    const struct {
        int entry;
        const char* error;
    } failures[] = {
        {1, "error: No capture driver selected."},
        {3, "error: Can not connect capture driver with capture window."},
        {-1, "error: No capture driver selected."},
    };
    for (const auto& failure : failures) {
        services.shown.clear();
        Choose(failure.entry);
        EXPECT_EQ(services.shown, std::vector<std::string>{failure.error}) << failure.entry;
        EXPECT_FALSE(VideoForm->SnapshotButton->isEnabled());
        EXPECT_FALSE(Video().DriverOpen());
    }
    Choose(0);
    services.shown.clear();
    Choose(3);
    EXPECT_EQ(services.shown, std::vector<std::string>{failures[1].error});
    EXPECT_TRUE(VideoForm->SnapshotButton->isEnabled());
    EXPECT_EQ(cameras.devices.OpenSources(), 0);
}

TEST_F(WebcamTest, ASnapshotMakesTheFrameTheDocument) {
    Open(WriteImage("before.bmp", testing::Gradient(20, 10)));
    const std::string fileName = CurrentFileName;
    UpdateUndo();
    SetMenuEnabled(DocumentMenu::UndoMenu, true);
    Choose(0);
    QTest::qWait(50);
    VideoForm->SnapshotButton->click();
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(services.beeps, 1);
    ASSERT_EQ(ImageBitmap.Width(), 640);
    ASSERT_EQ(ImageBitmap.Height(), 480);
    const int frameNumber = static_cast<int>(ImageBitmap.Pixel(0, 0) & 0xff);
    EXPECT_TRUE(ImageBitmap.SamePixels(FakeFrame(640, 480, frameNumber)));
    EXPECT_EQ(Selection, (TRect{0, 0, 639, 479}));
    EXPECT_FALSE(Enabled("UndoMenu"));
    EXPECT_TRUE(Enabled("SaveMenu"));
    EXPECT_EQ(UndoBitmap.Width(), 20);
    EXPECT_EQ(CurrentFileName, fileName);
    EXPECT_FALSE(std::filesystem::exists(ExchangeFileName()));
    EXPECT_EQ(ClientSize(), QSize(640, 480));
}

TEST_F(WebcamTest, ASnapshotFromAnUnpluggedCameraReportsTheReadError) {
    Open(WriteImage("before.bmp", testing::Gradient(20, 10)));
    Choose(0);
    cameras.devices.Unplug(0);
    VideoForm->SnapshotButton->click();
    EXPECT_EQ(services.beeps, 0);
    ASSERT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(services.shown[0].rfind("error: ", 0), 0u) << services.shown[0];
    EXPECT_EQ(ImageBitmap.Width(), 20);
    EXPECT_FALSE(Video().DriverOpen());
    EXPECT_FALSE(std::filesystem::exists(ExchangeFileName()));
}

TEST_F(WebcamTest, AnUnpluggedCameraEndsThePreviewAndCanBeChosenAgain) {
    Choose(0);
    QTest::qWait(50);
    cameras.devices.Unplug(0);
    QTest::qWait(100);
    EXPECT_FALSE(Video().DriverOpen());
    EXPECT_TRUE(services.shown.empty());
    Choose(0);
    EXPECT_EQ(services.shown, std::vector<std::string>{"error: Can not connect capture driver with capture window."});
    cameras.devices.Plug(0, Camera("Desk camera"));
    Choose(0);
    EXPECT_TRUE(Video().VideoPreview());
    EXPECT_EQ(cameras.devices.OpenSources(), 1);
}

TEST_F(WebcamTest, TheMenuCheckMarkFollowsTheDialog) {
    form->MenuItem("WebcameraMenu")->trigger();
    EXPECT_TRUE(VideoForm->isVisible());
    EXPECT_TRUE(WebcamChecked());
    Choose(0);
    VideoForm->OkButton->click();
    EXPECT_TRUE(VideoForm->isHidden());
    EXPECT_FALSE(WebcamChecked());
    EXPECT_TRUE(Video().VideoPreview());
    form->MenuItem("WebcameraMenu")->trigger();
    form->MenuItem("WebcameraMenu")->trigger();
    EXPECT_TRUE(VideoForm->isVisible());
    EXPECT_TRUE(WebcamChecked());
    VideoForm->close();
    EXPECT_TRUE(VideoForm->isHidden());
    EXPECT_FALSE(WebcamChecked());
    EXPECT_EQ(cameras.devices.OpenCount(), 1);
}

}  // namespace
}  // namespace quorvane
