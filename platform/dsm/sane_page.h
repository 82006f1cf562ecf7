// One page read from a SANE device into a DIB in a movable memory block of
// the application: 24 bits for colour (three-pass frames merged), 8 bits with
// a gray palette for gray, 1 bit with a black-and-white palette for line art.
// 16-bit samples are reduced to 8; a page of unknown height (hand scanners)
// is as high as the lines that arrived.
#pragma once

#include <sane/sane.h>

#include <atomic>

namespace quorvane::dsm {

struct PageResult {
    void* block = nullptr;  // the DIB on SANE_STATUS_GOOD
    SANE_Status status = SANE_STATUS_GOOD;
};

// Reads the page whose first frame was started with sane_start; `percent`
// follows how much of the current frame arrived (-1 while its size is unknown).
PageResult ReadPage(SANE_Handle device, std::atomic<int>& percent);

// Backends that read the device in a thread of their own cancel that thread
// when a frame ends (its last sane_read, an error, or sane_cancel).
// Cancelling a thread that is just exiting can deadlock in the C library, so
// a frame is read, and ended, only after a finished reader had a moment to
// exit.
void LetReaderExit();

}  // namespace quorvane::dsm
