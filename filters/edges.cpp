#include "filters/edges.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/document.h"
#include "filters/frame.h"
#include "filters/levels.h"
#include "filters/luminance_plane.h"
#include "filters/parallel_rows.h"
#include "filters/point.h"

namespace quorvane {

namespace {

void MapEdges() {
    const LuminancePlane plane;
    PassOverNeighbourhoods(plane, [](std::uint8_t* pixel, const std::uint8_t* above, const std::uint8_t* here,
                                     const std::uint8_t* below, int x) {
        const int centre = here[x];
        const int sum = std::abs(above[x - 1] - centre) + std::abs(above[x] - centre) +
                        std::abs(above[x + 1] - centre) + std::abs(here[x - 1] - centre) +
                        std::abs(here[x + 1] - centre) + std::abs(below[x - 1] - centre) +
                        std::abs(below[x] - centre) + std::abs(below[x + 1] - centre);
        const std::uint8_t edge = static_cast<std::uint8_t>(sum / 8);
        pixel[0] = edge;
        pixel[1] = edge;
        pixel[2] = edge;
    });
}

// A black one-pixel outline along the outermost pixels of the whole image.
void OutlineImage() {
    if (ImageBitmap.Empty()) return;
    const int width = ImageBitmap.Width();
    const int height = ImageBitmap.Height();
    std::memset(ImageBitmap.ScanLine(0), 0, std::size_t{3} * width);
    std::memset(ImageBitmap.ScanLine(height - 1), 0, std::size_t{3} * width);
    for (int y = 0; y < height; ++y) {
        std::memset(ImageBitmap.ScanLine(y), 0, 3);
        std::memset(ImageBitmap.ScanLine(y) + std::size_t{3} * (width - 1), 0, 3);
    }
}

// Enlarges the interior of the work bitmap, columns 1..W - 2 and rows
// 1..H - 2, over the whole selection: destination offset i of n takes source
// offset i * (n - 2) div n of the interior.
void StretchInteriorOverSelection() {
    const std::int64_t width = WorkBitmap.Width();
    const std::int64_t height = WorkBitmap.Height();
    if (width < 3 || height < 3) return;
    const SelectionInImage inside = MeasureSelectionInImage();
    if (inside.Empty()) return;
    std::vector<std::size_t> sourceOffset(static_cast<std::size_t>(inside.endColumn - inside.firstColumn));
    for (std::int64_t column = inside.firstColumn; column < inside.endColumn; ++column)
        sourceOffset[column - inside.firstColumn] = static_cast<std::size_t>(3 * (1 + column * (width - 2) / width));
    ForRowBlocks(inside.endRow - inside.firstRow, inside.endColumn - inside.firstColumn, [&](int first, int end) {
        for (int row = inside.firstRow + first; row < inside.firstRow + end; ++row) {
            const std::int64_t sourceRow = 1 + row * (height - 2) / height;
            const std::uint8_t* from = WorkBitmap.ScanLine(static_cast<int>(sourceRow));
            std::uint8_t* to = inside.ImagePixel(inside.firstColumn, row);
            for (const std::size_t offset : sourceOffset) {
                to[0] = from[offset];
                to[1] = from[offset + 1];
                to[2] = from[offset + 2];
                to += 3;
            }
        }
    });
}

}  // namespace

void FindEdges() {
    const BusyCursor busy;
    {
        FilterFrame frame;
        MapEdges();
        OutlineImage();
        StretchInteriorOverSelection();
    }
    OptimizeLevels();
    LogarithmChannels(0);
}

}  // namespace quorvane
