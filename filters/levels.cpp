#include "filters/levels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <mutex>

#include "filters/channel_range.h"
#include "filters/channel_tables.h"
#include "filters/frame.h"
#include "platform/error.h"

namespace quorvane {

namespace {

// Smallest and largest value of each channel, in byte order blue, green, red.
struct ChannelRanges {
    std::array<std::int32_t, 3> minimum{256, 256, 256};
    std::array<std::int32_t, 3> maximum{-1, -1, -1};

    void Merge(const ChannelRanges& other) {
        for (int c = 0; c < 3; ++c) {
            minimum[c] = std::min(minimum[c], other.minimum[c]);
            maximum[c] = std::max(maximum[c], other.maximum[c]);
        }
    }
};

// The ranges over the whole selection: its pixels inside the image, and the
// OutsideImageColour that a copy holds wherever it reaches past the image.
ChannelRanges MeasureSelection(const InPlaceFrame& frame) {
    ChannelRanges ranges;
    if (frame.Inside().ReachesPastImage()) {
        const PixelBytes outside = BytesOf(OutsideImageColour);
        for (int c = 0; c < 3; ++c) ranges.minimum[c] = ranges.maximum[c] = outside[c];
    }
    std::mutex merge;
    PassOverSelectionInImage(frame, [&](const std::uint8_t* pixel, int count, int, int) {
        std::array<std::uint8_t, 3> low{255, 255, 255};
        std::array<std::uint8_t, 3> high{0, 0, 0};
        WidenChannelRange(pixel, count, low, high);
        ChannelRanges runRanges;
        for (int c = 0; c < 3; ++c) {
            runRanges.minimum[c] = low[c];
            runRanges.maximum[c] = high[c];
        }
        const std::lock_guard lock(merge);
        ranges.Merge(runRanges);
    });
    return ranges;
}

ChannelTables::Curve StretchCurve(std::int32_t minimum, std::int32_t maximum) {
    if (maximum == minimum) throw Error("Floating point division by zero");
    const double scale = static_cast<double>(255.0L / static_cast<long double>(maximum - minimum));
    const double offset = static_cast<double>(-static_cast<long double>(scale) * minimum);
    ChannelTables::Curve curve{};
    for (std::int32_t v = minimum; v <= maximum; ++v)
        curve[v] = static_cast<std::uint8_t>(std::lrint(static_cast<long double>(v) * scale + offset));
    return curve;
}

}  // namespace

void OptimizeLevels() {
    const InPlaceFrame frame;
    const ChannelRanges ranges = MeasureSelection(frame);
    ChannelTables tables;
    tables.blue = StretchCurve(ranges.minimum[0], ranges.maximum[0]);
    tables.green = StretchCurve(ranges.minimum[1], ranges.maximum[1]);
    tables.red = StretchCurve(ranges.minimum[2], ranges.maximum[2]);
    ApplyToSelection(frame, tables);
}

}  // namespace quorvane
