// A capture window of the capture service: bound to one driver slot at a
// time, it keeps the current frame, previews at a rate, reports to its
// client's callbacks and answers the capture messages (see avicap.h).
//
// What the window looks like on screen is its host's business: the parent
// window gives each capture window a host that places it, runs its frame
// timer and paints its frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/capture/capture_devices.h"

namespace quorvane {

class CaptureServiceWindow;

class CaptureWindowHost {
public:
    virtual ~CaptureWindowHost() = default;
    virtual void SetBounds(int x, int y, int width, int height) = 0;
    virtual void SetVisible(bool visible) = 0;
    // Calls the window's FrameTimer every `periodMilliseconds`; 0 stops it.
    virtual void SetFrameTimer(int periodMilliseconds) = 0;
    // Paints the window's frame again, stretched to the window when it scales.
    virtual void Repaint() = 0;
};

class CaptureParent {
public:
    virtual ~CaptureParent() = default;
    // The host of a new capture window; nothing when none can be made.
    virtual std::unique_ptr<CaptureWindowHost> CreateCaptureHost(CaptureServiceWindow& window) = 0;
};

class CaptureServiceWindow {
public:
    explicit CaptureServiceWindow(std::string name);
    ~CaptureServiceWindow();
    CaptureServiceWindow(const CaptureServiceWindow&) = delete;
    CaptureServiceWindow& operator=(const CaptureServiceWindow&) = delete;

    // Puts the window on screen through `host`.
    void AttachHost(std::unique_ptr<CaptureWindowHost> host, bool visible);

    std::intptr_t Handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void Move(int x, int y, int width, int height, bool repaint);
    // One tick of the preview: takes a frame if the device has one ready.
    void FrameTimer();

    const std::string& Name() const { return name_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Connected() const { return source_ != nullptr; }
    bool Previewing() const { return previewing_; }
    bool Scaling() const { return scale_; }
    int PreviewPeriod() const { return previewPeriod_; }
    // The current frame; empty before the first one arrives.
    const Bitmap& Frame() const { return frame_; }

private:
    bool Connect(int slot);
    void Disconnect();
    void SetPreview(bool on);
    void SetPreviewRate(int periodMilliseconds);
    // Reads a ready frame; false when the device is gone (it is then released).
    bool TakeReadyFrame();
    void DeviceLost();
    std::intptr_t CopyCaps(std::uintptr_t size, void* buffer) const;
    std::intptr_t CopyStatus(std::uintptr_t size, void* buffer) const;
    std::intptr_t GrabFrame();
    std::intptr_t SaveFrame(const char* path);
    void StreamFrame();

    std::string name_;
    std::unique_ptr<CaptureWindowHost> host_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<FrameSource> source_;
    int slot_ = -1;
    bool previewing_ = false;
    bool scale_ = false;
    int previewPeriod_ = 66;
    Bitmap frame_;
    std::uint32_t frameCount_ = 0;
    std::chrono::steady_clock::time_point connectedAt_;
    std::intptr_t userData_ = 0;
    std::intptr_t statusCallback_ = 0;
    std::intptr_t videoStreamCallback_ = 0;
    std::intptr_t waveStreamCallback_ = 0;
};

}  // namespace quorvane
