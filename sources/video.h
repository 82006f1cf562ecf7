// The capture component: a control that hosts a capture window of the
// capture service as its child and exposes the capture settings as
// properties whose setters act at once on the open driver. It also carries
// the settings of a recording to a file, which no operation uses.
//
// The control's on-screen window is given to it: the Qt widget in the editor,
// a stand-in in the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/capture/avicap.h"
#include "platform/error.h"

namespace quorvane {

class ENoDriverException : public Error {
public:
    ENoDriverException() : Error("No capture driver selected") {}
};

class ENoCapWindowException : public Error {
public:
    ENoCapWindowException() : Error("Can not create capture window") {}
};

class ENotConnectException : public Error {
public:
    ENotConnectException() : Error("Can not connect capture driver with capture window") {}
};

class ENoOverlayException : public Error {
public:
    ENoOverlayException() : Error("Driver has no overlay mode") {}
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The window a TVideo lives in; capture windows become its children.
class VideoControlWindow : public CaptureParent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetSize(int width, int height) = 0;
    virtual void SetColour(TColor colour) = 0;
    virtual void Invalidate() = 0;

    // The size message: called by the window after every change of its size.
    std::function<void()> onSize;
};

class TVideo;
using TCapStatusProc = std::function<void(TVideo* Sender)>;
using TCapStatusCallback = std::function<void(TVideo* Sender, int nID, const std::string& status)>;
using TVideoStream = std::function<void(TVideo* sender, PVIDEOHDR lpVhdr)>;
using TAudioStream = std::function<void(TVideo* sender, PWaveHdr lpWHdr)>;

class TVideo {
public:
    // Create: a 100 x 100 black control with no driver (index -1).
    TVideo(VideoControlWindow& window, std::string name);
    // Destroy: disconnects an open driver.
    ~TVideo();
    TVideo(const TVideo&) = delete;
    TVideo& operator=(const TVideo&) = delete;

    const std::string& Name() const { return name_; }
    VideoControlWindow& Window() const { return window_; }
    // The capture window; none while the driver is closed.
    HWND CaptureWindow() const { return captureWindow_; }

    bool DriverOpen() const { return captureWindow_ != nullptr; }
    void SetDriverOpen(bool value);
    int DriverIndex() const { return driverIndex_; }
    void SetDriverIndex(int value);
    const std::string& DriverName() const { return driverName_; }
    void SetDriverName(const std::string& value);
    // Overlay and preview are read from a freshly fetched status, so a
    // preview that the service ended (a camera unplugged) reads as off.
    bool VideoOverlay();
    void SetVideoOverlay(bool value);
    bool VideoPreview();
    void SetVideoPreview(bool value);
    bool PreviewScaleToWindow() const { return previewScaleToWindow_; }
    void SetPreviewScaleToWindow(bool value);
    bool PreviewScaleProportional() const { return previewScaleProportional_; }
    void SetPreviewScaleProportional(bool value);
    std::uint16_t PreviewRate() const { return previewRate_; }
    void SetPreviewRate(std::uint16_t value);
    std::uint32_t MicroSecPerFrame() const { return microSecPerFrame_; }
    void SetMicroSecPerFrame(std::uint32_t value);
    std::uint16_t FrameRate() const;
    void SetFrameRate(std::uint16_t value);
    bool CapAudio() const { return capAudio_; }
    void SetCapAudio(bool value) { capAudio_ = value; }
    const std::string& VideoFileName() const { return videoFileName_; }
    void SetVideoFileName(const std::string& value) { videoFileName_ = value; }
    const std::string& SingleImageFile() const { return singleImageFile_; }
    void SetSingleImageFile(const std::string& value) { singleImageFile_ = value; }
    std::uint16_t CapTimeLimit() const { return capTimeLimit_; }
    void SetCapTimeLimit(std::uint16_t value) { capTimeLimit_ = value; }
    std::uint32_t CapIndexSize() const { return capIndexSize_; }
    void SetCapIndexSize(std::uint32_t value);
    bool CapToFile() const { return capToFile_; }
    void SetCapToFile(bool value) { capToFile_ = value; }
    TAlign align() const { return align_; }
    void SetAlign(TAlign value) { align_ = value; }

    const TCapStatusProc& OnStatus() const { return onStatus_; }
    void SetOnStatus(TCapStatusProc value) { onStatus_ = std::move(value); }
    const TCapStatusCallback& OnStatusCallback() const { return onStatusCallback_; }
    void SetOnStatusCallback(TCapStatusCallback value);
    const TVideoStream& OnVideoStream() const { return onVideoStream_; }
    void SetOnVideoStream(TVideoStream value);
    const TAudioStream& OnAudioStream() const { return onAudioStream_; }
    void SetOnAudioStream(TAudioStream value);

    bool OpenDriver();
    void CloseDriver();
    bool UpdateStatus(bool notify);
    bool ReadDriverCaps();
    bool HasOverlay();
    bool GrabFrame();
    bool SaveFrameToDIB();
    void FitCaptureWindow();
    void FreeCaptureBuffers();
    void WMSize();

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
    void RegisterStatusCallback();
    void RegisterVideoStream();
    void RegisterAudioStream();
    // Makes the exception, refreshes the status with notification, raises.
    template <typename Exception>
    [[noreturn]] void FailOpening();

    VideoControlWindow& window_;
    std::string name_;
    int driverIndex_ = -1;
    std::string driverName_;
    HWND captureWindow_ = nullptr;
    std::unique_ptr<CAPDRIVERCAPS> driverCaps_;
    std::unique_ptr<CAPSTATUS> captureStatus_;
    bool previewScaleToWindow_ = false;
    bool previewScaleProportional_ = false;
    std::uint16_t previewRate_ = 30;
    std::uint32_t microSecPerFrame_ = 66667;
    std::string videoFileName_ = "Video.avi";
    std::string singleImageFile_ = "Capture.bmp";
    bool capAudio_ = false;
    std::uint16_t capTimeLimit_ = 0;
    std::uint32_t capIndexSize_ = 0;
    bool capToFile_ = true;
    TAlign align_ = TAlign::alNone;
    TCapStatusProc onStatus_;
    TCapStatusCallback onStatusCallback_;
    TVideoStream onVideoStream_;
    TAudioStream onAudioStream_;
};

// The preview period in milliseconds for a rate in frames per second:
// 1000 / rate to the nearest integer, halves to even.
int PreviewPeriod(std::uint16_t rate);

// Ten entries, entry i for driver i: its name, a blank and its version, or
// an empty string for an empty slot.
std::vector<std::string> GetDriverList();

}  // namespace quorvane
