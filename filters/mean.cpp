#include "filters/mean.h"

#include <algorithm>
#include <vector>

#include "app/document.h"
#include "filters/frame.h"
#include "filters/parallel_rows.h"
#include "platform/error.h"

namespace quorvane {

namespace {

// The window sums are kept as running sums: a clamped window moving by one
// step loses the clamped index of its first element and gains that of the
// element after its last, so the sum stays exact whatever the radius. The
// work bitmap is only read; results go straight into the part of the image
// the write-back would cover, so no second copy of the selection is needed.

std::int64_t ClampIndex(std::int64_t index, std::int64_t size) {
    return index < 0 ? 0 : index >= size ? size - 1 : index;
}

// Sum over the clamped window [centre - n, centre + n] of value(index).
template <typename Sum, typename Value>
Sum WindowSum(std::int64_t centre, std::int64_t n, std::int64_t size, const Value& value) {
    const std::int64_t below = std::max<std::int64_t>(0, n - centre);
    const std::int64_t above = std::max<std::int64_t>(0, centre + n - (size - 1));
    Sum sum = static_cast<Sum>(below) * static_cast<Sum>(value(0)) +
              static_cast<Sum>(above) * static_cast<Sum>(value(size - 1));
    const std::int64_t last = std::min(size - 1, centre + n);
    for (std::int64_t i = std::max<std::int64_t>(0, centre - n); i <= last; ++i) sum += static_cast<Sum>(value(i));
    return sum;
}

// Turns a channel sum into the mean, through a table when it is small.
template <typename Sum>
class Divider {
public:
    Divider(Sum divisor, Sum largestSum) : divisor_(divisor) {
        if (largestSum < TableLimit) {
            table_.resize(static_cast<std::size_t>(largestSum) + 1);
            for (std::size_t s = 0; s < table_.size(); ++s)
                table_[s] = static_cast<std::uint8_t>(static_cast<Sum>(s) / divisor);
        }
    }
    std::uint8_t operator()(Sum sum) const {
        return table_.empty() ? static_cast<std::uint8_t>(sum / divisor_) : table_[static_cast<std::size_t>(sum)];
    }

private:
    static constexpr Sum TableLimit = Sum{1} << 20;
    Sum divisor_;
    std::vector<std::uint8_t> table_;
};

struct MeanJob {
    std::int64_t n;
    SelectionInImage inside;  // the work bitmap's columns and rows that land inside the image
};

template <typename Sum>
void MeanRows(const MeanJob& job, const Divider<Sum>& divide, int firstRow, int endRow) {
    const std::int64_t n = job.n;
    const int width = job.inside.width;
    auto pixelByte = [](int row, std::int64_t column, int channel) {
        return WorkBitmap.ScanLine(row)[3 * column + channel];
    };
    // vertical[3 * x + c]: channel c summed over the clamped column window of x.
    std::vector<Sum> vertical(std::size_t{3} * static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c)
            vertical[3 * x + c] =
                WindowSum<Sum>(firstRow, n, job.inside.height,
                               [&](std::int64_t y) { return pixelByte(static_cast<int>(y), x, c); });
    for (int y = firstRow; y < endRow; ++y) {
        std::uint8_t* out = job.inside.ImagePixel(job.inside.firstColumn, y);
        Sum sum[3];
        for (int c = 0; c < 3; ++c)
            sum[c] = WindowSum<Sum>(job.inside.firstColumn, n, width, [&](std::int64_t x) { return vertical[3 * x + c]; });
        // Between the clamped ends the window slides without clamping.
        const std::int64_t firstFree = std::clamp<std::int64_t>(n, job.inside.firstColumn, job.inside.endColumn);
        const std::int64_t endFree = std::clamp<std::int64_t>(width - n - 1, firstFree, job.inside.endColumn);
        auto clamped = [&](std::int64_t x) {
            const Sum* leaving = &vertical[3 * ClampIndex(x - n, width)];
            const Sum* entering = &vertical[3 * ClampIndex(x + n + 1, width)];
            for (int c = 0; c < 3; ++c) {
                *out++ = divide(sum[c]);
                sum[c] = sum[c] + entering[c] - leaving[c];
            }
        };
        for (std::int64_t x = job.inside.firstColumn; x < firstFree; ++x) clamped(x);
        const Sum* leaving = vertical.data() + 3 * (firstFree - n);
        const Sum* entering = vertical.data() + 3 * (firstFree + n + 1);
        for (std::int64_t x = firstFree; x < endFree; ++x, leaving += 3, entering += 3) {
            out[0] = divide(sum[0]);
            out[1] = divide(sum[1]);
            out[2] = divide(sum[2]);
            out += 3;
            sum[0] = sum[0] + entering[0] - leaving[0];
            sum[1] = sum[1] + entering[1] - leaving[1];
            sum[2] = sum[2] + entering[2] - leaving[2];
        }
        for (std::int64_t x = endFree; x < job.inside.endColumn; ++x) clamped(x);
        if (y + 1 < endRow) {
            const std::uint8_t* leaving = WorkBitmap.ScanLine(static_cast<int>(ClampIndex(y - n, job.inside.height)));
            const std::uint8_t* entering = WorkBitmap.ScanLine(static_cast<int>(ClampIndex(y + n + 1, job.inside.height)));
            for (int i = 0; i < 3 * width; ++i) vertical[i] = vertical[i] + entering[i] - leaving[i];
        }
    }
}

template <typename Sum>
void RunMean(const MeanJob& job) {
    const Sum side = static_cast<Sum>(2 * job.n + 1);
    const Divider<Sum> divide(side * side, side * side * 255);
    const int rows = job.inside.endRow - job.inside.firstRow;
    ForRowBlocks(rows, job.inside.endColumn - job.inside.firstColumn, [&](int first, int end) {
        MeanRows<Sum>(job, divide, job.inside.firstRow + first, job.inside.firstRow + end);
    });
}

// Above this radius 255 * (2n + 1)^2 no longer fits 32 bits.
constexpr std::int32_t LargestNarrowRadius = 2051;

}  // namespace

void Mean(std::int32_t n) {
    if (n < 0) throw Error("Mean radius must be 0 or more");
    FilterFrame frame;
    const int width = frame.Width();
    const int height = frame.Height();
    if (width == 0 || height == 0) return;
    const MeanJob job{n, MeasureSelectionInImage()};
    if (!job.inside.Empty()) {
        if (n <= LargestNarrowRadius)
            RunMean<std::uint32_t>(job);
        else
            RunMean<unsigned __int128>(job);
    }
    FinishPass(WorkBitmap, 0, width, 0, height);
}

}  // namespace quorvane
