#include "platform/bmp.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/error.h"

// The cases below name only the fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace quorvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Picture = std::vector<std::vector<TColor>>;  // rows from the top

constexpr TColor Black = RGB(0, 0, 0);
constexpr TColor Red = RGB(255, 0, 0);
constexpr TColor Green = RGB(0, 255, 0);
constexpr TColor Blue = RGB(0, 0, 255);
constexpr TColor Gray = RGB(128, 128, 128);
constexpr TColor Teal = RGB(0, 128, 128);

// What a test file holds; BmpBytes and DibBytes assemble it.
struct DibLayout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;  // inside a header of 52 bytes or more, else after it
    std::vector<TColor> palette;
    std::optional<std::uint32_t> colorsUsed;  // written as palette.size() when absent
    std::vector<Bytes> rows;                  // in file order, each padded here to 4 bytes
    Bytes stream;                             // compressed pixels
    std::optional<std::uint32_t> fileOffset;  // the file header's pixel offset
};

void Put(Bytes& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Bytes DibBytes(const DibLayout& layout) {
    Bytes bytes;
    Put(bytes, layout.headerSize, 4);
    if (layout.headerSize == 12) {
        Put(bytes, static_cast<std::uint32_t>(layout.width), 2);
        Put(bytes, static_cast<std::uint32_t>(layout.height), 2);
        Put(bytes, 1, 2);
        Put(bytes, layout.bitCount, 2);
    } else {
        Put(bytes, static_cast<std::uint32_t>(layout.width), 4);
        Put(bytes, static_cast<std::uint32_t>(layout.height), 4);
        Put(bytes, 1, 2);
        Put(bytes, layout.bitCount, 2);
        Put(bytes, layout.compression, 4);
        Put(bytes, 0, 4);  // image size
        Put(bytes, 2835, 4);
        Put(bytes, 2835, 4);
        Put(bytes, layout.colorsUsed.value_or(static_cast<std::uint32_t>(layout.palette.size())), 4);
        Put(bytes, 0, 4);
        if (layout.headerSize >= 52)
            for (std::uint32_t mask : layout.masks) Put(bytes, mask, 4);
        bytes.resize(layout.headerSize, 0);
    }
    if (layout.headerSize < 52)
        for (std::uint32_t mask : layout.masks) Put(bytes, mask, 4);
    for (TColor colour : layout.palette) {
        bytes.push_back(static_cast<std::uint8_t>(colour >> 16));
        bytes.push_back(static_cast<std::uint8_t>(colour >> 8));
        bytes.push_back(static_cast<std::uint8_t>(colour));
        if (layout.headerSize != 12) bytes.push_back(0);
    }
    for (const Bytes& row : layout.rows) {
        bytes.insert(bytes.end(), row.begin(), row.end());
        bytes.resize((bytes.size() + 3) & ~std::size_t{3}, 0);
    }
    bytes.insert(bytes.end(), layout.stream.begin(), layout.stream.end());
    return bytes;
}

std::size_t PackedPixelOffset(const DibLayout& layout) {
    DibLayout headersOnly = layout;
    headersOnly.rows.clear();
    headersOnly.stream.clear();
    return DibBytes(headersOnly).size();
}

Bytes BmpBytes(const DibLayout& layout) {
    const Bytes dib = DibBytes(layout);
    Bytes bytes = {'B', 'M'};
    Put(bytes, static_cast<std::uint32_t>(14 + dib.size()), 4);
    Put(bytes, 0, 4);
    Put(bytes, layout.fileOffset.value_or(static_cast<std::uint32_t>(14 + PackedPixelOffset(layout))), 4);
    bytes.insert(bytes.end(), dib.begin(), dib.end());
    return bytes;
}

Picture PictureOf(const Bitmap& image) {
    Picture picture(image.Height(), std::vector<TColor>(image.Width()));
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) picture[y][x] = image.Pixel(x, y);
    return picture;
}

bool PaddingIsZero(const Bitmap& image) {
    for (int y = 0; y < image.Height(); ++y)
        for (std::size_t i = image.Width() * 3u; i < image.Stride(); ++i)
            if (image.ScanLine(y)[i] != 0) return false;
    return true;
}

struct GoodCase {
    const char* name;
    DibLayout layout;
    Picture expected;
};

const std::vector<GoodCase>& GoodCases() {
    static const std::vector<GoodCase> cases = {
        {"1-bit rows spanning two bytes",
         {.width = 10, .height = 2, .bitCount = 1, .palette = {Red, Blue},
          .rows = {{0xAA, 0x80}, {0xFF, 0x40}}},
         {{Blue, Blue, Blue, Blue, Blue, Blue, Blue, Blue, Red, Blue},
          {Blue, Red, Blue, Red, Blue, Red, Blue, Red, Blue, Red}}},
        {"4-bit with a short palette, indices past it black",
         {.width = 5, .height = 1, .bitCount = 4, .palette = {Red, Green, Blue}, .rows = {{0x01, 0x25, 0xF0}}},
         {{Red, Green, Blue, Black, Black}}},
        {"8-bit with a short palette, indices past it black",
         {.width = 3, .height = 2, .bitCount = 8, .palette = {Red, Green}, .rows = {{0, 1, 200}, {1, 1, 0}}},
         {{Green, Green, Red}, {Red, Green, Black}}},
        {"8-bit with colours used 0 reads 256 entries",
         {.width = 2, .height = 1, .bitCount = 8,
          .palette = [] {
              std::vector<TColor> palette(256, Gray);
              palette[255] = Teal;
              return palette;
          }(),
          .colorsUsed = 0, .rows = {{255, 3}}},
         {{Teal, Gray}}},
        {"RLE8 with runs, an absolute run, end of line, delta and end of bitmap; skipped pixels take colour 0",
         {.width = 5, .height = 3, .bitCount = 8, .compression = 1, .palette = {Gray, Red, Green, Blue},
          .stream = {2, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 1, 2, 2, 0, 1}},
         {{Gray, Green, Green, Gray, Gray},
          {Gray, Gray, Gray, Gray, Gray},
          {Red, Red, Green, Blue, Red}}},
        {"RLE4 with alternating runs and odd absolute runs",
         {.width = 6, .height = 2, .bitCount = 4, .compression = 2, .palette = {Gray, Red, Green, Blue},
          .stream = {5, 0x12, 0, 0, 0, 5, 0x31, 0x23, 0x10, 0, 1, 0x20, 0, 1}},
         {{Blue, Red, Green, Blue, Red, Green}, {Red, Green, Red, Green, Red, Gray}}},
        {"16-bit 555 by default",
         {.width = 3, .height = 1, .bitCount = 16, .rows = {{0x00, 0x7C, 0x00, 0x02, 0x01, 0x00}}},
         {{Red, RGB(0, 132, 0), RGB(0, 0, 8)}}},
        {"16-bit 565 bit fields after a 40-byte header",
         {.width = 4, .height = 1, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F},
          .rows = {{0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0x10, 0x84}}},
         {{Red, Green, RGB(0, 4, 0), RGB(132, 130, 132)}}},
        {"16-bit 565 bit fields inside a 52-byte header",
         {.headerSize = 52, .width = 1, .height = 1, .bitCount = 16, .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F}, .rows = {{0x10, 0x84}}},
         {{RGB(132, 130, 132)}}},
        {"16-bit 444 bit fields inside a V4 header",
         {.headerSize = 108, .width = 2, .height = 1, .bitCount = 16, .compression = 3,
          .masks = {0x0F00, 0x00F0, 0x000F}, .rows = {{0x0A, 0x0F, 0x50, 0x00}}},
         {{RGB(255, 0, 170), RGB(0, 85, 0)}}},
        {"16-bit with an empty blue mask",
         {.width = 1, .height = 1, .bitCount = 16, .compression = 3, .masks = {0x7C00, 0x03E0, 0},
          .rows = {{0xFF, 0x7F}}},
         {{RGB(255, 255, 0)}}},
        {"24-bit bottom-up with junk in the row padding",
         {.width = 3, .height = 2, .bitCount = 24,
          .rows = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE}, {0, 0, 255, 0, 255, 0, 255, 0, 0, 0xEE, 0xEE, 0xEE}}},
         {{Red, Green, Blue}, {RGB(3, 2, 1), RGB(6, 5, 4), RGB(9, 8, 7)}}},
        {"24-bit top-down",
         {.width = 1, .height = -2, .bitCount = 24, .rows = {{0, 0, 255}, {255, 0, 0}}},
         {{Red}, {Blue}}},
        {"32-bit BGRX ignores the fourth byte",
         {.width = 2, .height = 1, .bitCount = 32, .rows = {{1, 2, 3, 0xFF, 128, 128, 0, 0x7F}}},
         {{RGB(3, 2, 1), Teal}}},
        {"32-bit 10-10-10 bit fields keep the top 8 bits",
         {.width = 1, .height = 1, .bitCount = 32, .compression = 3,
          .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}, .rows = {{0x01, 0x00, 0xF8, 0x3F}}},
         {{RGB(255, 128, 0)}}},
        {"32-bit bit fields with red in the low byte, 56-byte header",
         {.headerSize = 56, .width = 2, .height = 1, .bitCount = 32, .compression = 3,
          .masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, .rows = {{10, 20, 30, 40, 255, 0, 0, 0}}},
         {{RGB(10, 20, 30), Red}}},
        {"32-bit alpha bit fields after a 40-byte header",
         {.width = 1, .height = 1, .bitCount = 32, .compression = 6,
          .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, .rows = {{1, 2, 3, 4}}},
         {{RGB(3, 2, 1)}}},
        {"OS/2 core header with a 3-byte palette of 2^bits entries",
         {.headerSize = 12, .width = 3, .height = 1, .bitCount = 4,
          .palette = {Red, Green, Blue, Gray, Gray, Gray, Gray, Gray, Gray, Gray, Gray, Gray, Gray, Gray, Gray, Teal},
          .rows = {{0x12, 0xF0}}},
         {{Green, Blue, Teal}}},
        {"OS/2 2.x 64-byte header",
         {.headerSize = 64, .width = 2, .height = 1, .bitCount = 8, .palette = {Red, Green}, .rows = {{1, 0}}},
         {{Green, Red}}},
        {"V5 header, 8-bit top-down",
         {.headerSize = 124, .width = 2, .height = -2, .bitCount = 8, .palette = {Red, Green, Blue},
          .rows = {{0, 1}, {2, 2}}},
         {{Red, Green}, {Blue, Blue}}},
        {"V5 header, 32-bit without bit fields ignores the masks",
         {.headerSize = 124, .width = 1, .height = 1, .bitCount = 32, .masks = {0xFF, 0xFF00, 0xFF0000},
          .rows = {{255, 0, 0, 0}}},
         {{Blue}}},
        {"pixel offset 0 falls back to the packed layout",
         {.width = 1, .height = 1, .bitCount = 8, .palette = {Red, Green}, .rows = {{1}}, .fileOffset = 0}, {{Green}}},
        {"pixel offset inside the colour table falls back to the packed layout",
         {.width = 1, .height = 1, .bitCount = 8, .palette = {Red, Green}, .rows = {{1}}, .fileOffset = 54},
         {{Green}}},
    };
    return cases;
}

TEST(BmpDecode, EveryVariantGivesTheExpectedPixels) {
    for (const GoodCase& good : GoodCases()) {
        SCOPED_TRACE(good.name);
        const Bytes file = BmpBytes(good.layout);
        const Bitmap image = DecodeBmp(file.data(), file.size());
        EXPECT_EQ(PictureOf(image), good.expected);
        EXPECT_TRUE(PaddingIsZero(image));
        // The same DIB without the file header, as the clipboard holds it.
        const Bytes dib = DibBytes(good.layout);
        EXPECT_EQ(PictureOf(DecodeDib(dib.data(), dib.size())), good.expected);
    }
}

TEST(BmpDecode, HonoursAPixelOffsetPastTheHeaders) {
    DibLayout layout{.width = 1, .height = 1, .bitCount = 8, .palette = {Red, Green}};
    Bytes dib = DibBytes(layout);
    const std::size_t offset = dib.size() + 6;
    dib.resize(offset, 0);
    dib.insert(dib.end(), {1, 0, 0, 0});
    EXPECT_EQ(PictureOf(DecodeDib(dib.data(), dib.size(), offset)), (Picture{{Green}}));
    EXPECT_EQ(PictureOf(DecodeDib(dib.data(), dib.size())), (Picture{{Red}}));

    layout.fileOffset = static_cast<std::uint32_t>(14 + offset);
    Bytes file = BmpBytes(layout);
    file.resize(14 + offset, 0);
    file.insert(file.end(), {1, 0, 0, 0});
    EXPECT_EQ(PictureOf(DecodeBmp(file.data(), file.size())), (Picture{{Green}}));
}

TEST(BmpDecode, LastRowMayLackItsPadding) {
    const Bytes file = BmpBytes({.width = 1, .height = 2, .bitCount = 24, .rows = {{0, 0, 255}, {255, 0, 0}}});
    const Bytes cut(file.begin(), file.end() - 1);
    EXPECT_EQ(PictureOf(DecodeBmp(cut.data(), cut.size())), (Picture{{Blue}, {Red}}));
}

TEST(BmpDecode, LargeBottomUpRowsArriveInOrder) {
    constexpr int width = 601;
    constexpr int height = 7;
    DibLayout layout{.width = width, .height = height, .bitCount = 24};
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        Bytes row;
        for (int x = 0; x < width; ++x) row.insert(row.end(), {std::uint8_t(x), std::uint8_t(fileRow), std::uint8_t(x / 3)});
        layout.rows.push_back(row);
    }
    const Bytes file = BmpBytes(layout);
    const Bitmap image = DecodeBmp(file.data(), file.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; x += 97)
            ASSERT_EQ(image.Pixel(x, y), RGB(x / 3, height - 1 - y, x % 256)) << x << "," << y;
    EXPECT_TRUE(PaddingIsZero(image));
}

struct BadCase {
    const char* name;
    Bytes file;
    const char* message;  // a part of the error text
    bool damagedDib = true;  // false when only the file header is wrong
};

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes[at] = value;
    return bytes;
}

const DibLayout Plain24{.width = 3, .height = 2, .bitCount = 24, .rows = {Bytes(9, 1), Bytes(9, 2)}};

DibLayout Rle8(std::int32_t width, std::int32_t height, Bytes stream) {
    return {.width = width, .height = height, .bitCount = 8, .compression = 1, .palette = {Red, Green},
            .stream = std::move(stream)};
}

std::vector<BadCase> BadCases() {
    const Bytes plain = BmpBytes(Plain24);
    return {
        {"empty file", {}, "truncated"},
        {"truncated file header", Cut(plain, 10), "truncated"},
        {"truncated information header", Cut(plain, 14 + 20), "truncated"},
        {"no signature", WithByte(plain, 0, 'X'), "\"BM\"", false},
        {"bad header size", WithByte(plain, 14, 7), "bad header size 7"},
        {"truncated pixels", Cut(plain, plain.size() - 4), "truncated"},
        {"offset past the end", BmpBytes({.width = 1, .height = 1, .rows = {{1, 2, 3}}, .fileOffset = 100000}),
         "past the end", false},
        {"more than 256 colours", BmpBytes({.bitCount = 8, .palette = {Red}, .colorsUsed = 300, .rows = {{0}}}),
         "300 entries"},
        {"colour table past the end", BmpBytes({.bitCount = 8, .palette = {Red}, .colorsUsed = 200, .rows = {{0}}}),
         "colour table"},
        {"masks past the end", Cut(BmpBytes({.bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}}), 14 + 40 + 6), "bit-field masks"},
        {"width times height too large", BmpBytes({.width = 0x7FFFFFFF, .height = 0x7FFFFFFF, .bitCount = 24}),
         "too large"},
        {"zero width", BmpBytes({.width = 0, .height = 1, .rows = {{1, 2, 3}}}), "width 0"},
        {"negative width", BmpBytes({.width = -4, .height = 1, .rows = {{1, 2, 3}}}), "width -4"},
        {"zero height", BmpBytes({.width = 1, .height = 0, .rows = {{1, 2, 3}}}), "height 0"},
        {"JPEG compression", BmpBytes({.bitCount = 24, .compression = 4, .rows = {{1, 2, 3}}}),
         "Unsupported BMP compression 4"},
        {"PNG compression", BmpBytes({.bitCount = 24, .compression = 5, .rows = {{1, 2, 3}}}),
         "Unsupported BMP compression 5"},
        {"OS/2 Huffman compression", BmpBytes({.headerSize = 64, .bitCount = 1, .compression = 3, .palette = {Red, Red}}),
         "Unsupported BMP compression 3"},
        {"bit count 7", BmpBytes({.bitCount = 7, .rows = {{1}}}), "7 bits per pixel"},
        {"bit fields with 24 bits", BmpBytes({.bitCount = 24, .compression = 3, .masks = {1, 2, 4}, .rows = {{1, 2, 3}}}),
         "bit fields"},
        {"RLE8 with 4 bits", BmpBytes({.bitCount = 4, .compression = 1, .palette = {Red}, .stream = {0, 1}}), "RLE8"},
        {"RLE top-down", BmpBytes(Rle8(2, -1, {0, 1})), "top-down"},
        {"RLE run past the row", BmpBytes(Rle8(4, 1, {5, 1, 0, 1})), "end of a row"},
        {"RLE run continuing past the row", BmpBytes(Rle8(4, 1, {3, 1, 2, 1, 0, 1})), "end of a row"},
        {"RLE absolute run past the row", BmpBytes(Rle8(4, 1, {0, 5, 1, 1, 1, 1, 1, 0, 0, 1})), "end of a row"},
        {"RLE run past the image", BmpBytes(Rle8(2, 1, {0, 0, 1, 1, 0, 1})), "end of the image"},
        {"RLE delta past the row", BmpBytes(Rle8(4, 2, {0, 2, 5, 0, 0, 1})), "delta"},
        {"RLE delta past the image", BmpBytes(Rle8(4, 2, {0, 2, 0, 3, 0, 1})), "delta"},
        {"RLE data ending early", BmpBytes(Rle8(2, 2, {2, 1})), "truncated"},
        {"RLE absolute run cut short", BmpBytes(Rle8(8, 1, {0, 8, 1, 1})), "truncated"},
    };
}

TEST(BmpDecode, DamagedFilesGiveAClearError) {
    for (const BadCase& bad : BadCases()) {
        SCOPED_TRACE(bad.name);
        try {
            DecodeBmp(bad.file.data(), bad.file.size());
            ADD_FAILURE() << "decoded without an error";
        } catch (const Error& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(bad.message), std::string::npos) << message;
            EXPECT_NE(message.back(), '.') << message;
        }
        if (bad.damagedDib && bad.file.size() > 14) {
            EXPECT_THROW(DecodeDib(bad.file.data() + 14, bad.file.size() - 14), Error);
        }
    }
}

TEST(BmpDecode, DibPixelOffsetPastTheEndIsAnError) {
    const Bytes dib = DibBytes(Plain24);
    EXPECT_THROW(DecodeDib(dib.data(), dib.size(), dib.size() + 1), Error);
    EXPECT_THROW(DecodeDib(dib.data(), dib.size(), dib.size() - 4), Error);
}

class BmpFiles : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/bmp_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Path(const std::string& name) const { return folder_ + "/" + name; }

    static Bytes ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    static void WriteAll(const std::string& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    static std::uint32_t Field(const Bytes& bytes, std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
        return value;
    }

    std::string folder_;
};

Bitmap Patterned(int width, int height) {
    Bitmap image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixel(x, y, RGB(x * 40 + 1, y * 50 + 2, x * 7 + y * 11 + 3));
    return image;
}

TEST_F(BmpFiles, WritesA24BitBottomUpFileThatReadsBackExactly) {
    for (int width : {1, 2, 3, 5}) {
        SCOPED_TRACE(width);
        const int height = 3;
        const Bitmap image = Patterned(width, height);
        const std::string path = Path("round.bmp");
        WriteBmpFile(image, path);

        const Bytes file = ReadAll(path);
        const std::size_t stride = image.Stride();
        ASSERT_EQ(file.size(), 54 + stride * height);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(Field(file, 2, 4), file.size());
        EXPECT_EQ(Field(file, 6, 4), 0u);
        EXPECT_EQ(Field(file, 10, 4), 54u);
        EXPECT_EQ(Field(file, 14, 4), 40u);
        EXPECT_EQ(Field(file, 18, 4), std::uint32_t(width));
        EXPECT_EQ(Field(file, 22, 4), std::uint32_t(height));
        EXPECT_EQ(Field(file, 26, 2), 1u);
        EXPECT_EQ(Field(file, 28, 2), 24u);
        EXPECT_EQ(Field(file, 30, 4), 0u);
        EXPECT_EQ(Field(file, 34, 4), stride * height);
        for (std::size_t at = 38; at < 54; at += 4) EXPECT_EQ(Field(file, at, 4), 0u);
        for (int fileRow = 0; fileRow < height; ++fileRow)
            EXPECT_TRUE(std::equal(file.begin() + 54 + fileRow * stride, file.begin() + 54 + (fileRow + 1) * stride,
                                   image.ScanLine(height - 1 - fileRow)))
                << "file row " << fileRow;

        EXPECT_TRUE(ReadBmpFile(path).SamePixels(image));
    }
}

TEST_F(BmpFiles, WritesEmptyAndReleasedImages) {
    WriteBmpFile(Bitmap(), Path("empty.bmp"));
    const Bytes empty = ReadAll(Path("empty.bmp"));
    ASSERT_EQ(empty.size(), 54u);
    EXPECT_EQ(Field(empty, 2, 4), 54u);
    EXPECT_EQ(Field(empty, 18, 4), 0u);
    EXPECT_EQ(Field(empty, 22, 4), 0u);

    Bitmap released = Patterned(3, 2);
    released.ReleasePixels();
    WriteBmpFile(released, Path("released.bmp"));
    EXPECT_EQ(PictureOf(ReadBmpFile(Path("released.bmp"))), Picture(2, std::vector<TColor>(3, Black)));
}

TEST_F(BmpFiles, ReadErrorsNameTheFile) {
    const std::string path = Path("bad.bmp");
    WriteAll(path, Cut(BmpBytes(Plain24), 40));
    try {
        ReadBmpFile(path);
        FAIL() << "read a damaged file";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot read file \"" + path + "\". BMP file is truncated", 0), 0u)
            << error.what();
    }
    EXPECT_THROW(ReadBmpFile(Path("missing.bmp")), Error);
}

TEST_F(BmpFiles, WriteIntoAMissingFolderFails) {
    try {
        WriteBmpFile(Patterned(2, 2), Path("no/such/folder/out.bmp"));
        FAIL() << "wrote into a missing folder";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot create file"), std::string::npos) << error.what();
    }
}

TEST_F(BmpFiles, FailedWriteLeavesTheOldFileAlone) {
    const std::string path = Path("old.bmp");
    const Bytes old = {'o', 'l', 'd'};
    WriteAll(path, old);
    // A child process whose files may not grow past 1000 bytes tries to save
    // a 30 KB picture over the old file.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteBmpFile(Patterned(100, 100), path);
        } catch (const Error&) {
            _exit(3);
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3) << "the write did not fail with an Error";
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1) << "a temporary file was left";
}

// ImageMagick as the reference decoder for a few variants.
TEST_F(BmpFiles, AgreesWithImageMagick) {
    const std::string convert = "/usr/bin/convert";
    if (access(convert.c_str(), X_OK) != 0) GTEST_SKIP() << "ImageMagick is not installed";
    // Left out where ImageMagick differs on purpose: it shifts bit fields other
    // than 555 and 565 instead of replicating bits, has no alpha bit fields and
    // shows indices past a short palette in colour 0.
    const std::set<std::string> checked = {
        "1-bit rows spanning two bytes",
        "8-bit with colours used 0 reads 256 entries",
        "RLE8 with runs, an absolute run, end of line, delta and end of bitmap; skipped pixels take colour 0",
        "RLE4 with alternating runs and odd absolute runs",
        "16-bit 565 bit fields after a 40-byte header",
        "32-bit bit fields with red in the low byte, 56-byte header",
        "OS/2 core header with a 3-byte palette of 2^bits entries",
        "V5 header, 8-bit top-down",
    };
    std::size_t compared = 0;
    for (const GoodCase& good : GoodCases()) {
        if (!checked.contains(good.name)) continue;
        ++compared;
        SCOPED_TRACE(good.name);
        const std::string path = Path("reference.bmp");
        const Bytes file = BmpBytes(good.layout);
        WriteAll(path, file);
        const Bitmap ours = DecodeBmp(file.data(), file.size());

        FILE* pipe = popen((convert + " " + path + " -depth 8 ppm:- 2>/dev/null").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        Bytes ppm;
        for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) ppm.push_back(static_cast<std::uint8_t>(c));
        pclose(pipe);
        const std::string header = "P6\n" + std::to_string(ours.Width()) + " " + std::to_string(ours.Height()) + "\n255\n";
        ASSERT_GE(ppm.size(), header.size());
        ASSERT_EQ(std::string(ppm.begin(), ppm.begin() + header.size()), header);
        ASSERT_EQ(ppm.size(), header.size() + std::size_t(ours.Width()) * ours.Height() * 3);
        const bool sixteen = good.layout.bitCount == 16;
        for (int y = 0; y < ours.Height(); ++y)
            for (int x = 0; x < ours.Width(); ++x) {
                const std::uint8_t* theirs = &ppm[header.size() + (std::size_t(y) * ours.Width() + x) * 3];
                const std::uint8_t* mine = ours.ScanLine(y) + x * 3;
                for (int channel = 0; channel < 3; ++channel)
                    EXPECT_NEAR(mine[2 - channel], theirs[channel], sixteen ? 1 : 0)
                        << "pixel " << x << "," << y << " channel " << channel;
            }
    }
    EXPECT_EQ(compared, checked.size());
}

}  // namespace
}  // namespace quorvane
