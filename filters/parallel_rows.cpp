#include "filters/parallel_rows.h"

#include <system_error>
#include <thread>

namespace quorvane {

namespace {

// Below this many pixels starting a thread costs more than it saves.
constexpr std::int64_t ParallelThreshold = std::int64_t{1} << 16;

}  // namespace

void ForRowBlocks(int rows, std::int64_t pixelsPerRow, const std::function<void(int, int)>& work) {
    if (rows <= 0) return;
    if (rows < 2 || std::int64_t{rows} * pixelsPerRow < ParallelThreshold || std::thread::hardware_concurrency() < 2) {
        work(0, rows);
        return;
    }
    const int half = rows / 2;
    std::jthread helper;  // joins when this call ends, also when the first block throws
    try {
        helper = std::jthread(work, half, rows);
    } catch (const std::system_error&) {
        work(0, rows);
        return;
    }
    work(0, half);
}

}  // namespace quorvane
