// Nearest-neighbour scaling: a table of source byte offsets for the columns,
// and a row that repeats the one above it is copied whole.
#include <cstring>
#include <utility>
#include <vector>

#include "app/document.h"
#include "filters/geometry.h"
#include "filters/parallel_rows.h"

namespace quorvane {

namespace {

// The source index under the centre of target index `target`.
int SourceIndex(std::int64_t target, std::int64_t sourceSize, std::int64_t targetSize) {
    return static_cast<int>((2 * target + 1) * sourceSize / (2 * targetSize));
}

void Stretch(const Bitmap& image, Bitmap& scaled) {
    const int width = scaled.Width();
    const int height = scaled.Height();
    std::vector<std::size_t> columnOffsets(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) columnOffsets[x] = 3 * static_cast<std::size_t>(SourceIndex(x, image.Width(), width));
    ForRowBlocks(height, width, [&](int firstRow, int endRow) {
        int previousSource = -1;
        for (int y = firstRow; y < endRow; ++y) {
            const int source = SourceIndex(y, image.Height(), height);
            std::uint8_t* to = scaled.ScanLine(y);
            if (source == previousSource) {
                std::memcpy(to, scaled.ScanLine(y - 1), 3 * static_cast<std::size_t>(width));
                continue;
            }
            const std::uint8_t* from = image.ScanLine(source);
            for (int x = 0; x < width; ++x) std::memcpy(to + 3 * x, from + columnOffsets[x], 3);
            previousSource = source;
        }
    });
}

}  // namespace

void ResizeImage(std::int32_t width, std::int32_t height) {
    Bitmap scaled(width, height);
    if (!scaled.Empty() && !ImageBitmap.Empty()) Stretch(ImageBitmap, scaled);
    ImageBitmap = std::move(scaled);
    SelectAll();
}

}  // namespace quorvane
