// DIB_WriteFile and DIB_ReadFile: a BMP file is a 14-byte file header
// followed by the DIB exactly as it lies in its block.
#include <cstring>

#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/services.h"
#include "sources/multitwain_dib.h"
#include "sources/multitwain_dib_header.h"

namespace quorvane {
namespace {

constexpr std::size_t FileHeaderSize = 14;

std::string WithBmpAfterTrailingDot(std::string name) {
    if (!name.empty() && name.back() == '.') name += "bmp";
    return name;
}

std::optional<std::string> AskName(bool saving) {
    FileDialogService* dialogs = TheServices().fileDialogs;
    if (dialogs == nullptr) return std::nullopt;
    const std::optional<std::string> name =
        saving ? dialogs->SaveFileName({"Windows Bitmap (*.bmp)|*.bmp", "", false})
               : dialogs->OpenFileName({"Windows Bitmaps (*.bmp)|*.bmp", "", false});
    if (!name) return std::nullopt;
    return WithBmpAfterTrailingDot(*name);
}

std::uint64_t RowBytes(const DibHeader& header) {
    return (std::uint64_t(std::uint32_t(header.width)) * std::uint64_t(header.bitCount) + 31) / 32 * 4;
}

// Bytes of pixel rows the file will carry, or nothing when a compressed
// image does not say. Sets biSizeImage of an uncompressed information header.
std::optional<std::uint64_t> PixelBytes(std::uint8_t* data, const DibHeader& header) {
    const std::uint64_t rows = header.height < 0 ? -std::int64_t{header.height} : header.height;
    if (header.size == CoreHeaderSize) return rows * RowBytes(header);
    if (header.compression != 0) {
        if (header.sizeImage == 0) return std::nullopt;
        return header.sizeImage;
    }
    const std::uint64_t bytes = rows * RowBytes(header);
    if (bytes > UINT32_MAX) return std::nullopt;
    WriteLittle32(data + 20, static_cast<std::uint32_t>(bytes));
    return bytes;
}

int WriteImage(ReplacingFile& file, BlockHandle image) {
    const BlockLock lock(image);
    const std::optional<DibHeader> header = ReadDibHeader(lock.Data(), lock.Size());
    if (!header) return DibImageNotReadable;
    std::uint64_t colours = header->colorsUsed;
    if (colours == 0 && header->bitCount <= 8) colours = std::uint64_t{1} << header->bitCount;
    if (header->size == CoreHeaderSize) colours = header->colorCount;
    const std::optional<std::uint64_t> pixelBytes = PixelBytes(lock.Data(), *header);
    if (!pixelBytes) return DibNotWritten;
    const std::uint64_t pixelOffset = FileHeaderSize + header->size + header->maskBytes + 4 * colours;
    const std::uint64_t fileSize = pixelOffset + *pixelBytes;
    if (fileSize - FileHeaderSize > lock.Size() || fileSize > UINT32_MAX) return DibImageNotReadable;
    std::uint8_t fileHeader[FileHeaderSize] = {'B', 'M'};
    WriteLittle32(fileHeader + 2, static_cast<std::uint32_t>(fileSize));
    WriteLittle32(fileHeader + 10, static_cast<std::uint32_t>(pixelOffset));
    try {
        file.Write(fileHeader, FileHeaderSize);
        file.Write(lock.Data(), static_cast<std::size_t>(fileSize - FileHeaderSize));
        file.Commit();
    } catch (const Error&) {
        return DibNotWritten;
    }
    return DibWritten;
}

}  // namespace

int DIB_WriteFile(BlockHandle image, const std::string& name) {
    const std::optional<std::string> path = name.empty() ? AskName(true) : name;
    if (!path) return DibDialogCancelled;
    std::optional<ReplacingFile> file;
    try {
        file.emplace(*path);
    } catch (const Error&) {
        return DibFileNotCreated;
    }
    return WriteImage(*file, image);
}

BlockHandle DIB_ReadFile(const std::string& name) {
    const std::optional<std::string> path = name.empty() ? AskName(false) : name;
    if (!path) return nullptr;
    try {
        const MappedFile file(*path);
        if (file.Size() < FileHeaderSize || std::memcmp(file.Data(), "BM", 2) != 0) return nullptr;
        const std::uint32_t fileSize = ReadLittle32(file.Data() + 2);
        if (fileSize < FileHeaderSize || fileSize > file.Size()) return nullptr;
        BlockHandle image = AllocateBlock(fileSize - FileHeaderSize);
        const BlockLock lock(image);
        if (!lock) {
            FreeBlock(image);
            return nullptr;
        }
        std::memcpy(lock.Data(), file.Data() + FileHeaderSize, fileSize - FileHeaderSize);
        return image;
    } catch (const Error&) {
        return nullptr;
    }
}

}  // namespace quorvane
