#include "filters/channel_tables.h"

#include <bit>
#include <cstring>
#include <utility>

namespace quorvane {

ChannelTables::Curve ChannelTables::Identity() {
    Curve curve;
    for (int v = 0; v < 256; ++v) curve[v] = static_cast<std::uint8_t>(v);
    return curve;
}

ChannelTables ChannelTables::Unchanged() {
    const Curve identity = Identity();
    return {identity, identity, identity};
}

namespace {

using TablePointers = const std::uint8_t* const[3];  // blue, green, red

constexpr int BlockPixels = 8;  // 24 bytes: three 64-bit words

// Maps word `Word` of an eight-pixel block: byte j of it is byte 8 * Word + j
// of the block, which belongs to channel (8 * Word + j) mod 3.
template <std::size_t Word, std::size_t... Byte>
std::uint64_t MapWord(std::uint64_t in, TablePointers& table, std::index_sequence<Byte...>) {
    return ((std::uint64_t{table[(8 * Word + Byte) % 3][(in >> (8 * Byte)) & 0xFF]} << (8 * Byte)) | ...);
}

template <std::size_t Word>
void MapBlockWord(std::uint8_t* block, TablePointers& table) {
    std::uint64_t word;
    std::memcpy(&word, block + 8 * Word, 8);
    word = MapWord<Word>(word, table, std::make_index_sequence<8>());
    std::memcpy(block + 8 * Word, &word, 8);
}

}  // namespace

// Eight pixels at a time, read and stored as three little-endian 64-bit
// words: three stores in place of twenty-four. The tables are read through
// local pointers, which no store into a pixel can alias.
void ApplyToSelection(const InPlaceFrame& frame, const ChannelTables& tables) {
    static_assert(std::endian::native == std::endian::little);
    PassOverSelectionInImage(frame, [&tables](std::uint8_t* pixel, int count, int, int) {
        const std::uint8_t* const table[3] = {tables.blue.data(), tables.green.data(), tables.red.data()};
        for (; count >= BlockPixels; count -= BlockPixels, pixel += 3 * BlockPixels) {
            MapBlockWord<0>(pixel, table);
            MapBlockWord<1>(pixel, table);
            MapBlockWord<2>(pixel, table);
        }
        for (; count > 0; --count, pixel += 3) {
            pixel[0] = table[0][pixel[0]];
            pixel[1] = table[1][pixel[1]];
            pixel[2] = table[2][pixel[2]];
        }
    });
}

}  // namespace quorvane
