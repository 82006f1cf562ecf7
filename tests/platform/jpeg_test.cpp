#include "platform/jpeg.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/error.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const char* const RealPhotoFolder = "/usr/share/go-1.19/src/image/testdata";
const char* const ImageMagick = "/usr/bin/convert";

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "quorvane-jpeg-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() { fs::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

bool HaveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command whose warnings we do not want in the test output;
// djpeg exits with 2 when it only warned.
int RunQuietly(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()); }

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Smooth gradients, a hard-edged disc and noise: enough like a photo that every
// part of the codec has work to do.
Bitmap MakePhoto(int width, int height, std::uint32_t seed) {
    Bitmap image(width, height);
    std::mt19937 random(seed);
    const int centreX = width / 3;
    const int centreY = height / 2;
    const int radius = std::max(1, std::min(width, height) / 3);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            int red = 255 * x / std::max(1, width - 1);
            int green = 255 * y / std::max(1, height - 1);
            int blue = (x * 7 + y * 3) % 256;
            const int dx = x - centreX;
            const int dy = y - centreY;
            if (dx * dx + dy * dy < radius * radius) {
                red = 255 - red;
                blue = 40;
            }
            const int noise = static_cast<int>(random() % 25) - 12;
            row[3 * x] = static_cast<std::uint8_t>(std::clamp(blue + noise, 0, 255));
            row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp(green + noise, 0, 255));
            row[3 * x + 2] = static_cast<std::uint8_t>(std::clamp(red - noise, 0, 255));
        }
    }
    return image;
}

Bitmap MakeNoise(int width, int height, std::uint32_t seed) {
    Bitmap image(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) image.ScanLine(y)[x] = static_cast<std::uint8_t>(random());
    return image;
}

Bytes ToPpm(const Bitmap& image) {
    const std::string header =
        "P6\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n255\n";
    Bytes ppm(header.begin(), header.end());
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x) ppm.insert(ppm.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
    }
    return ppm;
}

// Reads the P5 (grey, spread to three channels) or P6 files djpeg and
// ImageMagick write.
Bitmap FromPnm(const Bytes& pnm) {
    std::istringstream in(std::string(pnm.begin(), pnm.end()));
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    if ((magic != "P5" && magic != "P6") || maximum != 255) throw std::runtime_error("unexpected PNM " + magic);
    const int channels = magic == "P6" ? 3 : 1;
    const auto offset = static_cast<std::size_t>(in.tellg());
    if (pnm.size() < offset + std::size_t(width) * height * channels) throw std::runtime_error("short PNM");
    Bitmap image(width, height);
    const std::uint8_t* source = pnm.data() + offset;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, source += channels)
            image.SetPixel(x, y, channels == 3 ? RGB(source[0], source[1], source[2])
                                               : RGB(source[0], source[0], source[0]));
    return image;
}

// Empty when the pictures are equal, else where they first differ.
std::string Difference(const Bitmap& actual, const Bitmap& expected) {
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height())
        return "size " + std::to_string(actual.Width()) + "x" + std::to_string(actual.Height()) + " instead of " +
               std::to_string(expected.Width()) + "x" + std::to_string(expected.Height());
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            if (actual.Pixel(x, y) != expected.Pixel(x, y)) {
                std::ostringstream text;
                text << "pixel (" << x << ", " << y << ") is " << std::hex << actual.Pixel(x, y) << " instead of "
                     << expected.Pixel(x, y);
                return text.str();
            }
    return {};
}

bool PaddingIsZero(const Bitmap& image) {
    const std::size_t used = static_cast<std::size_t>(image.Width()) * 3;
    for (int y = 0; y < image.Height(); ++y)
        for (std::size_t i = used; i < image.Stride(); ++i)
            if (image.ScanLine(y)[i] != 0) return false;
    return true;
}

Bitmap Decode(const Bytes& bytes) { return DecodeJpeg(bytes.data(), bytes.size()); }

// The message DecodeJpeg gives, or "no error".
std::string DecodeError(const Bytes& bytes) {
    try {
        Decode(bytes);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

Bitmap Djpeg(const TempFolder& folder, const std::string& jpeg) {
    const std::string output = folder / "djpeg.pnm";
    fs::remove(output);
    RunQuietly("djpeg -ppm -outfile '" + output + "' '" + jpeg + "'");
    return FromPnm(ReadBytes(output));
}

Bytes Cjpeg(const TempFolder& folder, const Bitmap& image, const std::string& options) {
    WriteBytes(folder / "in.ppm", ToPpm(image));
    const std::string output = folder / "cjpeg.jpg";
    fs::remove(output);
    if (RunQuietly("cjpeg " + options + " -outfile '" + output + "' '" + (folder / "in.ppm") + "'") != 0)
        throw std::runtime_error("cjpeg " + options + " failed");
    return ReadBytes(output);
}

#define SKIP_WITHOUT_LIBJPEG_TOOLS()                                   \
    if (!HaveTool("cjpeg") || !HaveTool("djpeg")) GTEST_SKIP() << "cjpeg/djpeg not installed"

TEST(JpegDecode, EqualsDjpegForEveryKindOfFile) {
    SKIP_WITHOUT_LIBJPEG_TOOLS();
    struct Case {
        const char* name;
        const char* options;
        int width;
        int height;
    };
    const Case cases[] = {
        {"baseline", "-quality 90 -baseline", 61, 35},
        {"progressive", "-progressive", 61, 35},
        {"4:4:4", "-sample 1x1", 61, 35},
        {"4:2:2", "-sample 2x1", 61, 35},
        {"4:2:0", "-sample 2x2", 61, 35},
        {"4:4:0", "-sample 1x2", 61, 35},
        {"4:1:1", "-sample 4x1", 61, 35},
        {"grayscale", "-grayscale", 61, 35},
        {"progressive grayscale", "-grayscale -progressive", 61, 35},
        {"RGB colour space", "-rgb", 61, 35},
        {"arithmetic", "-arithmetic", 61, 35},
        {"arithmetic progressive", "-arithmetic -progressive -sample 2x1", 61, 35},
        {"restart markers", "-restart 1B", 61, 35},
        {"optimised tables", "-optimize -sample 1x1", 61, 35},
        {"quality 100", "-quality 100", 61, 35},
        {"quality 5", "-quality 5", 61, 35},
        {"single pixel", "", 1, 1},
        {"single row", "-sample 2x2", 301, 1},
        {"single column", "-progressive", 1, 173},
        {"several MCU rows", "-sample 2x2", 333, 251},
    };
    const TempFolder folder;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const Bytes jpeg = Cjpeg(folder, MakePhoto(test.width, test.height, 7), test.options);
        WriteBytes(folder / "test.jpg", jpeg);
        const Bitmap decoded = Decode(jpeg);
        EXPECT_EQ(Difference(decoded, Djpeg(folder, folder / "test.jpg")), "");
        EXPECT_TRUE(PaddingIsZero(decoded));
    }
}

TEST(JpegDecode, EqualsDjpegForRealPhotos) {
    if (!HaveTool("djpeg")) GTEST_SKIP() << "djpeg not installed";
    if (!fs::is_directory(RealPhotoFolder)) GTEST_SKIP() << RealPhotoFolder << " not installed";
    const TempFolder folder;
    int photos = 0;
    for (const auto& entry : fs::directory_iterator(RealPhotoFolder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("video-", 0) != 0 || entry.path().extension() != ".jpeg") continue;
        SCOPED_TRACE(name);
        ++photos;
        const Bitmap decoded = ReadJpegFile(entry.path().string());
        EXPECT_EQ(Difference(decoded, Djpeg(folder, entry.path().string())), "");
    }
    EXPECT_GT(photos, 0);
}

TEST(JpegDecode, CmykComesOutAsImageMagickShowsIt) {
    SKIP_WITHOUT_LIBJPEG_TOOLS();
    if (!fs::exists(ImageMagick)) GTEST_SKIP() << "ImageMagick not installed";
    const TempFolder folder;
    WriteBytes(folder / "in.ppm", ToPpm(MakePhoto(64, 48, 3)));
    const std::string cmyk = folder / "cmyk.jpg";
    const std::string magick = std::string(ImageMagick) + " '";
    ASSERT_EQ(RunQuietly(magick + (folder / "in.ppm") + "' -colorspace CMYK -quality 95 '" + cmyk + "'"), 0);
    ASSERT_EQ(RunQuietly(magick + cmyk + "' -colorspace sRGB -depth 8 '" + (folder / "magick.ppm") + "'"), 0);
    const Bitmap decoded = ReadJpegFile(cmyk);
    const Bitmap shown = FromPnm(ReadBytes(folder / "magick.ppm"));
    ASSERT_EQ(decoded.Width(), shown.Width());
    ASSERT_EQ(decoded.Height(), shown.Height());
    int worst = 0;
    for (int y = 0; y < decoded.Height(); ++y)
        for (int x = 0; x < decoded.Width() * 3; ++x)
            worst = std::max(worst, std::abs(decoded.ScanLine(y)[x] - shown.ScanLine(y)[x]));
    EXPECT_LE(worst, 2);
    // ImageMagick's files carry Adobe's marker, whose inverted inks djpeg converts the same way.
    EXPECT_EQ(Difference(decoded, Djpeg(folder, cmyk)), "");
}

// The last scan of a progressive file repeated until the file holds `scans` of them.
Bytes WithRepeatedLastScan(const Bytes& jpeg, int scans) {
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) lastScan = i;
    const Bytes scan(jpeg.begin() + static_cast<std::ptrdiff_t>(lastScan), jpeg.end() - 2);
    Bytes result(jpeg.begin(), jpeg.end() - 2);
    for (int i = 0; i < scans; ++i) result.insert(result.end(), scan.begin(), scan.end());
    result.insert(result.end(), {0xFF, 0xD9});
    return result;
}

std::size_t FindMarker(const Bytes& jpeg, std::uint8_t marker) {
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) return i;
    throw std::runtime_error("marker not found");
}

Bytes Cut(const Bytes& bytes, std::size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

TEST(JpegDecode, RefusesDamagedFilesWithAReason) {
    SKIP_WITHOUT_LIBJPEG_TOOLS();
    const TempFolder folder;
    const Bytes good = Cjpeg(folder, MakePhoto(64, 48, 1), "");
    const Bytes progressive = Cjpeg(folder, MakePhoto(64, 48, 1), "-progressive");
    const std::size_t frame = FindMarker(good, 0xC0);
    const std::size_t scan = FindMarker(good, 0xDA);

    Bytes huge = good;  // SOF0: length (2), precision (1), height (2), width (2)
    huge[frame + 5] = huge[frame + 7] = 0xFF;
    huge[frame + 6] = huge[frame + 8] = 0xDC;
    Bytes noWidth = good;
    noWidth[frame + 7] = noWidth[frame + 8] = 0;
    Bytes garbage = {0xFF, 0xD8};
    std::mt19937 random(5);
    for (int i = 0; i < 500; ++i) garbage.push_back(static_cast<std::uint8_t>(random()));
    Bytes tablesOnly = Cut(good, frame);
    tablesOnly.insert(tablesOnly.end(), {0xFF, 0xD9});
    Bytes badTable = good;
    badTable[FindMarker(good, 0xC4) + 4] = 0xFF;  // the first table's class and number

    struct Case {
        const char* name;
        Bytes bytes;
        std::string message;
    };
    const Case cases[] = {
        {"empty", {}, "Empty input file"},
        {"a BMP file", {'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0}, "Not a JPEG file: starts with 0x42 0x4d"},
        {"start marker only", {0xFF, 0xD8}, "JPEG file is truncated"},
        {"headers without scan", Cut(good, scan), "JPEG file is truncated"},
        {"cut in the scan data", Cut(good, scan + (good.size() - scan) / 2), "JPEG file is truncated"},
        {"end marker missing", Cut(good, good.size() - 2), "JPEG file is truncated"},
        {"progressive cut in the scans", Cut(progressive, progressive.size() * 2 / 3), "JPEG file is truncated"},
        {"huge declared size", huge, "Image too large: 65500 x 65500 pixels"},
        {"zero width", noWidth, "Empty JPEG image (DNL not supported)"},
        {"tables without image", tablesOnly, "JPEG datastream contains no image"},
        {"bad Huffman table", badTable, "Bogus DHT index 239"},
        {"hundreds of scans", WithRepeatedLastScan(progressive, 600), "JPEG file has too many scans"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(DecodeError(test.bytes), test.message);
    }
    SCOPED_TRACE("garbage after the start marker");
    EXPECT_NE(DecodeError(garbage), "no error");
}

TEST(JpegDecode, SurvivesCorruptedBytes) {
    SKIP_WITHOUT_LIBJPEG_TOOLS();
    const TempFolder folder;
    for (const char* options : {"", "-progressive", "-arithmetic"}) {
        SCOPED_TRACE(options);
        const Bytes good = Cjpeg(folder, MakePhoto(40, 24, 2), options);
        std::mt19937 random(11);
        for (int i = 0; i < 300; ++i) {
            Bytes bad = good;
            for (int changes = 0; changes < 4; ++changes)
                bad[random() % bad.size()] = static_cast<std::uint8_t>(random());
            try {
                const Bitmap image = Decode(bad);
                EXPECT_TRUE(PaddingIsZero(image));
            } catch (const Error& error) {
                EXPECT_STRNE(error.what(), "");
            }
        }
    }
}

TEST(JpegFile, ReadingNamesTheFile) {
    const TempFolder folder;
    const std::string path = folder / "broken.jpg";
    WriteBytes(path, {0xFF, 0xD8, 0xFF});
    try {
        ReadJpegFile(path);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot read file \"" + path + "\". JPEG file is truncated");
    }
    EXPECT_THROW(ReadJpegFile(folder / "missing.jpg"), Error);
}

TEST(JpegEncode, EqualsCjpegByteForByte) {
    SKIP_WITHOUT_LIBJPEG_TOOLS();
    const TempFolder folder;
    const std::pair<int, int> sizes[] = {{1, 1}, {17, 9}, {640, 3}, {3, 640}, {301, 203}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const Bitmap image = MakePhoto(width, height, 9);
        WriteJpegFile(image, folder / "ours.jpg");
        EXPECT_EQ(ReadBytes(folder / "ours.jpg"), Cjpeg(folder, image, "-quality 90 -baseline"));
    }
    SCOPED_TRACE("released pixels write as black");
    Bitmap released = MakePhoto(23, 11, 4);
    released.ReleasePixels();
    WriteJpegFile(released, folder / "ours.jpg");
    EXPECT_EQ(ReadBytes(folder / "ours.jpg"), Cjpeg(folder, Bitmap(23, 11), "-quality 90 -baseline"));
}

TEST(JpegEncode, RoundTripKeepsColoursInPlace) {
    const TempFolder folder;
    // Flat 16 x 16 squares, one per colour: JPEG keeps each close to its value.
    const TColor colours[] = {RGB(220, 30, 30), RGB(30, 200, 40), RGB(20, 40, 210), RGB(240, 240, 60)};
    Bitmap image(41, 39);  // partial squares at the right and bottom edges
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) image.SetPixel(x, y, colours[(x / 16 + y / 16 * 2) % 4]);
    WriteJpegFile(image, folder / "squares.jpg");
    const Bitmap decoded = ReadJpegFile(folder / "squares.jpg");
    ASSERT_EQ(decoded.Width(), 41);
    ASSERT_EQ(decoded.Height(), 39);
    EXPECT_TRUE(PaddingIsZero(decoded));
    const std::pair<int, int> centres[] = {{8, 8}, {24, 8}, {8, 24}, {24, 24}, {38, 37}};
    for (const auto& [x, y] : centres) {
        SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
        const TColor expected = image.Pixel(x, y);
        const TColor actual = decoded.Pixel(x, y);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(static_cast<int>(actual >> shift & 0xFF), static_cast<int>(expected >> shift & 0xFF), 6);
    }
}

std::vector<std::string> FolderContents(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(JpegEncode, FailedWriteCreatesNothing) {
    const TempFolder folder;
    EXPECT_THROW(WriteJpegFile(MakePhoto(8, 8, 1), folder / "missing/out.jpg"), Error);
    EXPECT_TRUE(FolderContents(folder.Path()).empty());
    try {
        WriteJpegFile(Bitmap(), folder / "empty.jpg");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "There is no image to save");
    }
    EXPECT_TRUE(FolderContents(folder.Path()).empty());
}

// Limits the size of files this process writes, so that a write fails part way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(JpegEncode, ExistingFileSurvivesAFailedWrite) {
    const TempFolder folder;
    const std::string target = folder / "photo.jpg";
    const Bytes original = {'k', 'e', 'e', 'p'};
    struct Case {
        const char* name;
        int size;         // of a noise picture
        rlim_t limit;     // on the file size
    };
    const Case cases[] = {
        {"fails in the last piece", 200, 2000},
        {"fails in a full piece", 1400, 200000},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WriteBytes(target, original);
        const Bitmap image = MakeNoise(test.size, test.size, 1);
        try {
            const FileSizeLimit limit(test.limit);
            WriteJpegFile(image, target);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Cannot write file \"" + target + "\". ", 0), 0u) << error.what();
        }
        EXPECT_EQ(ReadBytes(target), original);
        EXPECT_EQ(FolderContents(folder.Path()), std::vector<std::string>{"photo.jpg"});
    }
    WriteJpegFile(MakeNoise(1400, 1400, 1), target);
    EXPECT_GT(fs::file_size(target), 1u << 20) << "the second case must fill a whole piece";
}

}  // namespace
}  // namespace quorvane
