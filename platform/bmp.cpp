#include "platform/bmp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/file_io.h"

// Choices for input the format leaves open:
// * A colour table of more than 256 entries is refused. One longer than
//   2^bits is accepted, and only its first 2^bits entries can be used.
// * A pixel index past the end of a short colour table gives black.
// * In RLE images, pixels that no run reaches (skipped by a delta or an early
//   end of line) take colour 0 of the palette, as ImageMagick shows them.
//   A run or a delta that leaves its row or the image is refused, as is a
//   stream that ends before the last row without an end-of-bitmap mark.
// * A file whose pixel offset is 0 or points into the headers or the colour
//   table is read as if the rows followed the colour table.
// * The OS/2 2.x 64-byte header is read like the 40-byte one; its own
//   compressions (Huffman, RLE24) are refused.

namespace quorvane {
namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t Os2HeaderSize = 64;

constexpr std::uint32_t Uncompressed = 0;
constexpr std::uint32_t Rle8 = 1;
constexpr std::uint32_t Rle4 = 2;
constexpr std::uint32_t BitFields = 3;
constexpr std::uint32_t AlphaBitFields = 6;

std::uint16_t Read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t Read32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

[[noreturn]] void Invalid(const std::string& reason) { throw Error("Invalid BMP file: " + reason); }

[[noreturn]] void Truncated(const std::string& what) {
    throw Error("BMP file is truncated: " + what + " incomplete");
}

// One palette entry: the three bytes of a Bitmap pixel and a spare one, so
// that row loops can store a whole entry with one four-byte move.
struct Colour {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t spare;
};
static_assert(sizeof(Colour) == 4);

using Palette = std::array<Colour, 256>;

// Everything the headers say about the pixel rows.
struct DibLayout {
    std::uint32_t headerSize = 0;
    int width = 0;
    int height = 0;  // always positive; topDown gives the row order
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = Uncompressed;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue for 16 and 32 bits
    Palette palette{};                     // unused entries are black
    std::uint64_t headersEnd = 0;          // the rows cannot start before this
    std::uint64_t tableEnd = 0;            // where the rows start in a packed DIB
};

bool KnownHeaderSize(std::uint32_t size) {
    switch (size) {
        case CoreHeaderSize:
        case InfoHeaderSize:
        case 52:
        case 56:
        case Os2HeaderSize:
        case 108:
        case 124:
            return true;
        default:
            return false;
    }
}

void CheckCompression(const DibLayout& layout) {
    const std::string bits = std::to_string(layout.bitCount) + " bits per pixel";
    switch (layout.compression) {
        case Uncompressed:
            return;
        case Rle8:
        case Rle4:
            if (layout.bitCount != (layout.compression == Rle8 ? 8 : 4))
                Invalid("RLE" + std::to_string(layout.compression == Rle8 ? 8 : 4) + " compression with " + bits);
            if (layout.topDown) Invalid("RLE compression with top-down rows");
            return;
        case BitFields:
        case AlphaBitFields:
            if (layout.headerSize == Os2HeaderSize) break;
            if (layout.bitCount != 16 && layout.bitCount != 32) Invalid("bit fields with " + bits);
            return;
        default:
            break;
    }
    throw Error("Unsupported BMP compression " + std::to_string(layout.compression));
}

void ReadMasks(const std::uint8_t* data, std::size_t size, DibLayout& layout) {
    if (layout.compression == BitFields || layout.compression == AlphaBitFields) {
        const std::uint8_t* masks = data + InfoHeaderSize;
        if (layout.headerSize == InfoHeaderSize) {
            const std::size_t count = layout.compression == AlphaBitFields ? 4 : 3;
            if (layout.headersEnd + count * 4 > size) Truncated("bit-field masks");
            layout.headersEnd += count * 4;
        }
        layout.masks = {Read32(masks), Read32(masks + 4), Read32(masks + 8)};
    } else if (layout.bitCount == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (layout.bitCount == 32) {
        layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }
}

void ReadPalette(const std::uint8_t* data, std::size_t size, std::uint32_t colorsUsed, DibLayout& layout) {
    const bool core = layout.headerSize == CoreHeaderSize;
    const std::uint64_t entrySize = core ? 3 : 4;
    std::uint64_t entries = colorsUsed;
    if (layout.bitCount <= 8) {
        const std::uint64_t full = std::uint64_t{1} << layout.bitCount;
        if (core || entries == 0) entries = full;
        if (entries > 256) Invalid("colour table of " + std::to_string(entries) + " entries");
        const std::uint64_t used = std::min(entries, full);
        if (layout.headersEnd + used * entrySize > size) Truncated("colour table");
        const std::uint8_t* entry = data + layout.headersEnd;
        for (std::uint64_t i = 0; i < used; ++i, entry += entrySize) layout.palette[i] = {entry[0], entry[1], entry[2], 0};
        layout.headersEnd += entries * entrySize;
        layout.tableEnd = layout.headersEnd;
    } else {
        // A colour table beside direct colours is only a hint for displays.
        layout.tableEnd = layout.headersEnd + entries * entrySize;
    }
}

DibLayout ReadLayout(const std::uint8_t* data, std::size_t size) {
    if (size < 4) Truncated("information header");
    DibLayout layout;
    layout.headerSize = Read32(data);
    if (!KnownHeaderSize(layout.headerSize)) Invalid("bad header size " + std::to_string(layout.headerSize));
    if (layout.headerSize > size) Truncated("information header");

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t colorsUsed = 0;
    if (layout.headerSize == CoreHeaderSize) {
        width = Read16(data + 4);
        height = Read16(data + 6);
        layout.bitCount = Read16(data + 10);
    } else {
        width = static_cast<std::int32_t>(Read32(data + 4));
        height = static_cast<std::int32_t>(Read32(data + 8));
        layout.bitCount = Read16(data + 14);
        layout.compression = Read32(data + 16);
        colorsUsed = Read32(data + 32);
    }
    if (width <= 0) Invalid("width " + std::to_string(width));
    if (height == 0) Invalid("height 0");
    layout.topDown = height < 0;
    height = layout.topDown ? -height : height;
    switch (layout.bitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32:
            break;
        default:
            Invalid(std::to_string(layout.bitCount) + " bits per pixel");
    }
    CheckCompression(layout);
    Bitmap::CheckSize(width, height);
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    layout.headersEnd = layout.headerSize;
    ReadMasks(data, size, layout);
    ReadPalette(data, size, colorsUsed, layout);
    return layout;
}

// Widens an n-bit value to 8 bits by repeating its bits: 5-bit v becomes
// (v << 3) | (v >> 2), so 0 stays 0 and the largest value becomes 255.
std::uint8_t Replicate(std::uint32_t value, int bits) {
    std::uint32_t result = 0;
    for (int position = 8 - bits; position > -bits; position -= bits)
        result |= position >= 0 ? value << position : value >> -position;
    return static_cast<std::uint8_t>(result);
}

// One colour channel of a bit-field pixel: level = levels[(pixel >> shift) & mask].
// Channels wider than 8 bits keep their top 8 bits; an empty mask gives 0.
struct Channel {
    int shift = 0;
    std::uint32_t mask = 0;
    std::array<std::uint8_t, 256> levels{};
};

Channel MakeChannel(std::uint32_t mask) {
    Channel channel;
    if (mask == 0) return channel;
    const int low = std::countr_zero(mask);
    const int bits = std::bit_width(mask >> low);
    const int kept = std::min(bits, 8);
    channel.shift = low + bits - kept;
    channel.mask = (std::uint32_t{1} << kept) - 1;
    for (std::uint32_t value = 0; value <= channel.mask; ++value) channel.levels[value] = Replicate(value, kept);
    return channel;
}

struct Channels {
    Channel red;
    Channel green;
    Channel blue;
};

// The row loops below store four bytes per pixel and step by three: each
// store spills one byte into the next pixel, which the next store overwrites.
// The last pixel of a row is stored with three bytes, so the padding stays zero.

template <int Bits>
unsigned IndexAt(const std::uint8_t* source, int x) {
    if constexpr (Bits == 8) {
        return source[x];
    } else {
        constexpr int perByte = 8 / Bits;
        return (source[x / perByte] >> (8 - Bits * (x % perByte + 1))) & ((1u << Bits) - 1);
    }
}

template <int Bits>
void ConvertIndexedRow(const std::uint8_t* source, std::uint8_t* target, int width, const Palette& palette) {
    const int last = width - 1;
    for (int x = 0; x < last; ++x, target += 3) std::memcpy(target, &palette[IndexAt<Bits>(source, x)], 4);
    std::memcpy(target, &palette[IndexAt<Bits>(source, last)], 3);
}

template <int BytesPerPixel>
void ConvertBitFieldRow(const std::uint8_t* source, std::uint8_t* target, int width, const Channels& channels) {
    const Channel& red = channels.red;
    const Channel& green = channels.green;
    const Channel& blue = channels.blue;
    for (int x = 0; x < width; ++x, source += BytesPerPixel, target += 3) {
        const std::uint32_t pixel = BytesPerPixel == 2 ? Read16(source) : Read32(source);
        target[0] = blue.levels[(pixel >> blue.shift) & blue.mask];
        target[1] = green.levels[(pixel >> green.shift) & green.mask];
        target[2] = red.levels[(pixel >> red.shift) & red.mask];
    }
}

void ConvertBgrxRow(const std::uint8_t* source, std::uint8_t* target, int width) {
    for (int x = 1; x < width; ++x, source += 4, target += 3) std::memcpy(target, source, 4);
    std::memcpy(target, source, 3);
}

Bitmap DecodeUncompressed(const DibLayout& layout, const std::uint8_t* pixels, std::size_t available) {
    const std::uint64_t rowBits = std::uint64_t(layout.width) * std::uint64_t(layout.bitCount);
    const std::uint64_t rowBytes = (rowBits + 31) / 32 * 4;
    // The last row may lack its padding.
    const std::uint64_t needed = rowBytes * std::uint64_t(layout.height - 1) + (rowBits + 7) / 8;
    if (needed > available) Truncated("pixel data");

    Bitmap image(layout.width, layout.height);
    const int width = layout.width;
    const bool plainBgrx =
        layout.bitCount == 32 && layout.masks == std::array<std::uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
    Channels channels;
    if (layout.bitCount == 16 || (layout.bitCount == 32 && !plainBgrx))
        channels = {MakeChannel(layout.masks[0]), MakeChannel(layout.masks[1]), MakeChannel(layout.masks[2])};
    for (int y = 0; y < layout.height; ++y) {
        const int fileRow = layout.topDown ? y : layout.height - 1 - y;
        const std::uint8_t* source = pixels + rowBytes * std::uint64_t(fileRow);
        std::uint8_t* target = image.ScanLine(y);
        switch (layout.bitCount) {
            case 24:
                std::memcpy(target, source, std::size_t(width) * 3);
                break;
            case 32:
                if (plainBgrx)
                    ConvertBgrxRow(source, target, width);
                else
                    ConvertBitFieldRow<4>(source, target, width, channels);
                break;
            case 16:
                ConvertBitFieldRow<2>(source, target, width, channels);
                break;
            case 8:
                ConvertIndexedRow<8>(source, target, width, layout.palette);
                break;
            case 4:
                ConvertIndexedRow<4>(source, target, width, layout.palette);
                break;
            default:
                ConvertIndexedRow<1>(source, target, width, layout.palette);
                break;
        }
    }
    return image;
}

// Runs of RLE8 and RLE4: a count and a value, or an escape (count 0) that ends
// a row, ends the picture, moves by a delta or starts an absolute run of
// literal indices padded to 16 bits. Rows count from the bottom. Without an
// image the stream is only checked.
void WalkRle(const DibLayout& layout, const std::uint8_t* stream, std::size_t length, Bitmap* image) {
    const bool four = layout.compression == Rle4;
    const Palette& palette = layout.palette;
    const std::int64_t width = layout.width;
    const std::int64_t height = layout.height;
    std::int64_t x = 0;
    std::int64_t row = 0;
    std::size_t position = 0;
    const auto target = [&](std::int64_t count) -> std::uint8_t* {
        if (row >= height) Invalid("RLE run past the end of the image");
        if (x + count > width) Invalid("RLE run past the end of a row");
        if (image == nullptr) return nullptr;
        return image->ScanLine(static_cast<int>(height - 1 - row)) + x * 3;
    };
    for (;;) {
        if (position + 2 > length) {
            if (row >= height || (row == height - 1 && x == width)) return;
            Truncated("RLE data");
        }
        const std::uint8_t count = stream[position];
        const std::uint8_t value = stream[position + 1];
        position += 2;
        if (count > 0) {
            if (std::uint8_t* pixel = target(count)) {
                const Colour first = palette[four ? value >> 4 : value];
                const Colour second = palette[four ? value & 15 : value];
                for (int i = 0; i < count; ++i, pixel += 3) std::memcpy(pixel, i % 2 == 0 ? &first : &second, 3);
            }
            x += count;
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (position + 2 > length) Truncated("RLE data");
            x += stream[position];
            row += stream[position + 1];
            position += 2;
            if (x > width || row > height || (row == height && x > 0)) Invalid("RLE delta past the end of the image");
        } else {
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (position + bytes > length) Truncated("RLE data");
            if (std::uint8_t* pixel = target(value)) {
                const std::uint8_t* literal = stream + position;
                for (int i = 0; i < value; ++i, pixel += 3) {
                    const unsigned index = four ? (i % 2 == 0 ? literal[i / 2] >> 4 : literal[i / 2] & 15) : literal[i];
                    std::memcpy(pixel, &palette[index], 3);
                }
            }
            x += value;
            position += bytes + bytes % 2;
        }
    }
}

// The stream is checked before the picture is allocated: a few bytes may
// claim a picture of hundreds of megabytes.
Bitmap DecodeRle(const DibLayout& layout, const std::uint8_t* stream, std::size_t length) {
    WalkRle(layout, stream, length, nullptr);
    Bitmap image(layout.width, layout.height);
    const Colour background = layout.palette[0];
    image.Fill(RGB(background.red, background.green, background.blue));
    WalkRle(layout, stream, length, &image);
    return image;
}

Bitmap DecodeRows(const DibLayout& layout, const std::uint8_t* data, std::size_t size, std::uint64_t offset) {
    if (offset > size) Invalid("pixel data starts past the end of the file");
    const std::uint8_t* pixels = data + offset;
    const std::size_t available = size - static_cast<std::size_t>(offset);
    if (layout.compression == Rle8 || layout.compression == Rle4) return DecodeRle(layout, pixels, available);
    return DecodeUncompressed(layout, pixels, available);
}

void Put16(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t value) {
    Put16(p, value);
    Put16(p + 2, value >> 16);
}

}  // namespace

Bitmap DecodeDib(const std::uint8_t* data, std::size_t size, std::optional<std::size_t> pixelOffset) {
    const DibLayout layout = ReadLayout(data, size);
    return DecodeRows(layout, data, size, pixelOffset.value_or(layout.tableEnd));
}

Bitmap DecodeBmp(const std::uint8_t* data, std::size_t size) {
    if (size < FileHeaderSize) Truncated("file header");
    if (data[0] != 'B' || data[1] != 'M') Invalid("no \"BM\" signature");
    const std::uint8_t* dib = data + FileHeaderSize;
    const std::size_t dibSize = size - FileHeaderSize;
    const DibLayout layout = ReadLayout(dib, dibSize);
    const std::uint64_t fileOffset = Read32(data + 10);
    const bool plausible = fileOffset >= FileHeaderSize + layout.headersEnd;
    return DecodeRows(layout, dib, dibSize, plausible ? fileOffset - FileHeaderSize : layout.tableEnd);
}

Bitmap ReadBmpFile(const std::string& path) {
    const MappedFile file(path);
    try {
        return DecodeBmp(file.Data(), file.Size());
    } catch (const Error& error) {
        throw Error("Cannot read file \"" + path + "\". " + error.what());
    }
}

void WriteBmpFile(const Bitmap& image, const std::string& path) {
    const bool empty = image.Empty();
    const int width = empty ? 0 : image.Width();
    const int height = empty ? 0 : image.Height();
    const std::size_t stride = image.Stride();
    const auto imageSize = static_cast<std::uint32_t>(empty ? 0 : stride * std::size_t(height));
    constexpr std::uint32_t headersSize = FileHeaderSize + InfoHeaderSize;

    std::array<std::uint8_t, headersSize> header{};
    header[0] = 'B';
    header[1] = 'M';
    Put32(&header[2], headersSize + imageSize);
    Put32(&header[10], headersSize);
    std::uint8_t* info = &header[FileHeaderSize];
    Put32(info, InfoHeaderSize);
    Put32(info + 4, static_cast<std::uint32_t>(width));
    Put32(info + 8, static_cast<std::uint32_t>(height));
    Put16(info + 12, 1);
    Put16(info + 14, 24);
    Put32(info + 20, imageSize);

    ReplacingFile file(path);
    file.Write(header.data(), header.size());
    if (!empty) {
        const auto step = static_cast<std::ptrdiff_t>(stride);
        if (image.HasPixels()) {
            file.WriteStrided(image.ScanLine(height - 1), -step, stride, std::size_t(height));
        } else {
            const std::vector<std::uint8_t> blackRow(stride, 0);
            file.WriteStrided(blackRow.data(), 0, stride, std::size_t(height));
        }
    }
    file.Commit();
}

}  // namespace quorvane
