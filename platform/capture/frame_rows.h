// Turning a device's buffer of packed 24-bit rows into a picture. The buffer
// comes from a driver and is not trusted: its length and row pitch are
// checked before a byte is read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"

namespace quorvane {

struct FrameLayout {
    int width = 0;
    int height = 0;
    std::size_t bytesPerLine = 0;  // distance between row starts
};

// True when `layout` describes a picture Bitmap can hold and whose rows of
// 3 x width bytes fit their pitch.
bool IsUsableLayout(const FrameLayout& layout);

// Copies `height` rows of blue-green-red pixels from `data` into `frame`
// (resized to the layout). False, with `frame` unchanged, when the layout is
// unusable or `bytesUsed` is too short to hold every row.
bool CopyFrameRows(const std::uint8_t* data, std::size_t bytesUsed, const FrameLayout& layout, Bitmap& frame);

}  // namespace quorvane
