// Fake cameras behind the capture service's device interface, for tests and
// for looking at the webcam dialog on a machine without a camera.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "platform/capture/capture_devices.h"

namespace quorvane {

struct FakeCamera {
    std::string name = "Fake camera";
    std::string version = "fake 1.0.0";
    int width = 640;
    int height = 480;
    bool refusesConnect = false;
    // Frames delivered before the camera disappears; nothing for one that stays.
    std::optional<int> framesBeforeGone;
};

// Frame number `frameNumber` (0 for the first after opening) of a fake
// camera: blue = x mod 256, green = y mod 256, red = frameNumber mod 256.
Bitmap FakeFrame(int width, int height, int frameNumber);

class FakeCaptureDevices final : public CaptureDevices {
public:
    std::optional<DeviceDescription> Describe(int slot) override;
    std::unique_ptr<FrameSource> Open(int slot) override;

    // Puts a camera in the slot (0 to 9).
    void Plug(int slot, FakeCamera camera);
    // Empties the slot; a source opened on it reports Gone from its next read.
    void Unplug(int slot);

    int OpenCount() const { return openCount_; }        // successful opens so far
    int OpenSources() const { return *openSources_; }   // sources not yet destroyed

    // Slot 0: a 640 x 480 camera named "Quorvane test camera"; for
    // QUORVANE_FAKE_CAMERA.
    static std::unique_ptr<FakeCaptureDevices> Demonstration();

private:
    struct Slot {
        FakeCamera camera;
        std::shared_ptr<bool> unplugged = std::make_shared<bool>(false);
    };
    const Slot* SlotAt(int slot) const;

    std::array<std::optional<Slot>, CaptureSlotCount> slots_;
    int openCount_ = 0;
    std::shared_ptr<int> openSources_ = std::make_shared<int>(0);
};

}  // namespace quorvane
