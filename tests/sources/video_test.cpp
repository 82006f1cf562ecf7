#include "sources/video.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "capture_doubles.h"
#include "platform/bmp.h"

namespace quorvane {
namespace {

using testing::Camera;
using testing::InstalledFakeCameras;
using testing::RecordingControlWindow;

class VideoTest : public ::testing::Test {
protected:
    void SetUp() override {
        cameras.devices.Plug(0, Camera("Desk camera"));
        cameras.devices.Plug(2, Camera("Door camera", 32, 24));
        video.SetOnStatus([this](TVideo*) { ++statusNotifications; });
    }

    // Index 0, shown in a 320 x 240 control scaled proportionally, previewing.
    void StartPreview() {
        control.SetSize(320, 240);
        video.SetPreviewScaleToWindow(true);
        video.SetPreviewScaleProportional(true);
        video.SetDriverIndex(0);
        video.SetVideoPreview(true);
    }

    template <typename Exception>
    void ExpectRaised(const std::function<void()>& step, const std::string& message) {
        try {
            step();
            ADD_FAILURE() << "nothing raised";
        } catch (const Exception& error) {
            EXPECT_EQ(error.what(), message);
        }
    }

    InstalledFakeCameras cameras;
    RecordingControlWindow control;
    TVideo video{control, "VideoSource"};
    int statusNotifications = 0;
};

TEST_F(VideoTest, StartsAsABlackControlWithNoDriver) {
    EXPECT_EQ(control.width, 100);
    EXPECT_EQ(control.height, 100);
    EXPECT_EQ(control.colour, RGB(0, 0, 0));
    EXPECT_EQ(video.DriverIndex(), -1);
    EXPECT_EQ(video.DriverName(), "");
    EXPECT_FALSE(video.DriverOpen());
    EXPECT_FALSE(video.VideoPreview());
    EXPECT_FALSE(video.VideoOverlay());
    EXPECT_EQ(video.PreviewRate(), 30);
    EXPECT_EQ(video.MicroSecPerFrame(), 66667u);
    EXPECT_EQ(video.FrameRate(), 15);
    EXPECT_EQ(video.VideoFileName(), "Video.avi");
    EXPECT_EQ(video.SingleImageFile(), "Capture.bmp");
    EXPECT_TRUE(video.CapToFile());
    EXPECT_EQ(video.CapIndexSize(), 0u);
    EXPECT_EQ(cameras.devices.OpenCount(), 0);
}

TEST_F(VideoTest, NumericPropertiesKeepTheirBounds) {
    const struct {
        std::uint16_t set;
        std::uint16_t stored;
    } rates[] = {{0, 1}, {45, 30}, {16, 16}, {30, 30}};
    for (const auto& rate : rates) {
        video.SetPreviewRate(rate.set);
        EXPECT_EQ(video.PreviewRate(), rate.stored) << rate.set;
    }
    const struct {
        std::uint32_t set;
        std::uint32_t stored;
    } periods[] = {{1000, 33333}, {50000, 50000}}, indexSizes[] = {{1, 1800}, {1000000, 324000}, {0, 0}, {5000, 5000}};
    for (const auto& period : periods) {
        video.SetMicroSecPerFrame(period.set);
        EXPECT_EQ(video.MicroSecPerFrame(), period.stored) << period.set;
    }
    for (const auto& size : indexSizes) {
        video.SetCapIndexSize(size.set);
        EXPECT_EQ(video.CapIndexSize(), size.stored) << size.set;
    }
    video.SetFrameRate(60);
    EXPECT_EQ(video.MicroSecPerFrame(), 16667u);
    video.SetFrameRate(0);
    EXPECT_EQ(video.MicroSecPerFrame(), 100000u);
    EXPECT_EQ(video.FrameRate(), 10);
}

TEST(PreviewPeriodTest, IsTheNearestMillisecondWithHalvesToEven) {
    EXPECT_EQ(PreviewPeriod(30), 33);
    EXPECT_EQ(PreviewPeriod(16), 62);
    EXPECT_EQ(PreviewPeriod(1), 1000);
}

TEST_F(VideoTest, AnIndexOrNameWithoutADriverSelectsNone) {
    video.SetDriverIndex(2);
    EXPECT_EQ(video.DriverName(), "Door camera");
    for (int index : {3, 42}) {
        video.SetDriverIndex(2);
        video.SetDriverIndex(index);
        EXPECT_EQ(video.DriverIndex(), -1) << index;
        EXPECT_EQ(video.DriverName(), "") << index;
    }
    video.SetDriverName("Door camera");
    EXPECT_EQ(video.DriverIndex(), 2);
    video.SetDriverName("door camera");
    EXPECT_EQ(video.DriverIndex(), -1);
    EXPECT_EQ(video.DriverName(), "");
    ExpectRaised<ENoDriverException>([&] { video.SetVideoPreview(true); }, "No capture driver selected");
    EXPECT_EQ(statusNotifications, 1);
    EXPECT_FALSE(video.DriverOpen());
}

TEST_F(VideoTest, TheDialogsStoredValuesSelectNoDriverHere) {
    video.SetDriverOpen(false);
    video.SetDriverIndex(1);
    video.SetDriverName("Microsoft WDM Image Capture");
    EXPECT_EQ(video.DriverIndex(), -1);
    EXPECT_EQ(video.DriverName(), "");
    EXPECT_EQ(cameras.devices.OpenCount(), 0);
}

TEST_F(VideoTest, TheSameIndexKeepsThePreviewAndAnotherClosesIt) {
    StartPreview();
    ASSERT_TRUE(video.VideoPreview());
    EXPECT_EQ(control.Host().timerPeriod, 33);
    video.SetDriverIndex(0);
    EXPECT_TRUE(video.VideoPreview());
    EXPECT_EQ(cameras.devices.OpenCount(), 1);
    video.SetDriverIndex(2);
    EXPECT_FALSE(video.DriverOpen());
    EXPECT_FALSE(control.Host().alive);
    EXPECT_EQ(cameras.devices.OpenSources(), 0);
    video.SetVideoPreview(true);
    EXPECT_EQ(cameras.devices.OpenCount(), 2);
    EXPECT_EQ(cameras.devices.OpenSources(), 1);
}

TEST_F(VideoTest, TheCaptureWindowFitsTheControl) {
    const struct {
        bool scale, proportional;
        int controlWidth, controlHeight, width, height;
    } cases[] = {
        {true, true, 320, 240, 320, 240}, {true, true, 400, 240, 320, 240}, {true, true, 320, 400, 320, 240},
        {true, false, 400, 240, 400, 240}, {false, true, 400, 240, 640, 480},
    };
    video.SetDriverIndex(0);
    video.SetDriverOpen(true);
    for (const auto& test : cases) {
        SCOPED_TRACE(std::to_string(test.controlWidth) + " x " + std::to_string(test.controlHeight));
        video.SetPreviewScaleToWindow(test.scale);
        video.SetPreviewScaleProportional(test.proportional);
        control.SetSize(test.controlWidth, test.controlHeight);
        video.FitCaptureWindow();
        EXPECT_EQ(control.Host().x, 0);
        EXPECT_EQ(control.Host().width, test.width);
        EXPECT_EQ(control.Host().height, test.height);
    }
}

TEST_F(VideoTest, ResizingAScalingControlRefitsTheWindow) {
    StartPreview();
    control.SetSize(400, 240);
    EXPECT_EQ(control.Host().width, 320);
    control.SetSize(200, 300);
    EXPECT_EQ(control.Host().width, 200);
    EXPECT_EQ(control.Host().height, 150);
}

TEST_F(VideoTest, OverlayIsRefusedOnADriverWithoutIt) {
    ExpectRaised<ENoOverlayException>([&] { video.SetVideoOverlay(true); }, "Driver has no overlay mode");
    video.SetDriverIndex(0);
    ExpectRaised<ENoOverlayException>([&] { video.SetVideoOverlay(true); }, "Driver has no overlay mode");
    EXPECT_FALSE(video.DriverOpen());
    EXPECT_EQ(cameras.devices.OpenCount(), 1);
    EXPECT_EQ(cameras.devices.OpenSources(), 0);
    video.SetVideoPreview(true);
    ExpectRaised<ENoOverlayException>([&] { video.SetVideoOverlay(true); }, "Driver has no overlay mode");
    EXPECT_FALSE(video.VideoOverlay());
    EXPECT_TRUE(video.VideoPreview());
    video.SetVideoOverlay(false);
}

TEST_F(VideoTest, OpeningFailuresRaiseAfterNotifying) {
    FakeCamera refusing = Camera("Broken camera");
    refusing.refusesConnect = true;
    cameras.devices.Plug(4, refusing);
    video.SetDriverIndex(4);
    ExpectRaised<ENotConnectException>([&] { video.SetVideoPreview(true); },
                                       "Can not connect capture driver with capture window");
    EXPECT_FALSE(video.DriverOpen());
    EXPECT_FALSE(control.Host().alive);
    EXPECT_EQ(statusNotifications, 1);
    video.SetDriverIndex(0);
    control.refusesCaptureWindows = true;
    ExpectRaised<ENoCapWindowException>([&] { video.SetDriverOpen(true); }, "Can not create capture window");
    EXPECT_FALSE(video.DriverOpen());
    EXPECT_EQ(statusNotifications, 2);
}

TEST_F(VideoTest, TheFrameIsSavedAtTheCamerasSize) {
    StartPreview();
    control.Host().window->FrameTimer();
    const auto file = std::filesystem::temp_directory_path() / ("video-" + std::to_string(::getpid()) + ".bmp");
    video.SetSingleImageFile(file.string());
    ASSERT_TRUE(video.SaveFrameToDIB());
    const Bitmap saved = ReadBmpFile(file.string());
    EXPECT_TRUE(saved.SamePixels(FakeFrame(640, 480, 1)));
    std::filesystem::remove(file);
    video.SetDriverOpen(false);
    EXPECT_FALSE(video.SaveFrameToDIB());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(VideoTest, CapabilitiesOpenTheDriverOnlyForTheQuestion) {
    video.SetDriverIndex(0);
    EXPECT_TRUE(video.ReadDriverCaps());
    EXPECT_FALSE(video.DriverOpen());
    EXPECT_FALSE(video.HasOverlay());
    EXPECT_EQ(cameras.devices.OpenCount(), 1);
    video.SetDriverIndex(-1);
    EXPECT_FALSE(video.ReadDriverCaps());
}

TEST_F(VideoTest, EventsFollowTheirAssignment) {
    int frames = 0;
    std::vector<int> statusIds;
    video.SetOnVideoStream([&](TVideo* sender, PVIDEOHDR header) {
        EXPECT_EQ(sender, &video);
        EXPECT_EQ(header->dwBytesUsed, Bitmap::StrideFor(640) * 480);
        ++frames;
    });
    StartPreview();
    video.SetOnStatusCallback([&](TVideo* sender, int nID, const std::string& text) {
        EXPECT_EQ(sender, &video);
        EXPECT_EQ(text, CaptureStatusDeviceLostText);
        statusIds.push_back(nID);
    });
    control.Host().window->FrameTimer();
    video.SetOnVideoStream(nullptr);
    control.Host().window->FrameTimer();
    EXPECT_EQ(frames, 1);
    cameras.devices.Unplug(0);
    control.Host().window->FrameTimer();
    EXPECT_EQ(statusIds, std::vector<int>{CaptureStatusDeviceLost});
    EXPECT_FALSE(video.VideoPreview());
    EXPECT_TRUE(video.DriverOpen());
}

TEST_F(VideoTest, GetDriverListHasOneEntryPerSlot) {
    const std::vector<std::string> list = GetDriverList();
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list[0], "Desk camera fake 1.2.3");
    EXPECT_EQ(list[1], "");
    EXPECT_EQ(list[2], "Door camera fake 1.2.3");
    EXPECT_EQ(list[9], "");
}

TEST(VideoLifetimeTest, DestroyingTheComponentDisconnects) {
    InstalledFakeCameras cameras;
    cameras.devices.Plug(0, Camera("Desk camera"));
    RecordingControlWindow control;
    {
        TVideo video(control, "VideoSource");
        video.SetDriverIndex(0);
        video.SetVideoPreview(true);
        EXPECT_EQ(cameras.devices.OpenSources(), 1);
    }
    EXPECT_EQ(cameras.devices.OpenSources(), 0);
    EXPECT_FALSE(control.Host().alive);
    EXPECT_FALSE(control.onSize);
}

}  // namespace
}  // namespace quorvane
