// Quarter turns, copied in square tiles of 512 x 512 pixels: each side of a
// tile is read or written in runs of 1536 bytes, long enough for the memory
// streams to run at full speed, and a tile's 1.5 MB stay in the cache while
// it is copied. Inside a tile, four target rows are filled at once from the
// twelve bytes of four neighbouring source pixels.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "app/document.h"
#include "filters/four_pixels.h"
#include "filters/geometry.h"
#include "filters/parallel_rows.h"
#include "platform/services.h"

namespace quorvane {

namespace {

constexpr int Tile = 512;  // a multiple of four

// Where a run of target pixels comes from: its first source pixel and the
// distance in bytes from each source pixel to the next.
struct SourceRun {
    const std::uint8_t* first;
    std::ptrdiff_t step;
};

void StoreWord(std::uint8_t* at, std::uint32_t word) { std::memcpy(at, &word, 4); }

// Fills `count` pixels of four consecutive target rows, starting at `to` in
// the first of them, from runs of four neighbouring source pixels, `to`'s row
// taking the first pixel of each four when Forwards, the last one otherwise.
// Each pixel but a row's last moves as a four-byte word whose fourth byte the
// next pixel overwrites, so nothing past the run is written.
template <bool Forwards>
void GatherFourRows(std::uint8_t* to, std::size_t toStride, SourceRun run, int count) {
    const auto rowOf = [&](int k) { return to + (Forwards ? k : 3 - k) * toStride; };
    std::uint8_t* const first = rowOf(0);
    const std::ptrdiff_t next = rowOf(1) - first;
    std::uint8_t* at = first;
    const std::uint8_t* from = run.first;
    for (int i = 1; i < count; ++i, at += 3, from += run.step) {
        const FourPixels four = LoadFour(from);
        StoreWord(at, static_cast<std::uint32_t>(four.low));
        StoreWord(at + next, static_cast<std::uint32_t>(four.low >> 24));
        StoreWord(at + 2 * next, static_cast<std::uint32_t>(four.low >> 48 | std::uint64_t{four.high} << 16));
        StoreWord(at + 3 * next, four.high >> 8);
    }
    for (int k = 0; k < 4; ++k) std::memcpy(at + k * next, from + 3 * k, 3);
}

void GatherRow(std::uint8_t* to, SourceRun run, int count) {
    for (int i = 0; i < count; ++i, to += 3, run.first += run.step) std::memcpy(to, run.first, 3);
}

// Fills `turned` (H wide, W high) from `image` (W wide, H high). Left: target
// (column, row) holds source (W - 1 - row, column); right: source
// (row, H - 1 - column).
void Turn(const Bitmap& image, Bitmap& turned, bool clockwise) {
    const int width = image.Width();
    const int height = image.Height();
    const auto stride = static_cast<std::ptrdiff_t>(image.Stride());
    const std::size_t turnedStride = turned.Stride();
    // The source pixel of target (column, row), and the next one down the target row.
    const auto source = [&](int column, int row) {
        return SourceRun{clockwise ? image.ScanLine(height - 1 - column) + 3 * row
                                   : image.ScanLine(column) + 3 * (width - 1 - row),
                         clockwise ? -stride : stride};
    };
    ForRowBlocks((width + Tile - 1) / Tile, std::int64_t{height} * Tile, [&](int firstBand, int endBand) {
        for (int band = firstBand; band < endBand; ++band) {
            const int firstRow = band * Tile;
            const int endRow = std::min(firstRow + Tile, width);
            for (int firstColumn = 0; firstColumn < height; firstColumn += Tile) {
                const int count = std::min(Tile, height - firstColumn);
                int row = firstRow;
                for (; row + 4 <= endRow; row += 4) {
                    // The four source pixels lie side by side: from the
                    // first row's source on when turning right, from the
                    // fourth row's when turning left.
                    const SourceRun run = source(firstColumn, clockwise ? row : row + 3);
                    std::uint8_t* to = turned.ScanLine(row) + 3 * firstColumn;
                    if (clockwise)
                        GatherFourRows<true>(to, turnedStride, run, count);
                    else
                        GatherFourRows<false>(to, turnedStride, run, count);
                }
                for (; row < endRow; ++row)
                    GatherRow(turned.ScanLine(row) + 3 * firstColumn, source(firstColumn, row), count);
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
