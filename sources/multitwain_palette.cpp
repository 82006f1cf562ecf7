// DIB_CreatePalette and the halftone palette for images without a colour table.
#include <array>

#include "sources/multitwain_dib.h"
#include "sources/multitwain_dib_header.h"

namespace quorvane {
namespace {

// The twenty static colours: ten at the start of the palette, ten at its end.
constexpr std::array<PaletteEntry, 10> LowStatic{{{0, 0, 0, 0},
                                                  {128, 0, 0, 0},
                                                  {0, 128, 0, 0},
                                                  {128, 128, 0, 0},
                                                  {0, 0, 128, 0},
                                                  {128, 0, 128, 0},
                                                  {0, 128, 128, 0},
                                                  {192, 192, 192, 0},
                                                  {192, 220, 192, 0},
                                                  {166, 202, 240, 0}}};
constexpr std::array<PaletteEntry, 10> HighStatic{{{255, 251, 240, 0},
                                                   {160, 160, 164, 0},
                                                   {128, 128, 128, 0},
                                                   {255, 0, 0, 0},
                                                   {0, 255, 0, 0},
                                                   {255, 255, 0, 0},
                                                   {0, 0, 255, 0},
                                                   {255, 0, 255, 0},
                                                   {0, 255, 255, 0},
                                                   {255, 255, 255, 0}}};

// The static colours around a 6 x 6 x 6 colour cube and twenty grays.
std::vector<PaletteEntry> Halftone() {
    std::vector<PaletteEntry> entries(LowStatic.begin(), LowStatic.end());
    for (int red = 0; red < 6; ++red)
        for (int green = 0; green < 6; ++green)
            for (int blue = 0; blue < 6; ++blue)
                entries.push_back({static_cast<std::uint8_t>(red * 51), static_cast<std::uint8_t>(green * 51),
                                   static_cast<std::uint8_t>(blue * 51), PaletteNoCollapse});
    for (int gray = 1; gray <= 20; ++gray) {
        const auto level = static_cast<std::uint8_t>(gray * 255 / 21);
        entries.push_back({level, level, level, PaletteNoCollapse});
    }
    entries.insert(entries.end(), HighStatic.begin(), HighStatic.end());
    return entries;
}

}  // namespace

std::optional<LogicalPalette> DIB_CreatePalette(BlockHandle image) {
    const BlockLock lock(image);
    const std::optional<DibHeader> header = ReadDibHeader(lock.Data(), lock.Size());
    if (!header) return std::nullopt;
    LogicalPalette palette;
    if (header->colorCount == 0) {
        palette.entries = Halftone();
        return palette;
    }
    if (header->size + 4 * std::uint64_t(header->colorCount) > lock.Size()) return std::nullopt;
    const std::uint8_t* table = lock.Data() + header->size;
    for (int i = 0; i < header->colorCount; ++i, table += 4) palette.entries.push_back({table[2], table[1], table[0], 0});
    return palette;
}

}  // namespace quorvane
