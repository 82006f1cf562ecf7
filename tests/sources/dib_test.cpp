#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "platform/error.h"
#include "sources/dib_support.h"
#include "sources/multitwain_dib.h"
#include "support/scripted_services.h"

namespace quorvane::testing {
namespace {

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t Field32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

class DibFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("quorvane-dib-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
    ScriptedServices services;
};

struct ColourCountCase {
    const char* name;
    int bitCount;
    std::uint32_t colorsUsed;
    std::uint32_t headerSize;
    int expected;
};

TEST(DibQueries, ColourCountFollowsTheRule) {
    const ColourCountCase cases[] = {
        {"1-bit, no count", 1, 0, 40, 2},
        {"4-bit, no count", 4, 0, 40, 16},
        {"8-bit, no count", 8, 0, 40, 256},
        {"8-bit, three used", 8, 3, 40, 3},
        {"24-bit", 24, 0, 40, 0},
        {"32-bit", 32, 0, 40, 0},
        {"16-bit", 16, 0, 40, 0},
        {"count above 256", 8, 257, 40, 0},
        {"core header 8-bit", 8, 0, 12, 256},
        {"core header 24-bit", 24, 0, 12, 0},
        {"124-byte header", 4, 0, 124, 16},
    };
    for (const ColourCountCase& c : cases) {
        const OwnedBlock image(MakeDib({.width = 5, .height = 3, .bitCount = c.bitCount, .headerSize = c.headerSize,
                                        .colorsUsed = c.colorsUsed, .blockSize = 4096}));
        EXPECT_EQ(DIB_ColorCount(image.get()), c.expected) << c.name;
        EXPECT_EQ(DIB_Width(image.get()), 5) << c.name;
        EXPECT_EQ(DIB_Height(image.get()), 3) << c.name;
        EXPECT_EQ(DIB_BitCount(image.get()), c.bitCount) << c.name;
    }
}

TEST(DibQueries, HeadersThatDoNotFitTheirBlockAnswerNothing) {
    const OwnedBlock tiny(BlockWith({40, 0, 0}));
    const OwnedBlock claimsMore(MakeDib({.width = 7, .height = 7, .blockSize = 30}));
    const OwnedBlock oddSize(BlockWith(std::vector<std::uint8_t>{20, 0, 0, 0, 7, 0, 0, 0, 7, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0}));
    for (BlockHandle image : {tiny.get(), claimsMore.get(), oddSize.get(), static_cast<BlockHandle>(nullptr)}) {
        EXPECT_EQ(DIB_Width(image), 0);
        EXPECT_EQ(DIB_Height(image), 0);
        EXPECT_EQ(DIB_ColorCount(image), 0);
    }
}

TEST(DibCopyToImage, EightBitRowsStartAfterAFullColourTable) {
    std::vector<std::uint32_t> colours(256, 0);
    colours[7] = 0x112233;
    colours[9] = 0xa0b0c0;
    // Two rows of 2 pixels, bottom row first: bottom (7, 9), top (9, 7).
    const OwnedBlock image(
        MakeDib({.width = 2, .height = 2, .bitCount = 8, .colours = colours, .pixels = {7, 9, 0, 0, 9, 7, 0, 0}}));
    PictureHolder holder;
    DIB_CopyToImage(image.get(), holder);
    ASSERT_EQ(holder.Picture.Width(), 2);
    ASSERT_EQ(holder.Picture.Height(), 2);
    EXPECT_EQ(holder.Picture.Pixel(0, 0), RGB(0xa0, 0xb0, 0xc0));
    EXPECT_EQ(holder.Picture.Pixel(1, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(holder.Picture.Pixel(0, 1), RGB(0x11, 0x22, 0x33));
}

TEST(DibCopyToImage, DeepPixelsFollowTheHeaderDirectly) {
    // 24-bit: blue, green, red; 32-bit: blue, green, red, unused. One row each.
    const OwnedBlock rgb(MakeDib({.width = 1, .height = 1, .bitCount = 24, .pixels = {1, 2, 3, 0}}));
    const OwnedBlock rgbx(MakeDib({.width = 1, .height = 1, .bitCount = 32, .pixels = {4, 5, 6, 0}}));
    PictureHolder holder;
    DIB_CopyToImage(rgb.get(), holder);
    EXPECT_EQ(holder.Picture.Pixel(0, 0), RGB(3, 2, 1));
    DIB_CopyToImage(rgbx.get(), holder);
    EXPECT_EQ(holder.Picture.Pixel(0, 0), RGB(6, 5, 4));
}

TEST(DibCopyToImage, CoreHeaderPlacesRowsAfterFourBytesAnEntry) {
    // A 1-bit core header: its table holds three-byte entries (black, white),
    // but the rows are looked for 12 + 2 x 4 = 20 bytes into the block.
    std::vector<std::uint8_t> bytes = DibBytes({.width = 2, .height = 1, .bitCount = 1, .headerSize = 12});
    const std::vector<std::uint8_t> table = {0, 0, 0, 255, 255, 255, 0, 0};
    bytes.insert(bytes.end(), table.begin(), table.end());
    const std::vector<std::uint8_t> row = {0x40, 0, 0, 0};  // pixel 0 black, pixel 1 white
    bytes.insert(bytes.end(), row.begin(), row.end());
    const OwnedBlock image(BlockWith(bytes));
    PictureHolder holder;
    DIB_CopyToImage(image.get(), holder);
    EXPECT_EQ(holder.Picture.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(holder.Picture.Pixel(1, 0), RGB(255, 255, 255));
}

TEST(DibCopyToImage, EachPictureHasItsOwnImagesSizeAndTheHolderKeepsItsOwn) {
    PictureHolder holder;
    const OwnedBlock wide(MakeDib({.width = 5, .height = 2, .pixels = std::vector<std::uint8_t>(32, 9)}));
    const OwnedBlock tall(MakeDib({.width = 1, .height = 4, .pixels = std::vector<std::uint8_t>(16, 9)}));
    DIB_CopyToImage(wide.get(), holder);
    EXPECT_EQ(holder.Picture.Width(), 5);
    EXPECT_EQ(holder.Picture.Height(), 2);
    DIB_CopyToImage(tall.get(), holder);
    EXPECT_EQ(holder.Picture.Width(), 1);
    EXPECT_EQ(holder.Picture.Height(), 4);
    EXPECT_EQ(holder.Width, 25);
    EXPECT_EQ(holder.Height, 25);
}

TEST(DibCopyToImage, RowsClaimedBeyondTheBlockAreRefusedAndTheHolderStays) {
    PictureHolder holder;
    holder.Picture.SetSize(3, 3);
    const OwnedBlock shortRows(MakeDib({.width = 100, .height = 100, .pixels = std::vector<std::uint8_t>(300, 1)}));
    const OwnedBlock hugeTable(MakeDib({.width = 1, .height = 1, .bitCount = 8, .colorsUsed = 200, .blockSize = 60}));
    EXPECT_THROW(DIB_CopyToImage(shortRows.get(), holder), Error);
    EXPECT_THROW(DIB_CopyToImage(hugeTable.get(), holder), Error);
    EXPECT_EQ(holder.Picture.Width(), 3);
}

TEST(DibDraw, CopiesTheSourceRectangleOneToOneAndClips) {
    std::vector<std::uint8_t> rows;
    for (int y = 1; y >= 0; --y)  // bottom row first
        for (int x = 0; x < 4; ++x) rows.insert(rows.end(), {std::uint8_t(x), std::uint8_t(y), 0});
    const OwnedBlock image(MakeDib({.width = 4, .height = 2, .pixels = rows}));
    Bitmap target(3, 3);
    target.Fill(RGB(9, 9, 9));
    DIB_Draw(target, 1, 2, 3, 2, image.get(), 2, 0);
    EXPECT_EQ(target.Pixel(0, 2), RGB(9, 9, 9));
    EXPECT_EQ(target.Pixel(1, 2), RGB(0, 0, 2));  // source (2, 0): blue 2, green 0
    EXPECT_EQ(target.Pixel(2, 2), RGB(0, 0, 3));
    EXPECT_EQ(target.Pixel(1, 1), RGB(9, 9, 9));
}

TEST(DibPalette, ColourTableOrHalftone) {
    const OwnedBlock indexed(MakeDib({.width = 1, .height = 1, .bitCount = 1, .colours = {0x102030, 0xfffefd},
                                      .pixels = {0, 0, 0, 0}}));
    const std::optional<LogicalPalette> table = DIB_CreatePalette(indexed.get());
    ASSERT_TRUE(table);
    EXPECT_EQ(table->version, 0x300);
    EXPECT_EQ(table->entries, (std::vector<PaletteEntry>{{0x10, 0x20, 0x30, 0}, {0xff, 0xfe, 0xfd, 0}}));

    const OwnedBlock direct(MakeDib({.pixels = {0, 0, 0, 0}}));
    const std::optional<LogicalPalette> halftone = DIB_CreatePalette(direct.get());
    ASSERT_TRUE(halftone);
    ASSERT_EQ(halftone->entries.size(), 256u);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(halftone->entries[i].flags, i < 10 || i > 245 ? 0 : PaletteNoCollapse) << i;
    EXPECT_EQ(halftone->entries[0], (PaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(halftone->entries[255], (PaletteEntry{255, 255, 255, 0}));
    EXPECT_FALSE(DIB_CreatePalette(nullptr));
}

TEST_F(DibFiles, Uncompressed24BitImageOfThreeByTwo) {
    const OwnedBlock image(MakeDib({.width = 3, .height = 2, .pixels = std::vector<std::uint8_t>(24, 5)}));
    const auto path = folder / "small.bmp";
    ASSERT_EQ(DIB_WriteFile(image.get(), path.string()), DibWritten);
    const std::vector<std::uint8_t> file = FileBytes(path);
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Field32(file, 2), 78u);
    EXPECT_EQ(Field32(file, 10), 54u);
    EXPECT_EQ(Field32(file, 14 + 20), 24u);  // biSizeImage, set in the image as well
    const BlockLock lock(image.get());
    EXPECT_EQ(Field32(std::vector<std::uint8_t>(lock.Data(), lock.Data() + 40), 20), 24u);
}

TEST_F(DibFiles, OneBitImageHasItsRowsAt62) {
    const OwnedBlock image(MakeDib({.width = 8, .height = 1, .bitCount = 1, .colours = {0, 0xffffff},
                                    .pixels = {0xaa, 0, 0, 0}}));
    const auto path = folder / "mono.bmp";
    ASSERT_EQ(DIB_WriteFile(image.get(), path.string()), DibWritten);
    const std::vector<std::uint8_t> file = FileBytes(path);
    EXPECT_EQ(Field32(file, 10), 62u);
    EXPECT_EQ(file.size(), 66u);
}

TEST_F(DibFiles, BitFieldImageHasItsRowsAfterTheMasks) {
    const OwnedBlock image(MakeDib({.width = 2, .height = 1, .bitCount = 16, .compression = 3, .sizeImage = 4,
                                    .colours = {0xf800, 0x07e0, 0x001f}, .pixels = {1, 2, 3, 4}}));
    const auto path = folder / "fields.bmp";
    ASSERT_EQ(DIB_WriteFile(image.get(), path.string()), DibWritten);
    const std::vector<std::uint8_t> file = FileBytes(path);
    EXPECT_EQ(Field32(file, 10), 66u);
    EXPECT_EQ(file.size(), 70u);
}

TEST_F(DibFiles, WriteResultCodes) {
    const OwnedBlock image(MakeDib({.pixels = {1, 2, 3, 0}}));
    const OwnedBlock compressedWithoutSize(MakeDib({.bitCount = 8, .compression = 1, .blockSize = 2048}));
    const OwnedBlock truncated(MakeDib({.width = 50, .height = 50, .blockSize = 100}));

    services.fileNames.push_back(std::nullopt);
    EXPECT_EQ(DIB_WriteFile(image.get(), ""), DibDialogCancelled);
    EXPECT_EQ(DIB_WriteFile(image.get(), (folder / "no such folder" / "x.bmp").string()), DibFileNotCreated);
    EXPECT_EQ(DIB_WriteFile(nullptr, (folder / "none.bmp").string()), DibImageNotReadable);
    EXPECT_EQ(DIB_WriteFile(truncated.get(), (folder / "truncated.bmp").string()), DibImageNotReadable);
    EXPECT_EQ(DIB_WriteFile(compressedWithoutSize.get(), (folder / "rle.bmp").string()), DibNotWritten);
    EXPECT_FALSE(std::filesystem::exists(folder / "truncated.bmp"));

    services.fileNames.push_back((folder / "chosen.").string());
    EXPECT_EQ(DIB_WriteFile(image.get(), ""), DibWritten);
    EXPECT_TRUE(std::filesystem::exists(folder / "chosen.bmp"));
    EXPECT_EQ(services.dialogRequests.back().filter, "Windows Bitmap (*.bmp)|*.bmp");
}

TEST_F(DibFiles, ReadGivesBackTheWrittenImage) {
    const std::vector<std::uint8_t> bytes = DibBytes({.width = 3, .height = 2, .pixels = std::vector<std::uint8_t>(24, 7)});
    const OwnedBlock image(BlockWith(bytes));
    const auto path = folder / "round.bmp";
    ASSERT_EQ(DIB_WriteFile(image.get(), path.string()), DibWritten);
    const OwnedBlock read(DIB_ReadFile(path.string()));
    ASSERT_NE(read.get(), nullptr);
    const BlockLock written(image.get());
    const BlockLock back(read.get());
    ASSERT_EQ(back.Size(), written.Size());
    EXPECT_EQ(std::memcmp(back.Data(), written.Data(), back.Size()), 0);
}

TEST_F(DibFiles, ReadRefusesWhatIsNotAWholeBmpAndAllocatesNothing) {
    const auto notBmp = folder / "not.bmp";
    std::ofstream(notBmp, std::ios::binary) << "PK\x03\x04 and then some more bytes";
    const auto shortFile = folder / "short.bmp";
    std::ofstream(shortFile, std::ios::binary) << "BM\x00\x10\x00\x00" << std::string(20, '\0');
    const auto tiny = folder / "tiny.bmp";
    std::ofstream(tiny, std::ios::binary) << "BM";
    const std::size_t before = LiveBlockCount();
    for (const auto& path : {notBmp, shortFile, tiny, folder / "missing.bmp"}) {
        EXPECT_EQ(DIB_ReadFile(path.string()), nullptr) << path;
        EXPECT_EQ(LiveBlockCount(), before) << path;
    }
    services.fileNames.push_back(std::nullopt);
    EXPECT_EQ(DIB_ReadFile(""), nullptr);
    EXPECT_EQ(services.dialogRequests.back().filter, "Windows Bitmaps (*.bmp)|*.bmp");
}

}  // namespace
}  // namespace quorvane::testing
