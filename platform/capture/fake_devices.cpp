#include "platform/capture/fake_devices.h"

#include <utility>

namespace quorvane {

namespace {

class FakeSource final : public FrameSource {
public:
    FakeSource(const FakeCamera& camera, std::shared_ptr<bool> unplugged, std::shared_ptr<int> openSources)
        : camera_(camera), unplugged_(std::move(unplugged)), openSources_(std::move(openSources)) {
        ++*openSources_;
    }
    ~FakeSource() override { --*openSources_; }

    int Width() const override { return camera_.width; }
    int Height() const override { return camera_.height; }

    FrameRead ReadFrame(Bitmap& frame) override {
        if (*unplugged_ || (camera_.framesBeforeGone && framesRead_ >= *camera_.framesBeforeGone))
            return FrameRead::Gone;
        frame = FakeFrame(camera_.width, camera_.height, framesRead_++);
        return FrameRead::Frame;
    }

private:
    FakeCamera camera_;
    std::shared_ptr<bool> unplugged_;
    std::shared_ptr<int> openSources_;
    int framesRead_ = 0;
};

}  // namespace

Bitmap FakeFrame(int width, int height, int frameNumber) {
    Bitmap frame(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = frame.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x);
            row[3 * x + 1] = static_cast<std::uint8_t>(y);
            row[3 * x + 2] = static_cast<std::uint8_t>(frameNumber);
        }
    }
    return frame;
}

const FakeCaptureDevices::Slot* FakeCaptureDevices::SlotAt(int slot) const {
    if (slot < 0 || slot >= CaptureSlotCount || !slots_[static_cast<std::size_t>(slot)]) return nullptr;
    return &*slots_[static_cast<std::size_t>(slot)];
}

std::optional<DeviceDescription> FakeCaptureDevices::Describe(int slot) {
    const Slot* found = SlotAt(slot);
    if (found == nullptr) return std::nullopt;
    return DeviceDescription{found->camera.name, found->camera.version};
}

std::unique_ptr<FrameSource> FakeCaptureDevices::Open(int slot) {
    const Slot* found = SlotAt(slot);
    if (found == nullptr || found->camera.refusesConnect) return nullptr;
    ++openCount_;
    return std::make_unique<FakeSource>(found->camera, found->unplugged, openSources_);
}

void FakeCaptureDevices::Plug(int slot, FakeCamera camera) {
    slots_.at(static_cast<std::size_t>(slot)) = Slot{std::move(camera)};
}

void FakeCaptureDevices::Unplug(int slot) {
    auto& entry = slots_.at(static_cast<std::size_t>(slot));
    if (entry) *entry->unplugged = true;
    entry.reset();
}

std::unique_ptr<FakeCaptureDevices> FakeCaptureDevices::Demonstration() {
    auto devices = std::make_unique<FakeCaptureDevices>();
    FakeCamera camera;
    camera.name = "Quorvane test camera";
    devices->Plug(0, camera);
    return devices;
}

}  // namespace quorvane
