#include "platform/capture/capture_window.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/bmp.h"
#include "platform/capture/avicap.h"

namespace quorvane {

namespace {

// Copies the record into a client buffer of `size` bytes, as much as fits.
template <typename Record>
std::intptr_t CopyRecord(const Record& record, std::uintptr_t size, void* buffer) {
    if (buffer == nullptr) return 0;
    std::memcpy(buffer, &record, std::min<std::uintptr_t>(size, sizeof(Record)));
    return 1;
}

}  // namespace

CaptureServiceWindow::CaptureServiceWindow(std::string name) : name_(std::move(name)) {}

CaptureServiceWindow::~CaptureServiceWindow() { Disconnect(); }

void CaptureServiceWindow::AttachHost(std::unique_ptr<CaptureWindowHost> host, bool visible) {
    host_ = std::move(host);
    host_->SetVisible(visible);
}

std::intptr_t CaptureServiceWindow::Handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case WM_CAP_SET_CALLBACK_STATUSA: statusCallback_ = lParam; return 1;
        case WM_CAP_SET_CALLBACK_VIDEOSTREAM: videoStreamCallback_ = lParam; return 1;
        case WM_CAP_SET_CALLBACK_WAVESTREAM: waveStreamCallback_ = lParam; return 1;
        case WM_CAP_GET_USER_DATA: return userData_;
        case WM_CAP_SET_USER_DATA: userData_ = lParam; return 1;
        case WM_CAP_DRIVER_CONNECT: return Connect(static_cast<std::uint16_t>(wParam)) ? 1 : 0;
        case WM_CAP_DRIVER_DISCONNECT: {
            const bool wasConnected = Connected();
            Disconnect();
            return wasConnected ? 1 : 0;
        }
        case WM_CAP_DRIVER_GET_CAPS: return CopyCaps(wParam, reinterpret_cast<void*>(lParam));
        case WM_CAP_FILE_SAVEDIBA: return SaveFrame(reinterpret_cast<const char*>(lParam));
        case WM_CAP_SET_PREVIEW:
            if (wParam != 0 && !Connected()) return 0;
            SetPreview(wParam != 0);
            return 1;
        case WM_CAP_SET_OVERLAY: return 0;
        case WM_CAP_SET_PREVIEWRATE:
            if (!Connected()) return 0;
            SetPreviewRate(static_cast<int>(std::min<std::uintptr_t>(wParam, 60000)));
            return 1;
        case WM_CAP_SET_SCALE:
            if (!Connected()) return 0;
            scale_ = wParam != 0;
            if (host_) host_->Repaint();
            return 1;
        case WM_CAP_GET_STATUS: return CopyStatus(wParam, reinterpret_cast<void*>(lParam));
        case WM_CAP_GRAB_FRAME: return GrabFrame();
        default: return 0;
    }
}

void CaptureServiceWindow::Move(int x, int y, int width, int height, bool repaint) {
    left_ = x;
    top_ = y;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    if (!host_) return;
    host_->SetBounds(left_, top_, width_, height_);
    if (repaint) host_->Repaint();
}

void CaptureServiceWindow::FrameTimer() {
    if (!previewing_ || !Connected()) return;
    const std::uint32_t before = frameCount_;
    if (!TakeReadyFrame()) {
        DeviceLost();
        return;
    }
    if (frameCount_ == before) return;
    if (host_) host_->Repaint();
    StreamFrame();
}

bool CaptureServiceWindow::Connect(int slot) {
    Disconnect();
    source_ = TheCaptureDevices().Open(slot);
    if (!source_) return false;
    slot_ = slot;
    connectedAt_ = std::chrono::steady_clock::now();
    return true;
}

void CaptureServiceWindow::Disconnect() {
    SetPreview(false);
    source_.reset();
    slot_ = -1;
    scale_ = false;
    frame_ = Bitmap();
    frameCount_ = 0;
}

void CaptureServiceWindow::SetPreview(bool on) {
    previewing_ = on;
    if (host_) host_->SetFrameTimer(on ? previewPeriod_ : 0);
}

void CaptureServiceWindow::SetPreviewRate(int periodMilliseconds) {
    previewPeriod_ = std::max(periodMilliseconds, 1);
    if (previewing_ && host_) host_->SetFrameTimer(previewPeriod_);
}

bool CaptureServiceWindow::TakeReadyFrame() {
    const FrameRead read = source_->ReadFrame(frame_);
    if (read == FrameRead::Gone) return false;
    if (read == FrameRead::Frame) ++frameCount_;
    return true;
}

// The device has gone: the preview ends with the last frame still shown, and
// the client hears of it. Nothing of this window is touched after the
// callback, which may destroy it.
void CaptureServiceWindow::DeviceLost() {
    SetPreview(false);
    source_.reset();
    slot_ = -1;
    const auto callback = reinterpret_cast<CapStatusCallback>(statusCallback_);
    if (callback != nullptr) callback(this, CaptureStatusDeviceLost, CaptureStatusDeviceLostText);
}

// Called last by FrameTimer, for the same reason as DeviceLost's callback.
void CaptureServiceWindow::StreamFrame() {
    const auto callback = reinterpret_cast<CapVideoStreamCallback>(videoStreamCallback_);
    if (callback == nullptr) return;
    VIDEOHDR header{};
    header.lpData = frame_.Bits();
    header.dwBufferLength = static_cast<DWORD>(frame_.ByteSize());
    header.dwBytesUsed = header.dwBufferLength;
    header.dwTimeCaptured = static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - connectedAt_)
            .count());
    callback(this, &header);
}

std::intptr_t CaptureServiceWindow::CopyCaps(std::uintptr_t size, void* buffer) const {
    if (!Connected()) return 0;
    CAPDRIVERCAPS caps{};
    caps.wDeviceIndex = static_cast<UINT>(slot_);
    caps.fCaptureInitialized = 1;
    return CopyRecord(caps, size, buffer);
}

std::intptr_t CaptureServiceWindow::CopyStatus(std::uintptr_t size, void* buffer) const {
    CAPSTATUS status{};
    status.uiImageWidth = static_cast<UINT>(Connected() ? source_->Width() : frame_.Width());
    status.uiImageHeight = static_cast<UINT>(Connected() ? source_->Height() : frame_.Height());
    status.fLiveWindow = previewing_ ? 1 : 0;
    status.fScale = scale_ ? 1 : 0;
    status.dwCurrentVideoFrame = frameCount_;
    status.wNumVideoAllocated = Connected() ? 1 : 0;
    return CopyRecord(status, size, buffer);
}

std::intptr_t CaptureServiceWindow::GrabFrame() {
    if (!Connected()) return 0;
    if (!TakeReadyFrame()) {
        DeviceLost();
        return 0;
    }
    if (frame_.Empty()) return 0;
    if (host_) host_->Repaint();
    return 1;
}

// Writes the newest frame of the connected device as a 24-bit BMP; fails
// without a frame or when the file cannot be written.
std::intptr_t CaptureServiceWindow::SaveFrame(const char* path) {
    if (path == nullptr || !Connected()) return 0;
    if (!TakeReadyFrame()) {
        DeviceLost();
        return 0;
    }
    if (frame_.Empty()) return 0;
    try {
        WriteBmpFile(frame_, path);
    } catch (const std::exception&) {
        return 0;
    }
    return 1;
}

}  // namespace quorvane
