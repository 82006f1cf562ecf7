// Reading a DIB's information header out of its block, checked against the
// block's size. Shared by the DIB helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quorvane {

struct DibHeader {
    std::uint32_t size = 0;  // biSize
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    int colorCount = 0;             // by the colour-count rule
    std::uint64_t maskBytes = 0;    // the bit-field masks after a 40-byte header
    std::uint64_t pixelOffset = 0;  // from the start of the block
};

inline constexpr std::uint32_t CoreHeaderSize = 12;
inline constexpr std::uint32_t InfoHeaderSize = 40;

// The header, or nothing when the block is too small for the header it
// claims or the header has a size no DIB has.
std::optional<DibHeader> ReadDibHeader(const std::uint8_t* data, std::size_t size);

std::uint32_t ReadLittle32(const std::uint8_t* at);
std::uint16_t ReadLittle16(const std::uint8_t* at);
void WriteLittle32(std::uint8_t* at, std::uint32_t value);

}  // namespace quorvane
