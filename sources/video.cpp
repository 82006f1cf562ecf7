#include "sources/video.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace quorvane {

namespace {

constexpr int CaptureWindowId = 5001;
constexpr int DescriptionSize = 80;
constexpr std::uint16_t SlowestPreviewRate = 1;
constexpr std::uint16_t FastestPreviewRate = 30;
constexpr std::uint32_t ShortestFramePeriod = 33333;
constexpr std::uint16_t DefaultFrameRate = 10;
constexpr std::uint32_t SmallestIndexSize = 1800;
constexpr std::uint32_t LargestIndexSize = 324000;

bool Succeeded(LRESULT result) { return (result & 0xff) != 0; }

// The component a capture window belongs to (its user data), or none.
TVideo* ComponentOf(HWND window) {
    return reinterpret_cast<TVideo*>(SendMessage(window, WM_CAP_GET_USER_DATA, 0, 0));
}

LRESULT StatusCallbackProc(HWND window, int nID, const char* text) {
    TVideo* video = ComponentOf(window);
    if (video != nullptr && video->OnStatusCallback()) video->OnStatusCallback()(video, nID, text != nullptr ? text : "");
    return 1;
}

LRESULT VideoStreamProc(HWND window, PVIDEOHDR header) {
    TVideo* video = ComponentOf(window);
    if (video != nullptr && video->OnVideoStream()) video->OnVideoStream()(video, header);
    return 1;
}

LRESULT WaveStreamProc(HWND window, PWaveHdr header) {
    TVideo* video = ComponentOf(window);
    if (video != nullptr && video->OnAudioStream()) video->OnAudioStream()(video, header);
    return 1;
}

template <typename Function>
LPARAM FunctionParameter(bool assigned, Function function) {
    return assigned ? reinterpret_cast<LPARAM>(function) : 0;
}

std::optional<std::pair<std::string, std::string>> DriverDescription(int index) {
    char name[DescriptionSize] = {};
    char version[DescriptionSize] = {};
    if (!capGetDriverDescriptionA(static_cast<UINT>(index), name, DescriptionSize, version, DescriptionSize))
        return std::nullopt;
    return std::pair<std::string, std::string>(name, version);
}

}  // namespace

int PreviewPeriod(std::uint16_t rate) { return static_cast<int>(std::nearbyint(1.0 / rate * 1000.0)); }

std::vector<std::string> GetDriverList() {
    std::vector<std::string> list;
    list.reserve(CaptureSlotCount);
    for (int index = 0; index < CaptureSlotCount; ++index) {
        const auto description = DriverDescription(index);
        list.push_back(description ? description->first + " " + description->second : std::string());
    }
    return list;
}

TVideo::TVideo(VideoControlWindow& window, std::string name) : window_(window), name_(std::move(name)) {
    window_.SetSize(100, 100);
    window_.SetColour(RGB(0, 0, 0));
    window_.onSize = [this] { WMSize(); };
}

TVideo::~TVideo() {
    CloseDriver();
    FreeCaptureBuffers();
    window_.onSize = nullptr;
}

LRESULT TVideo::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessage(captureWindow_, message, wParam, lParam);
}

void TVideo::SetDriverOpen(bool value) {
    if (value == DriverOpen()) return;
    if (value)
        OpenDriver();
    else
        CloseDriver();
}

void TVideo::SetDriverIndex(int value) {
    if (value == driverIndex_) return;
    CloseDriver();
    FreeCaptureBuffers();
    if (value >= 0) {
        const auto description = DriverDescription(value);
        if (description)
            driverName_ = description->first;
        else
            value = -1;
    }
    if (value == -1) driverName_.clear();
    driverIndex_ = value;
}

void TVideo::SetDriverName(const std::string& value) {
    if (value == driverName_) return;
    for (int index = 0; index < CaptureSlotCount; ++index) {
        const auto description = DriverDescription(index);
        if (description && description->first == value) {
            driverName_ = value;
            SetDriverIndex(index);
            return;
        }
    }
    driverName_.clear();
    SetDriverIndex(-1);
}

bool TVideo::VideoOverlay() { return DriverOpen() && UpdateStatus(false) && captureStatus_->fOverlayWindow != 0; }

void TVideo::SetVideoOverlay(bool value) {
    if (value == VideoOverlay()) return;
    if (!HasOverlay()) throw ENoOverlayException();
    if (value) {
        if (!DriverOpen()) OpenDriver();
        GrabFrame();
    }
    Send(WM_CAP_SET_OVERLAY, value, 0);
    UpdateStatus(true);
    window_.Invalidate();
}

bool TVideo::VideoPreview() { return DriverOpen() && UpdateStatus(false) && captureStatus_->fLiveWindow != 0; }

void TVideo::SetVideoPreview(bool value) {
    if (value == VideoPreview()) return;
    if (value && !DriverOpen()) OpenDriver();
    Send(WM_CAP_SET_PREVIEW, value, 0);
    UpdateStatus(true);
    window_.Invalidate();
}

void TVideo::SetPreviewScaleToWindow(bool value) {
    if (value == previewScaleToWindow_) return;
    previewScaleToWindow_ = value;
    if (DriverOpen()) {
        Send(WM_CAP_SET_SCALE, value, 0);
        FitCaptureWindow();
    }
    window_.Invalidate();
}

void TVideo::SetPreviewScaleProportional(bool value) {
    if (value == previewScaleProportional_) return;
    previewScaleProportional_ = value;
    if (DriverOpen()) FitCaptureWindow();
    window_.Invalidate();
}

void TVideo::SetPreviewRate(std::uint16_t value) {
    if (value == previewRate_) return;
    previewRate_ = std::clamp(value, SlowestPreviewRate, FastestPreviewRate);
    if (DriverOpen()) Send(WM_CAP_SET_PREVIEWRATE, static_cast<WPARAM>(PreviewPeriod(previewRate_)), 0);
}

void TVideo::SetMicroSecPerFrame(std::uint32_t value) {
    if (value == microSecPerFrame_) return;
    microSecPerFrame_ = std::max(value, ShortestFramePeriod);
}

// A rate too high for a Word (periods under 16 microseconds) reads as 65535.
std::uint16_t TVideo::FrameRate() const {
    if (microSecPerFrame_ == 0) return 0;
    return static_cast<std::uint16_t>(std::min(std::nearbyint(1e6 / microSecPerFrame_), 65535.0));
}

void TVideo::SetFrameRate(std::uint16_t value) {
    if (value == 0) value = DefaultFrameRate;
    microSecPerFrame_ = static_cast<std::uint32_t>(std::nearbyint(1e6 / value));
}

void TVideo::SetCapIndexSize(std::uint32_t value) {
    capIndexSize_ = value == 0 ? 0 : std::clamp(value, SmallestIndexSize, LargestIndexSize);
}

void TVideo::SetOnStatusCallback(TCapStatusCallback value) {
    onStatusCallback_ = std::move(value);
    if (DriverOpen()) RegisterStatusCallback();
}

void TVideo::SetOnVideoStream(TVideoStream value) {
    onVideoStream_ = std::move(value);
    if (DriverOpen()) RegisterVideoStream();
}

void TVideo::SetOnAudioStream(TAudioStream value) {
    onAudioStream_ = std::move(value);
    if (DriverOpen()) RegisterAudioStream();
}

void TVideo::RegisterStatusCallback() {
    Send(WM_CAP_SET_CALLBACK_STATUSA, 0, FunctionParameter(bool(onStatusCallback_), &StatusCallbackProc));
}

void TVideo::RegisterVideoStream() {
    Send(WM_CAP_SET_CALLBACK_VIDEOSTREAM, 0, FunctionParameter(bool(onVideoStream_), &VideoStreamProc));
}

void TVideo::RegisterAudioStream() {
    Send(WM_CAP_SET_CALLBACK_WAVESTREAM, 0, FunctionParameter(bool(onAudioStream_), &WaveStreamProc));
}

template <typename Exception>
void TVideo::FailOpening() {
    Exception error;
    UpdateStatus(true);
    throw error;
}

bool TVideo::OpenDriver() {
    if (DriverOpen()) return true;
    if (driverIndex_ == -1) FailOpening<ENoDriverException>();
    captureWindow_ = capCreateCaptureWindowA(name_.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, window_.Width(),
                                             window_.Height(), &window_, CaptureWindowId);
    if (!DriverOpen()) FailOpening<ENoCapWindowException>();
    Send(WM_CAP_SET_USER_DATA, 0, reinterpret_cast<LPARAM>(this));
    if (onStatusCallback_) RegisterStatusCallback();
    if (onVideoStream_) RegisterVideoStream();
    if (onAudioStream_) RegisterAudioStream();
    if (!Succeeded(Send(WM_CAP_DRIVER_CONNECT, static_cast<std::uint16_t>(driverIndex_), 0))) {
        CloseDriver();
        FailOpening<ENotConnectException>();
    }
    Send(WM_CAP_SET_SCALE, previewScaleToWindow_, 0);
    Send(WM_CAP_SET_PREVIEWRATE, static_cast<WPARAM>(PreviewPeriod(previewRate_)), 0);
    UpdateStatus(true);
    FitCaptureWindow();
    return true;
}

void TVideo::CloseDriver() {
    if (!DriverOpen()) return;
    Send(WM_CAP_DRIVER_DISCONNECT, 0, 0);
    DestroyWindow(captureWindow_);
    captureWindow_ = nullptr;
}

bool TVideo::UpdateStatus(bool notify) {
    bool result = false;
    if (DriverOpen()) {
        if (!captureStatus_) captureStatus_ = std::make_unique<CAPSTATUS>();
        result = Succeeded(Send(WM_CAP_GET_STATUS, sizeof(CAPSTATUS), reinterpret_cast<LPARAM>(captureStatus_.get())));
    }
    if (notify && onStatus_) onStatus_(this);
    return result;
}

bool TVideo::ReadDriverCaps() {
    if (driverCaps_) return true;
    if (driverIndex_ == -1) return false;
    const bool wasOpen = DriverOpen();
    if (!wasOpen) OpenDriver();
    if (!DriverOpen()) return false;
    driverCaps_ = std::make_unique<CAPDRIVERCAPS>();
    const bool read =
        Succeeded(Send(WM_CAP_DRIVER_GET_CAPS, sizeof(CAPDRIVERCAPS), reinterpret_cast<LPARAM>(driverCaps_.get())));
    if (!read) driverCaps_.reset();
    if (!wasOpen) CloseDriver();
    return read;
}

bool TVideo::HasOverlay() { return ReadDriverCaps() && driverCaps_->fHasOverlay != 0; }

bool TVideo::GrabFrame() {
    if (!DriverOpen()) return false;
    const bool grabbed = Succeeded(Send(WM_CAP_GRAB_FRAME, 0, 0));
    if (grabbed) UpdateStatus(true);
    return grabbed;
}

// The path goes to the service whole: cutting it to a fixed length would
// write the frame somewhere else.
bool TVideo::SaveFrameToDIB() {
    if (!DriverOpen()) return false;
    return Succeeded(Send(WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(singleImageFile_.c_str())));
}

// Without a usable video or control size (a status of 0 x 0, a control of no
// area) the proportional window fills the control.
void TVideo::FitCaptureWindow() {
    if (!DriverOpen()) return;
    const int imageWidth = captureStatus_ ? static_cast<int>(captureStatus_->uiImageWidth) : 0;
    const int imageHeight = captureStatus_ ? static_cast<int>(captureStatus_->uiImageHeight) : 0;
    int width = window_.Width();
    int height = window_.Height();
    if (!previewScaleToWindow_) {
        width = imageWidth;
        height = imageHeight;
    } else if (previewScaleProportional_ && imageWidth > 0 && imageHeight > 0 && width > 0 && height > 0) {
        const float controlAspect = static_cast<float>(width) / static_cast<float>(height);
        const float videoAspect = static_cast<float>(imageWidth) / static_cast<float>(imageHeight);
        if (controlAspect > videoAspect)
            width = static_cast<int>(std::nearbyint(static_cast<double>(height) * videoAspect));
        else
            height = static_cast<int>(std::nearbyint(static_cast<double>(width) / videoAspect));
    }
    MoveWindow(captureWindow_, 0, 0, width, height, true);
}

void TVideo::FreeCaptureBuffers() {
    driverCaps_.reset();
    captureStatus_.reset();
}

void TVideo::WMSize() {
    if (DriverOpen() && previewScaleToWindow_) FitCaptureWindow();
}

}  // namespace quorvane
