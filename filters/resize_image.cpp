// Nearest-neighbour scaling: a table of source byte offsets for the columns,
// and a row that repeats the one above it is copied whole, from cache.
#include <cstring>
#include <utility>
#include <vector>

#include "app/document.h"
#include "filters/geometry.h"
#include "filters/mean.h"
#include "filters/parallel_rows.h"

namespace quorvane {

namespace {

// The source index under the centre of target index `target`.
int SourceIndex(std::int64_t target, std::int64_t sourceSize, std::int64_t targetSize) {
    return static_cast<int>((2 * target + 1) * sourceSize / (2 * targetSize));
}

// Fills a target row from a source row. The pixels before `wordEnd`, whose
// sources are not the last pixel of the source row, move as four-byte words
// whose fourth byte the next pixel overwrites; the rest move byte by byte.
void StretchRow(std::uint8_t* to, const std::uint8_t* from, const std::vector<std::size_t>& columnOffsets,
                int wordEnd) {
    const int width = static_cast<int>(columnOffsets.size());
    int x = 0;
    for (; x < wordEnd; ++x) {
        std::uint32_t word;
        std::memcpy(&word, from + columnOffsets[x], 4);
        std::memcpy(to + 3 * x, &word, 4);
    }
    for (; x < width; ++x) std::memcpy(to + 3 * x, from + columnOffsets[x], 3);
}

void Stretch(const Bitmap& image, Bitmap& scaled) {
    const int width = scaled.Width();
    const int height = scaled.Height();
    const int lastColumn = image.Width() - 1;
    std::vector<std::size_t> columnOffsets(static_cast<std::size_t>(width));
    int wordEnd = width - 1;  // the last target pixel must not write past its row
    for (int x = 0; x < width; ++x) {
        const int source = SourceIndex(x, image.Width(), width);
        columnOffsets[x] = 3 * static_cast<std::size_t>(source);
        if (source == lastColumn && x < wordEnd) wordEnd = x;
    }
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    ForRowBlocks(height, width, [&](int firstRow, int endRow) {
        int previousSource = -1;
        for (int y = firstRow; y < endRow; ++y) {
            const int source = SourceIndex(y, image.Height(), height);
            std::uint8_t* to = scaled.ScanLine(y);
            if (source == previousSource)
                std::memcpy(to, scaled.ScanLine(y - 1), rowBytes);
            else
                StretchRow(to, image.ScanLine(source), columnOffsets, wordEnd);
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

void ResizeWithPseudoInterpolation(std::int32_t width, std::int32_t height, std::int32_t oldWidth,
                                   std::int32_t oldHeight, bool pseudoInterpolation) {
    ResizeImage(width, height);
    if (pseudoInterpolation && (width > oldWidth || height > oldHeight)) Mean(1);
}

}  // namespace quorvane
