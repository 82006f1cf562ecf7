#include "platform/dsm/sane_page.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "platform/dsm/dsm_host.h"

namespace quorvane::dsm {
namespace {

struct Frame {
    SANE_Parameters parameters;
    std::vector<std::uint8_t> bytes;

    int Lines() const {
        return parameters.bytes_per_line > 0 ? static_cast<int>(bytes.size() / parameters.bytes_per_line) : 0;
    }
    int Channels() const { return parameters.format == SANE_FRAME_RGB ? 3 : 1; }
    // Sample `index` of line `y` as 8 bits; for 1-bit samples a set bit is full intensity.
    std::uint8_t Sample(int y, int index) const {
        const std::uint8_t* line = bytes.data() + static_cast<std::size_t>(y) * parameters.bytes_per_line;
        switch (parameters.depth) {
            case 1:
                return (line[index / 8] >> (7 - index % 8)) & 1 ? 255 : 0;
            case 16: {
                std::uint16_t sample;
                std::memcpy(&sample, line + 2 * index, 2);
                return static_cast<std::uint8_t>(sample >> 8);
            }
            default:
                return line[index];
        }
    }
};

// Whether the lines of a frame hold the samples its parameters claim, in a
// format and depth this reader knows: a device's word is not trusted.
bool Readable(const SANE_Parameters& parameters) {
    if (parameters.format > SANE_FRAME_BLUE) return false;
    if (parameters.depth != 1 && parameters.depth != 8 && parameters.depth != 16) return false;
    if (parameters.pixels_per_line <= 0 || parameters.bytes_per_line <= 0) return false;
    const std::size_t samples =
        std::size_t(parameters.pixels_per_line) * (parameters.format == SANE_FRAME_RGB ? 3 : 1);
    return (samples * parameters.depth + 7) / 8 <= std::size_t(parameters.bytes_per_line);
}

SANE_Status ReadFrame(SANE_Handle device, Frame& frame, std::atomic<int>& percent) {
    SANE_Status status = sane_get_parameters(device, &frame.parameters);
    if (status != SANE_STATUS_GOOD) return status;
    if (!Readable(frame.parameters)) return SANE_STATUS_UNSUPPORTED;
    const std::size_t frameBytes =
        frame.parameters.lines > 0 ? std::size_t(frame.parameters.lines) * frame.parameters.bytes_per_line : 0;
    // Room for the frame the device announces, within reason: the data itself decides.
    frame.bytes.reserve(std::min<std::size_t>(frameBytes, std::size_t{64} << 20));
    percent = frameBytes != 0 ? 0 : -1;
    // A frame small enough for the reader's pipe is written whole at once,
    // and its reader exits right away.
    LetReaderExit();
    std::uint8_t buffer[32768];
    for (;;) {
        if (frameBytes != 0 && frame.bytes.size() >= frameBytes) LetReaderExit();
        SANE_Int length = 0;
        status = sane_read(device, buffer, sizeof buffer, &length);
        if (status == SANE_STATUS_EOF) return SANE_STATUS_GOOD;
        if (status != SANE_STATUS_GOOD) return status;
        frame.bytes.insert(frame.bytes.end(), buffer, buffer + std::clamp<SANE_Int>(length, 0, sizeof buffer));
        if (frameBytes != 0) percent = static_cast<int>(std::min<std::size_t>(100, frame.bytes.size() * 100 / frameBytes));
    }
}

// A new DIB of 1, 8 or 24 bits a pixel, locked while its rows are written;
// 1 and 8 bits come with a black-to-white palette.
class Dib {
public:
    Dib(int width, int height, int bitCount)
        : height_(height),
          colours_(bitCount <= 8 ? 1 << bitCount : 0),
          stride_((static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4) {
        block_ = QuorvaneAllocateBlock(RowsAt() + stride_ * height);
        if (block_ == nullptr) return;
        data_ = static_cast<std::uint8_t*>(QuorvaneLockBlock(block_));
        const std::int32_t header[] = {40, width, height};
        std::memcpy(data_, header, sizeof header);
        const std::uint16_t planesAndBits[] = {1, static_cast<std::uint16_t>(bitCount)};
        std::memcpy(data_ + 12, planesAndBits, sizeof planesAndBits);
        const auto sizeImage = static_cast<std::uint32_t>(stride_ * height);
        std::memcpy(data_ + 20, &sizeImage, 4);
        const auto colours = static_cast<std::uint32_t>(colours_);
        std::memcpy(data_ + 32, &colours, 4);
        for (int i = 0; i < colours_; ++i) std::memset(data_ + 40 + 4 * i, i * 255 / (colours_ - 1), 3);
    }
    bool Allocated() const { return block_ != nullptr; }
    // The row of image line y; DIB rows run bottom-up.
    std::uint8_t* Row(int y) { return data_ + RowsAt() + stride_ * static_cast<std::size_t>(height_ - 1 - y); }
    void* Finish() {
        if (block_ != nullptr) QuorvaneUnlockBlock(block_);
        return block_;
    }

private:
    std::size_t RowsAt() const { return 40 + 4 * static_cast<std::size_t>(colours_); }

    int height_;
    int colours_;
    std::size_t stride_;
    void* block_ = nullptr;
    std::uint8_t* data_ = nullptr;
};

void* ColourDib(const std::vector<Frame>& frames, int width, int height) {
    Dib dib(width, height, 24);
    if (!dib.Allocated()) return nullptr;
    for (const Frame& frame : frames) {
        // Byte of the BGR pixel each channel of this frame lands in.
        const int channel = frame.parameters.format == SANE_FRAME_RED     ? 2
                            : frame.parameters.format == SANE_FRAME_GREEN ? 1
                                                                          : 0;
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = dib.Row(y);
            for (int x = 0; x < width; ++x) {
                if (frame.parameters.format == SANE_FRAME_RGB) {
                    for (int c = 0; c < 3; ++c) row[3 * x + 2 - c] = frame.Sample(y, 3 * x + c);
                } else {
                    row[3 * x + channel] = frame.Sample(y, x);
                }
            }
        }
    }
    return dib.Finish();
}

void* GrayDib(const Frame& frame, int width, int height) {
    if (frame.parameters.depth == 1) {
        Dib dib(width, height, 1);
        if (!dib.Allocated()) return nullptr;
        // SANE's line art sets a bit for black; palette entry 1 is white.
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = dib.Row(y);
            for (int x = 0; x < width; ++x)
                if (frame.Sample(y, x) == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        return dib.Finish();
    }
    Dib dib(width, height, 8);
    if (!dib.Allocated()) return nullptr;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = dib.Row(y);
        for (int x = 0; x < width; ++x) row[x] = frame.Sample(y, x);
    }
    return dib.Finish();
}

}  // namespace

PageResult ReadPage(SANE_Handle device, std::atomic<int>& percent) try {
    std::vector<Frame> frames;
    for (;;) {
        Frame& frame = frames.emplace_back();
        const SANE_Status status = ReadFrame(device, frame, percent);
        if (status != SANE_STATUS_GOOD) return {nullptr, status};
        if (frame.parameters.last_frame) break;
        if (const SANE_Status next = sane_start(device); next != SANE_STATUS_GOOD) return {nullptr, next};
    }
    const int width = frames.front().parameters.pixels_per_line;
    int height = frames.front().Lines();
    for (const Frame& frame : frames) {
        if (frame.parameters.pixels_per_line != width) return {nullptr, SANE_STATUS_IO_ERROR};
        height = std::min(height, frame.Lines());
    }
    if (height <= 0) return {nullptr, SANE_STATUS_IO_ERROR};
    const bool gray = frames.size() == 1 && frames.front().parameters.format == SANE_FRAME_GRAY;
    void* block = gray ? GrayDib(frames.front(), width, height) : ColourDib(frames, width, height);
    return {block, block != nullptr ? SANE_STATUS_GOOD : SANE_STATUS_NO_MEM};
} catch (const std::bad_alloc&) {
    return {nullptr, SANE_STATUS_NO_MEM};
}

}  // namespace quorvane::dsm
