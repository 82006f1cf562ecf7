#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "platform/bmp.h"
#include "platform/capture/avicap.h"
#include "platform/capture/frame_rows.h"
#include "capture_doubles.h"

namespace quorvane {
namespace {

using testing::Camera;
using testing::HostRecord;
using testing::InstalledFakeCameras;
using testing::RecordingControlWindow;

struct RowsCase {
    const char* name;
    FrameLayout layout;
    std::size_t bytesUsed;
    bool accepted;
};

TEST(FrameRowsTest, AcceptsOnlyBuffersThatHoldEveryRow) {
    const RowsCase cases[] = {
        {"padded rows", {3, 2, 12}, 24, true},
        {"last row without its padding", {3, 2, 12}, 21, true},
        {"one byte short", {3, 2, 12}, 20, false},
        {"empty buffer", {3, 2, 12}, 0, false},
        {"pitch shorter than a row", {3, 2, 8}, 24, false},
        {"no width", {0, 2, 12}, 24, false},
        {"negative height", {3, -1, 12}, 24, false},
        {"more pixels than a picture may hold", {1 << 16, 1 << 16, std::size_t{3} << 16}, std::size_t{3} << 32, false},
    };
    std::vector<std::uint8_t> buffer(24);
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i + 1);
    for (const RowsCase& test : cases) {
        SCOPED_TRACE(test.name);
        Bitmap frame(1, 1);
        frame.SetPixel(0, 0, RGB(9, 9, 9));
        EXPECT_EQ(CopyFrameRows(buffer.data(), test.bytesUsed, test.layout, frame), test.accepted);
        if (test.accepted) {
            ASSERT_EQ(frame.Width(), 3);
            ASSERT_EQ(frame.Height(), 2);
            EXPECT_EQ(frame.ScanLine(1)[0], 13);
            EXPECT_EQ(frame.ScanLine(1)[8], 21);
        } else {
            EXPECT_EQ(frame.Width(), 1);
            EXPECT_EQ(frame.Pixel(0, 0), RGB(9, 9, 9));
        }
    }
}

TEST(CaptureServiceTest, DescribesTheDriversCutToTheirBuffers) {
    InstalledFakeCameras cameras;
    cameras.devices.Plug(2, Camera("Desk camera"));
    char name[80] = "unchanged";
    char version[5] = "same";
    EXPECT_FALSE(capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version));
    EXPECT_STREQ(name, "unchanged");
    EXPECT_FALSE(capGetDriverDescriptionA(10, name, sizeof name, version, sizeof version));
    ASSERT_TRUE(capGetDriverDescriptionA(2, name, sizeof name, version, sizeof version));
    EXPECT_STREQ(name, "Desk camera");
    EXPECT_STREQ(version, "fake");
}

class CaptureWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        cameras.devices.Plug(0, Camera("Desk camera", 64, 48));
        parent.width = 320;
        parent.height = 240;
        window = capCreateCaptureWindowA("Capture", WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, &parent, 5001);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessage(window, message, wParam, lParam);
    }
    CAPSTATUS Status() {
        CAPSTATUS status{};
        EXPECT_EQ(Send(WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status)), 1);
        return status;
    }
    HostRecord& Host() { return parent.Host(); }

    InstalledFakeCameras cameras;
    RecordingControlWindow parent;
    HWND window = nullptr;
    std::filesystem::path bmp = std::filesystem::temp_directory_path() / ("capture-" + std::to_string(::getpid()) + ".bmp");
};

TEST_F(CaptureWindowTest, PreviewsAtTheRateAndSavesTheNewestFrame) {
    EXPECT_TRUE(Host().visible);
    EXPECT_EQ(Host().width, 320);
    ASSERT_EQ(Send(WM_CAP_DRIVER_CONNECT, 0), 1);
    EXPECT_EQ(Status().uiImageWidth, 64u);
    EXPECT_EQ(Status().uiImageHeight, 48u);
    EXPECT_EQ(Send(WM_CAP_SET_PREVIEWRATE, 62), 1);
    ASSERT_EQ(Send(WM_CAP_SET_PREVIEW, 1), 1);
    EXPECT_EQ(Host().timerPeriod, 62);
    EXPECT_EQ(Status().fLiveWindow, 1);
    window->FrameTimer();
    window->FrameTimer();
    EXPECT_TRUE(window->Frame().SamePixels(FakeFrame(64, 48, 1)));
    ASSERT_EQ(Send(WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(bmp.c_str())), 1);
    EXPECT_TRUE(ReadBmpFile(bmp.string()).SamePixels(FakeFrame(64, 48, 2)));
    std::filesystem::remove(bmp);
    EXPECT_EQ(Send(WM_CAP_SET_PREVIEW, 0), 1);
    EXPECT_EQ(Host().timerPeriod, 0);
}

TEST_F(CaptureWindowTest, OffersNoOverlayAndNothingBeforeConnecting) {
    CAPDRIVERCAPS caps{};
    EXPECT_EQ(Send(WM_CAP_DRIVER_GET_CAPS, sizeof caps, reinterpret_cast<LPARAM>(&caps)), 0);
    EXPECT_EQ(Send(WM_CAP_SET_PREVIEW, 1), 0);
    EXPECT_EQ(Send(WM_CAP_GRAB_FRAME), 0);
    EXPECT_EQ(Send(WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(bmp.c_str())), 0);
    EXPECT_FALSE(std::filesystem::exists(bmp));
    ASSERT_EQ(Send(WM_CAP_DRIVER_CONNECT, 0), 1);
    ASSERT_EQ(Send(WM_CAP_DRIVER_GET_CAPS, sizeof caps, reinterpret_cast<LPARAM>(&caps)), 1);
    EXPECT_EQ(caps.fHasOverlay, 0);
    EXPECT_EQ(caps.fCaptureInitialized, 1);
    EXPECT_EQ(Send(WM_CAP_SET_OVERLAY, 1), 0);
    EXPECT_EQ(Send(WM_CAP_GRAB_FRAME), 1);
    EXPECT_TRUE(window->Frame().SamePixels(FakeFrame(64, 48, 0)));
}

TEST_F(CaptureWindowTest, ARefusingOrMissingDeviceDoesNotConnect) {
    FakeCamera refusing = Camera("Broken camera");
    refusing.refusesConnect = true;
    cameras.devices.Plug(1, refusing);
    EXPECT_EQ(Send(WM_CAP_DRIVER_CONNECT, 1), 0);
    EXPECT_EQ(Send(WM_CAP_DRIVER_CONNECT, 5), 0);
    EXPECT_EQ(cameras.devices.OpenSources(), 0);
}

std::vector<int> statusIds;
std::vector<DWORD> streamedBytes;

LRESULT RecordStatus(HWND, int nID, const char*) {
    statusIds.push_back(nID);
    return 1;
}
LRESULT RecordFrame(HWND, PVIDEOHDR header) {
    streamedBytes.push_back(header->dwBytesUsed);
    return 1;
}
LRESULT DestroyOnStatus(HWND window, int, const char*) {
    DestroyWindow(window);
    return 1;
}

TEST_F(CaptureWindowTest, AnUnpluggedCameraEndsThePreviewWithAStatusCallback) {
    statusIds.clear();
    streamedBytes.clear();
    Send(WM_CAP_SET_CALLBACK_STATUSA, 0, reinterpret_cast<LPARAM>(&RecordStatus));
    Send(WM_CAP_SET_CALLBACK_VIDEOSTREAM, 0, reinterpret_cast<LPARAM>(&RecordFrame));
    ASSERT_EQ(Send(WM_CAP_DRIVER_CONNECT, 0), 1);
    Send(WM_CAP_SET_PREVIEW, 1);
    window->FrameTimer();
    EXPECT_EQ(streamedBytes, std::vector<DWORD>{static_cast<DWORD>(Bitmap::StrideFor(64) * 48)});
    cameras.devices.Unplug(0);
    window->FrameTimer();
    EXPECT_EQ(statusIds, std::vector<int>{CaptureStatusDeviceLost});
    EXPECT_EQ(Host().timerPeriod, 0);
    EXPECT_EQ(Status().fLiveWindow, 0);
    EXPECT_EQ(cameras.devices.OpenSources(), 0);
    EXPECT_TRUE(window->Frame().SamePixels(FakeFrame(64, 48, 0)));
    EXPECT_EQ(Send(WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(bmp.c_str())), 0);
    window->FrameTimer();
    EXPECT_EQ(statusIds.size(), 1u);
}

TEST_F(CaptureWindowTest, AStatusCallbackMayDestroyTheWindow) {
    FakeCamera shortLived = Camera("Short-lived camera", 8, 8);
    shortLived.framesBeforeGone = 1;
    cameras.devices.Plug(3, shortLived);
    Send(WM_CAP_SET_CALLBACK_STATUSA, 0, reinterpret_cast<LPARAM>(&DestroyOnStatus));
    ASSERT_EQ(Send(WM_CAP_DRIVER_CONNECT, 3), 1);
    Send(WM_CAP_SET_PREVIEW, 1);
    window->FrameTimer();
    HWND doomed = std::exchange(window, nullptr);
    doomed->FrameTimer();
    EXPECT_FALSE(Host().alive);
    EXPECT_EQ(cameras.devices.OpenSources(), 0);
}

}  // namespace
}  // namespace quorvane
