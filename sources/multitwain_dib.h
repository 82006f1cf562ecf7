// The DIB helpers of the MultiTWAIN unit: packed device-independent bitmaps
// held in movable memory blocks, as the TWAIN layer delivers them.
//
// A block holds the information header, the colour table (four bytes an
// entry) and the pixel rows. The colour count is biClrUsed when it is not 0,
// else 2^biBitCount for 1, 4 and 8 bits and none for deeper pixels; a count
// above 256 counts as none. The rows begin biSize + 4 x colour count bytes
// into the block (after the three masks of a 40-byte bit-field header). The
// 12-byte core header counts 2^bcBitCount entries but still places the rows
// after four bytes an entry.
//
// Images are hostile input: a header that claims more than its block holds
// is refused. The queries then answer 0, and the operations that read pixels
// throw Error. No operation releases the image.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/memory_blocks.h"

namespace quorvane {

std::int32_t DIB_Width(BlockHandle image);
std::int32_t DIB_Height(BlockHandle image);
int DIB_BitCount(BlockHandle image);
int DIB_ColorCount(BlockHandle image);

// Copies the rectangle (sourceX, sourceY, width, height) of the image, row 0
// its top row, one to one into `target` at (x, y); what falls outside either
// is left out. An image that cannot be locked draws nothing.
void DIB_Draw(Bitmap& target, int x, int y, int width, int height, BlockHandle image, int sourceX, int sourceY);

// A picture holder placed on a window: its own size on the window, and the
// picture it shows, which may have any size.
struct PictureHolder {
    int Width = 25;
    int Height = 25;
    Bitmap Picture;
};

// Gives the holder a new picture of exactly the image's size showing the
// image; the holder keeps its own size.
void DIB_CopyToImage(BlockHandle image, PictureHolder& holder);

struct PaletteEntry {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t flags;
    bool operator==(const PaletteEntry&) const = default;
};
inline constexpr std::uint8_t PaletteNoCollapse = 0x04;

struct LogicalPalette {
    std::uint16_t version = 0x300;
    std::vector<PaletteEntry> entries;
};

// The image's colour table as a palette, or the halftone palette of 256
// entries for an image without one; nothing when the image cannot be read.
std::optional<LogicalPalette> DIB_CreatePalette(BlockHandle image);

// Results of DIB_WriteFile.
inline constexpr int DibWritten = 0;
inline constexpr int DibDialogCancelled = -1;
inline constexpr int DibFileNotCreated = -2;
inline constexpr int DibImageNotReadable = -3;
inline constexpr int DibNotWritten = -4;

// Writes the image as a BMP file; an empty name asks for one in the save
// dialog. For an uncompressed image it sets the image's biSizeImage first.
// The file is replaced only when the whole write succeeded.
int DIB_WriteFile(BlockHandle image, const std::string& name);

// Reads a BMP file into a new image that belongs to the caller; an empty name
// asks for one in the open dialog. Nothing for a file that cannot be read,
// does not start with "BM" or is shorter than its header says.
BlockHandle DIB_ReadFile(const std::string& name);

}  // namespace quorvane
