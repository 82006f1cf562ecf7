// The capture service's devices over V4L2, through libv4l2, which converts
// every camera format (MJPEG, YUYV and the rest) to 24-bit blue-green-red.
// Slot i is /dev/video<i> when that device can stream video.
#pragma once

#include "platform/capture/capture_devices.h"

namespace quorvane {

class V4l2CaptureDevices final : public CaptureDevices {
public:
    // Description: the card name; version: the driver's name and its version.
    std::optional<DeviceDescription> Describe(int slot) override;
    // Opens the device without blocking, keeps its default frame size (640 x
    // 480 when it reports none) in BGR24 and streams through mapped buffers.
    std::unique_ptr<FrameSource> Open(int slot) override;
};

}  // namespace quorvane
