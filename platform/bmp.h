// BMP files and packed device-independent bitmaps (DIBs).
//
// One decoder serves BMP files, the clipboard and images from scanners. It
// accepts every standard variant: the 12-byte OS/2 header and the 40-, 52-,
// 56-, 108- and 124-byte Windows headers; 1-, 4- and 8-bit palettes (also with
// fewer entries than 2^bits); RLE4 and RLE8; 16-bit 555, 565 and bit fields;
// 24-bit; 32-bit with and without bit fields; bottom-up and top-down rows.
// Everything becomes a 24-bit Bitmap. Input is treated as hostile: a size,
// offset or run that does not fit gives an Error saying what is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bitmap.h"

namespace quorvane {

// Decodes a whole BMP file held in memory (14-byte file header, then a DIB).
Bitmap DecodeBmp(const std::uint8_t* data, std::size_t size);

// Decodes a packed DIB: information header, colour table, pixel rows.
// `pixelOffset` is where the rows start, counted from the start of the DIB;
// without it they follow the header, the bit-field masks and the colour table.
Bitmap DecodeDib(const std::uint8_t* data, std::size_t size,
                 std::optional<std::size_t> pixelOffset = std::nullopt);

// Reads and decodes a BMP file. Errors name the file.
Bitmap ReadBmpFile(const std::string& path);

// Writes a 24-bit uncompressed bottom-up BMP: 14-byte file header, 40-byte
// information header, rows padded to four bytes. The file is replaced only
// when the whole write succeeded.
void WriteBmpFile(const Bitmap& image, const std::string& path);

}  // namespace quorvane
