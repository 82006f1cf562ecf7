// Stand-ins for the screen side of the capture service: a control window
// that records what the component asks of it, and hosts that record how
// their capture window is placed, timed and painted. Plus fake cameras
// installed for the length of a test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "platform/capture/capture_window.h"
#include "platform/capture/fake_devices.h"
#include "sources/video.h"

namespace quorvane::testing {

struct HostRecord {
    CaptureServiceWindow* window = nullptr;
    bool alive = true;
    bool visible = false;
    int x = 0, y = 0, width = 0, height = 0;
    int timerPeriod = 0;
    int repaints = 0;
};

class RecordingHost final : public CaptureWindowHost {
public:
    explicit RecordingHost(HostRecord& record) : record_(record) {}
    ~RecordingHost() override { record_.alive = false; }
    void SetBounds(int x, int y, int width, int height) override {
        record_.x = x;
        record_.y = y;
        record_.width = width;
        record_.height = height;
    }
    void SetVisible(bool visible) override { record_.visible = visible; }
    void SetFrameTimer(int periodMilliseconds) override { record_.timerPeriod = periodMilliseconds; }
    void Repaint() override { ++record_.repaints; }

private:
    HostRecord& record_;
};

class RecordingControlWindow final : public VideoControlWindow {
public:
    int Width() const override { return width; }
    int Height() const override { return height; }
    void SetSize(int newWidth, int newHeight) override {
        width = newWidth;
        height = newHeight;
        if (onSize) onSize();
    }
    void SetColour(TColor newColour) override { colour = newColour; }
    void Invalidate() override { ++invalidations; }
    std::unique_ptr<CaptureWindowHost> CreateCaptureHost(CaptureServiceWindow& window) override {
        if (refusesCaptureWindows) return nullptr;
        hosts.push_back(HostRecord{&window});
        return std::make_unique<RecordingHost>(hosts.back());
    }

    // The newest capture window's record.
    HostRecord& Host() { return hosts.back(); }

    int width = 0;
    int height = 0;
    TColor colour = RGB(255, 255, 255);
    int invalidations = 0;
    bool refusesCaptureWindows = false;
    std::deque<HostRecord> hosts;
};

// Fake cameras in force while the object lives.
class InstalledFakeCameras {
public:
    InstalledFakeCameras() { SetCaptureDevices(&devices); }
    ~InstalledFakeCameras() { SetCaptureDevices(nullptr); }
    InstalledFakeCameras(const InstalledFakeCameras&) = delete;
    InstalledFakeCameras& operator=(const InstalledFakeCameras&) = delete;

    FakeCaptureDevices devices;
};

inline FakeCamera Camera(const std::string& name, int width = 640, int height = 480) {
    FakeCamera camera;
    camera.name = name;
    camera.version = "fake 1.2.3";
    camera.width = width;
    camera.height = height;
    return camera;
}

}  // namespace quorvane::testing
