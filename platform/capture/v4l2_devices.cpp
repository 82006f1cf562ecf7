#include "platform/capture/v4l2_devices.h"

#include <fcntl.h>
#include <libv4l2.h>
#include <linux/videodev2.h>
#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/capture/frame_rows.h"

namespace quorvane {

namespace {

constexpr unsigned RequestedBuffers = 4;
constexpr int FallbackWidth = 640;
constexpr int FallbackHeight = 480;

std::string DevicePath(int slot) { return "/dev/video" + std::to_string(slot); }

int Control(int device, unsigned long request, void* argument) {
    int result = v4l2_ioctl(device, request, argument);
    while (result == -1 && errno == EINTR) result = v4l2_ioctl(device, request, argument);
    return result;
}

// The text of a fixed-size, possibly unterminated name field.
template <std::size_t Size>
std::string FieldText(const __u8 (&field)[Size]) {
    std::size_t length = 0;
    while (length < Size && field[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(field), length);
}

bool CanStreamVideo(const v4l2_capability& capability) {
    const __u32 caps =
        (capability.capabilities & V4L2_CAP_DEVICE_CAPS) != 0 ? capability.device_caps : capability.capabilities;
    return (caps & V4L2_CAP_VIDEO_CAPTURE) != 0 && (caps & V4L2_CAP_STREAMING) != 0;
}

std::string VersionText(const v4l2_capability& capability) {
    const __u32 version = capability.version;
    return FieldText(capability.driver) + " " + std::to_string((version >> 16) & 0xff) + "." +
           std::to_string((version >> 8) & 0xff) + "." + std::to_string(version & 0xff);
}

class V4l2Source final : public FrameSource {
public:
    explicit V4l2Source(int device) : device_(device) {}
    ~V4l2Source() override {
        v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        Control(device_, VIDIOC_STREAMOFF, &type);
        for (const Mapping& mapping : mappings_) v4l2_munmap(mapping.start, mapping.length);
        v4l2_close(device_);
    }
    V4l2Source(const V4l2Source&) = delete;
    V4l2Source& operator=(const V4l2Source&) = delete;

    bool Start() { return NegotiateFormat() && MapBuffers() && StartStreaming(); }

    int Width() const override { return layout_.width; }
    int Height() const override { return layout_.height; }

    // Drains every filled buffer and copies only the newest good one; the
    // others go straight back to the driver.
    FrameRead ReadFrame(Bitmap& frame) override {
        std::optional<v4l2_buffer> newest;
        for (std::size_t taken = 0; taken < mappings_.size(); ++taken) {
            v4l2_buffer buffer{};
            buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            buffer.memory = V4L2_MEMORY_MMAP;
            if (Control(device_, VIDIOC_DQBUF, &buffer) == -1) {
                if (errno == EAGAIN) break;
                return FrameRead::Gone;
            }
            if (buffer.index >= mappings_.size()) return FrameRead::Gone;
            if ((buffer.flags & V4L2_BUF_FLAG_ERROR) != 0) {
                if (!GiveBack(buffer)) return FrameRead::Gone;
                continue;
            }
            if (newest && !GiveBack(*newest)) return FrameRead::Gone;
            newest = buffer;
        }
        if (!newest) return FrameRead::NoFrame;
        const bool copied = TakeBuffer(*newest, frame);
        if (!GiveBack(*newest)) return FrameRead::Gone;
        return copied ? FrameRead::Frame : FrameRead::NoFrame;
    }

private:
    struct Mapping {
        void* start;
        std::size_t length;
    };

    bool GiveBack(v4l2_buffer& buffer) const { return Control(device_, VIDIOC_QBUF, &buffer) == 0; }

    bool TakeBuffer(const v4l2_buffer& buffer, Bitmap& frame) const {
        const Mapping& mapping = mappings_[buffer.index];
        const std::size_t used = std::min<std::size_t>(buffer.bytesused, mapping.length);
        return CopyFrameRows(static_cast<const std::uint8_t*>(mapping.start), used, layout_, frame);
    }

    bool NegotiateFormat() {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (Control(device_, VIDIOC_G_FMT, &format) == -1 || format.fmt.pix.width == 0 || format.fmt.pix.height == 0) {
            format.fmt.pix.width = FallbackWidth;
            format.fmt.pix.height = FallbackHeight;
        }
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.pixelformat = V4L2_PIX_FMT_BGR24;
        format.fmt.pix.field = V4L2_FIELD_ANY;
        format.fmt.pix.bytesperline = 0;
        if (Control(device_, VIDIOC_S_FMT, &format) == -1 || format.fmt.pix.pixelformat != V4L2_PIX_FMT_BGR24)
            return false;
        if (format.fmt.pix.width > 65535 || format.fmt.pix.height > 65535) return false;
        layout_.width = static_cast<int>(format.fmt.pix.width);
        layout_.height = static_cast<int>(format.fmt.pix.height);
        layout_.bytesPerLine = format.fmt.pix.bytesperline != 0
                                   ? format.fmt.pix.bytesperline
                                   : static_cast<std::size_t>(layout_.width) * Bitmap::BytesPerPixel;
        return IsUsableLayout(layout_);
    }

    bool MapBuffers() {
        v4l2_requestbuffers request{};
        request.count = RequestedBuffers;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        if (Control(device_, VIDIOC_REQBUFS, &request) == -1 || request.count == 0) return false;
        for (unsigned index = 0; index < request.count; ++index) {
            v4l2_buffer buffer{};
            buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            buffer.memory = V4L2_MEMORY_MMAP;
            buffer.index = index;
            if (Control(device_, VIDIOC_QUERYBUF, &buffer) == -1) return false;
            void* start = v4l2_mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE, MAP_SHARED, device_,
                                    buffer.m.offset);
            if (start == MAP_FAILED) return false;
            mappings_.push_back({start, buffer.length});
            if (Control(device_, VIDIOC_QBUF, &buffer) == -1) return false;
        }
        return true;
    }

    bool StartStreaming() {
        v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        return Control(device_, VIDIOC_STREAMON, &type) == 0;
    }

    int device_;
    FrameLayout layout_;
    std::vector<Mapping> mappings_;
};

// The device in a slot, opened, when it can stream video; -1 otherwise.
int OpenVideoDevice(int slot, v4l2_capability& capability) {
    if (slot < 0 || slot >= CaptureSlotCount) return -1;
    const int device = v4l2_open(DevicePath(slot).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (device == -1) return -1;
    if (Control(device, VIDIOC_QUERYCAP, &capability) == 0 && CanStreamVideo(capability)) return device;
    v4l2_close(device);
    return -1;
}

}  // namespace

std::optional<DeviceDescription> V4l2CaptureDevices::Describe(int slot) {
    v4l2_capability capability{};
    const int device = OpenVideoDevice(slot, capability);
    if (device == -1) return std::nullopt;
    v4l2_close(device);
    return DeviceDescription{FieldText(capability.card), VersionText(capability)};
}

std::unique_ptr<FrameSource> V4l2CaptureDevices::Open(int slot) {
    v4l2_capability capability{};
    const int device = OpenVideoDevice(slot, capability);
    if (device == -1) return nullptr;
    auto source = std::make_unique<V4l2Source>(device);
    if (!source->Start()) return nullptr;
    return source;
}

}  // namespace quorvane
