// Packed DIBs in memory blocks, built byte by byte for the tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/memory_blocks.h"

namespace quorvane::testing {

struct DibLayout {
    std::int32_t width = 1;
    std::int32_t height = 1;
    int bitCount = 24;
    std::uint32_t headerSize = 40;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t sizeImage = 0;
    std::vector<std::uint32_t> colours = {};  // 0x00RRGGBB, written as four-byte entries
    std::vector<std::uint8_t> pixels = {};    // the rows exactly as stored
    std::size_t blockSize = 0;           // 0: exactly what the parts need
};

inline void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline std::vector<std::uint8_t> DibBytes(const DibLayout& layout) {
    std::vector<std::uint8_t> bytes(layout.headerSize);
    Put32(bytes, 0, layout.headerSize);
    if (layout.headerSize == 12) {
        Put16(bytes, 4, static_cast<std::uint16_t>(layout.width));
        Put16(bytes, 6, static_cast<std::uint16_t>(layout.height));
        Put16(bytes, 8, 1);
        Put16(bytes, 10, static_cast<std::uint16_t>(layout.bitCount));
    } else {
        Put32(bytes, 4, static_cast<std::uint32_t>(layout.width));
        Put32(bytes, 8, static_cast<std::uint32_t>(layout.height));
        Put16(bytes, 12, 1);
        Put16(bytes, 14, static_cast<std::uint16_t>(layout.bitCount));
        Put32(bytes, 16, layout.compression);
        Put32(bytes, 20, layout.sizeImage);
        Put32(bytes, 32, layout.colorsUsed);
    }
    for (std::uint32_t colour : layout.colours) {
        bytes.resize(bytes.size() + 4);
        Put32(bytes, bytes.size() - 4, colour);
    }
    bytes.insert(bytes.end(), layout.pixels.begin(), layout.pixels.end());
    if (layout.blockSize != 0) bytes.resize(layout.blockSize);
    return bytes;
}

inline BlockHandle BlockWith(const std::vector<std::uint8_t>& bytes) {
    BlockHandle block = AllocateBlock(bytes.size());
    const BlockLock lock(block);
    std::memcpy(lock.Data(), bytes.data(), bytes.size());
    return block;
}

inline BlockHandle MakeDib(const DibLayout& layout) { return BlockWith(DibBytes(layout)); }

// Frees the block at the end of a test.
class OwnedBlock {
public:
    explicit OwnedBlock(BlockHandle block) : block_(block) {}
    ~OwnedBlock() { FreeBlock(block_); }
    OwnedBlock(const OwnedBlock&) = delete;
    OwnedBlock& operator=(const OwnedBlock&) = delete;
    BlockHandle get() const { return block_; }

private:
    BlockHandle block_;
};

}  // namespace quorvane::testing
