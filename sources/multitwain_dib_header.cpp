#include "sources/multitwain_dib_header.h"

namespace quorvane {
namespace {

constexpr std::uint32_t BitFieldsCompression = 3;
constexpr std::uint64_t BitFieldMasksSize = 12;
constexpr int MaxColorCount = 256;

int ColorCount(std::uint32_t colorsUsed, int bitCount) {
    std::uint64_t count = colorsUsed;
    if (count == 0 && (bitCount == 1 || bitCount == 4 || bitCount == 8)) count = std::uint64_t{1} << bitCount;
    return count > MaxColorCount ? 0 : static_cast<int>(count);
}

}  // namespace

std::uint32_t ReadLittle32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

std::uint16_t ReadLittle16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

void WriteLittle32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::optional<DibHeader> ReadDibHeader(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < CoreHeaderSize) return std::nullopt;
    DibHeader header;
    header.size = ReadLittle32(data);
    if (header.size > size) return std::nullopt;
    if (header.size == CoreHeaderSize) {
        header.width = ReadLittle16(data + 4);
        header.height = ReadLittle16(data + 6);
        header.bitCount = ReadLittle16(data + 10);
        header.colorCount = header.bitCount <= 8 ? 1 << header.bitCount : 0;
    } else if (header.size >= InfoHeaderSize) {
        header.width = static_cast<std::int32_t>(ReadLittle32(data + 4));
        header.height = static_cast<std::int32_t>(ReadLittle32(data + 8));
        header.bitCount = ReadLittle16(data + 14);
        header.compression = ReadLittle32(data + 16);
        header.sizeImage = ReadLittle32(data + 20);
        header.colorsUsed = ReadLittle32(data + 32);
        header.colorCount = ColorCount(header.colorsUsed, header.bitCount);
    } else {
        return std::nullopt;
    }
    if (header.size == InfoHeaderSize && header.compression == BitFieldsCompression)
        header.maskBytes = BitFieldMasksSize;
    header.pixelOffset = header.size + header.maskBytes + 4 * std::uint64_t(header.colorCount);
    return header;
}

}  // namespace quorvane
