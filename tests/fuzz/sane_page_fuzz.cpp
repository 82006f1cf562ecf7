// Feeds a made-up scanner to the source manager's page reader: the frames'
// parameters and their data come from the input, as a hostile or broken
// SANE backend could send them. The reader may refuse the page, but must
// never crash or touch memory it does not own, and every page it accepts is
// a DIB our own decoder reads.
//
// Input: a frame count byte (1..3), then per frame 12 bytes — format, last
// frame flag, depth, a chunk size byte, bytes per line (16 bits), pixels per
// line (16 bits), lines (16 bits, signed: -1 for unknown), data length (16
// bits) — then the frames' data one after the other.
#include <sane/sane.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/bmp.h"
#include "platform/dsm/dsm_host.h"
#include "platform/dsm/sane_page.h"
#include "platform/error.h"

namespace {

struct FakeFrame {
    SANE_Parameters parameters{};
    int chunk = 1;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

struct FakeScanner {
    std::vector<FakeFrame> frames;
    std::size_t current = 0;
    std::size_t sent = 0;
} scanner;

std::uint16_t Word(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }

bool Parse(const std::uint8_t* data, std::size_t size) {
    scanner = FakeScanner{};
    if (size < 1) return false;
    const int count = 1 + data[0] % 3;
    std::size_t at = 1;
    for (int i = 0; i < count; ++i, at += 12) {
        if (at + 12 > size) return false;
        FakeFrame frame;
        frame.parameters.format = static_cast<SANE_Frame>(data[at] % 6);
        frame.parameters.last_frame = i == count - 1 || (data[at + 1] & 1) != 0;
        const std::uint8_t depths[] = {1, 8, 16, data[at + 2]};
        frame.parameters.depth = depths[data[at + 2] % 4];
        frame.chunk = 1 + data[at + 3];
        frame.parameters.bytes_per_line = Word(data + at + 4);
        frame.parameters.pixels_per_line = Word(data + at + 6);
        frame.parameters.lines = static_cast<std::int16_t>(Word(data + at + 8));
        frame.size = Word(data + at + 10);
        scanner.frames.push_back(frame);
    }
    for (FakeFrame& frame : scanner.frames) {
        frame.size = std::min(frame.size, size - at);
        frame.data = data + at;
        at += frame.size;
    }
    return true;
}

}  // namespace

// A made-up scanner has no reader thread to wait for.
void quorvane::dsm::LetReaderExit() {}

extern "C" SANE_Status sane_get_parameters(SANE_Handle, SANE_Parameters* parameters) {
    *parameters = scanner.frames.at(scanner.current).parameters;
    return SANE_STATUS_GOOD;
}

extern "C" SANE_Status sane_read(SANE_Handle, SANE_Byte* buffer, SANE_Int room, SANE_Int* length) {
    const FakeFrame& frame = scanner.frames.at(scanner.current);
    *length = static_cast<SANE_Int>(std::min<std::size_t>({std::size_t(frame.chunk), std::size_t(room), frame.size - scanner.sent}));
    if (*length == 0) return SANE_STATUS_EOF;
    std::memcpy(buffer, frame.data + scanner.sent, static_cast<std::size_t>(*length));
    scanner.sent += static_cast<std::size_t>(*length);
    return SANE_STATUS_GOOD;
}

extern "C" SANE_Status sane_start(SANE_Handle) {
    if (scanner.current + 1 >= scanner.frames.size()) return SANE_STATUS_NO_DOCS;
    ++scanner.current;
    scanner.sent = 0;
    return SANE_STATUS_GOOD;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!Parse(data, size)) return 0;
    std::atomic<int> percent{0};
    const quorvane::dsm::PageResult page = quorvane::dsm::ReadPage(nullptr, percent);
    if (page.block == nullptr) return 0;
    const auto* dib = static_cast<const std::uint8_t*>(QuorvaneLockBlock(page.block));
    try {
        quorvane::DecodeDib(dib, QuorvaneBlockSize(page.block));
    } catch (const quorvane::Error&) {
        std::abort();  // a page the reader accepted must be a readable DIB
    }
    QuorvaneUnlockBlock(page.block);
    QuorvaneFreeBlock(page.block);
    return 0;
}
