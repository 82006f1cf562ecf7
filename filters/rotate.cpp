// Quarter turns, copied in square tiles so that both the rows read and the
// rows written stay in cache.
#include <algorithm>
#include <cstring>
#include <utility>

#include "app/document.h"
#include "filters/geometry.h"
#include "filters/parallel_rows.h"
#include "platform/services.h"

namespace quorvane {

namespace {

constexpr int Tile = 64;

// Fills `turned` (H wide, W high) from `image` (W wide, H high).
void Turn(const Bitmap& image, Bitmap& turned, bool clockwise) {
    const int width = image.Width();
    const int height = image.Height();
    ForRowBlocks((width + Tile - 1) / Tile, std::int64_t{height} * Tile, [&](int firstBand, int endBand) {
        for (int band = firstBand; band < endBand; ++band) {
            const int firstRow = band * Tile;
            const int endRow = std::min(firstRow + Tile, width);
            for (int firstColumn = 0; firstColumn < height; firstColumn += Tile) {
                const int endColumn = std::min(firstColumn + Tile, height);
                for (int row = firstRow; row < endRow; ++row) {
                    std::uint8_t* to = turned.ScanLine(row);
                    // Left: target (column, row) holds source (W - 1 - row, column);
                    // right: source (row, H - 1 - column).
                    for (int column = firstColumn; column < endColumn; ++column) {
                        const std::uint8_t* from = clockwise ? image.ScanLine(height - 1 - column) + 3 * row
                                                             : image.ScanLine(column) + 3 * (width - 1 - row);
                        std::memcpy(to + 3 * column, from, 3);
                    }
                }
            }
        }
    });
}

}  // namespace

void RotateImage(std::int32_t direction) {
    const BusyCursor busy;
    Bitmap turned(ImageBitmap.Height(), ImageBitmap.Width());
    if (!ImageBitmap.Empty()) Turn(ImageBitmap, turned, direction != 0);
    ImageBitmap = std::move(turned);
    SelectAll();
}

}  // namespace quorvane
