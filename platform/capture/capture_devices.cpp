#include "platform/capture/capture_devices.h"

#include <cstdlib>

#include "platform/capture/fake_devices.h"
#include "platform/capture/v4l2_devices.h"

namespace quorvane {

namespace {

CaptureDevices* installed = nullptr;

CaptureDevices& DefaultDevices() {
    static const std::unique_ptr<CaptureDevices> devices =
        std::getenv("QUORVANE_FAKE_CAMERA") != nullptr
            ? std::unique_ptr<CaptureDevices>(FakeCaptureDevices::Demonstration())
            : std::make_unique<V4l2CaptureDevices>();
    return *devices;
}

}  // namespace

CaptureDevices& TheCaptureDevices() { return installed != nullptr ? *installed : DefaultDevices(); }

void SetCaptureDevices(CaptureDevices* devices) { installed = devices; }

}  // namespace quorvane
