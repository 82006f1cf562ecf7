// The video devices behind the capture service: ten driver slots, each empty
// or holding a device that can be described and opened for streaming.
//
// The editor uses the V4L2 devices (slot i is /dev/video<i>); tests and the
// QUORVANE_FAKE_CAMERA environment variable put fake cameras behind the same
// interface.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/bitmap.h"

namespace quorvane {

inline constexpr int CaptureSlotCount = 10;

struct DeviceDescription {
    std::string name;     // the device's own name (a V4L2 card name)
    std::string version;  // its driver's name and version
};

enum class FrameRead {
    Frame,    // a new frame was stored
    NoFrame,  // none is ready yet; try again later
    Gone,     // the device has disappeared; no more frames will come
};

// An opened device that streams frames at one negotiated size.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Takes the newest frame the device has ready without waiting for one.
    // On Frame, `frame` holds it as a 24-bit picture of Width x Height; on
    // NoFrame it is unchanged.
    virtual FrameRead ReadFrame(Bitmap& frame) = 0;
};

class CaptureDevices {
public:
    virtual ~CaptureDevices() = default;
    // The device in slot 0 to 9, or nothing when the slot holds no device
    // that can capture video.
    virtual std::optional<DeviceDescription> Describe(int slot) = 0;
    // Opens and starts streaming the device in the slot; nothing when the
    // slot is empty or the device refuses.
    virtual std::unique_ptr<FrameSource> Open(int slot) = 0;
};

// The devices in force: until a program installs its own, the V4L2 devices,
// or FakeCaptureDevices::Demonstration when
// QUORVANE_FAKE_CAMERA is set.
CaptureDevices& TheCaptureDevices();
// Installs `devices` (not owned); nullptr goes back to the default.
void SetCaptureDevices(CaptureDevices* devices);

}  // namespace quorvane
