#include "platform/jpeg.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <exception>
#include <vector>

#include "platform/error.h"
#include "platform/file_io.h"

namespace quorvane {
namespace {

// How libjpeg calls come back to us when they fail.
//
// libjpeg reports a fatal error through error_exit, which must not return. Ours
// keeps the message and jumps back to the RunGuarded call that entered libjpeg;
// between the two lie only libjpeg's C frames and our callbacks, none of which
// owns an object with a destructor, so the jump skips no clean-up. RunGuarded's
// caller then throws the message as an Error, outside every C frame.
struct ErrorHandler {
    jpeg_error_mgr manager;  // First, so that libjpeg's pointer to it is a pointer to us.
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// Progressive files may hold any number of scans, and each one is a pass over the
// whole picture; past this many a file is refused rather than decoded for minutes.
constexpr int MaxScans = 500;

// Rows handed to libjpeg per call.
constexpr int RowBatch = 16;

ErrorHandler& HandlerOf(j_common_ptr info) { return *reinterpret_cast<ErrorHandler*>(info->err); }

[[noreturn]] void Fail(j_common_ptr info, const char* message) {
    ErrorHandler& handler = HandlerOf(info);
    std::snprintf(handler.message, sizeof handler.message, "%s", message);
    std::longjmp(handler.jump, 1);
}

void ExitWithMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    Fail(info, text);
}

// Warnings are not printed. libjpeg decodes past damaged entropy data (as djpeg
// does), but a file that ends early would come out partly grey: that is an error.
void EmitMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    if (info->err->msg_code == JWRN_JPEG_EOF) Fail(info, "JPEG file is truncated");
    ++info->err->num_warnings;
}

void OutputNothing(j_common_ptr) {}

void CheckScanCount(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans)
        Fail(info, "JPEG file has too many scans");
}

void InstallHandler(ErrorHandler& handler) {
    jpeg_std_error(&handler.manager);
    handler.manager.error_exit = ExitWithMessage;
    handler.manager.emit_message = EmitMessage;
    handler.manager.output_message = OutputNothing;
    handler.message[0] = '\0';
}

// Runs `step`, a function that calls into libjpeg, and tells whether it ran to
// the end. `step` must not own objects with destructors.
template <typename Step>
bool RunGuarded(ErrorHandler& handler, const Step& step) {
    if (setjmp(handler.jump) != 0) return false;
    step();
    return true;
}

template <typename Step>
void Guarded(ErrorHandler& handler, const Step& step) {
    if (!RunGuarded(handler, step)) throw Error(handler.message);
}

class Decompressor {
public:
    Decompressor() {
        InstallHandler(handler_);
        info_.err = &handler_.manager;
        progress_.progress_monitor = CheckScanCount;
        Guarded(handler_, [this] { jpeg_create_decompress(&info_); });
        info_.progress = &progress_;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct& Info() { return info_; }
    ErrorHandler& Handler() { return handler_; }

private:
    ErrorHandler handler_{};
    jpeg_progress_mgr progress_{};
    jpeg_decompress_struct info_{};
};

// One colour channel of a CMYK pixel as red, green or blue. Adobe's files store
// the inks inverted (255 is no ink), other files store them as they are.
std::uint8_t InkToLight(unsigned ink, unsigned black, bool inverted) {
    if (!inverted) {
        ink = 255 - ink;
        black = 255 - black;
    }
    return static_cast<std::uint8_t>((ink * black + 127) / 255);
}

void ConvertCmykRow(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        bgr[0] = InkToLight(cmyk[2], cmyk[3], inverted);
        bgr[1] = InkToLight(cmyk[1], cmyk[3], inverted);
        bgr[2] = InkToLight(cmyk[0], cmyk[3], inverted);
    }
}

// jpeg_read_scanlines returns no rows only from a source that waits for more
// data; ours holds all there is, so no rows means there are none to come.
JDIMENSION ReadRows(jpeg_decompress_struct& info, JSAMPROW* rows, JDIMENSION count) {
    const JDIMENSION read = jpeg_read_scanlines(&info, rows, count);
    if (read == 0) Fail(reinterpret_cast<j_common_ptr>(&info), "JPEG file is truncated");
    return read;
}

void DecodeRows(jpeg_decompress_struct& info, std::uint8_t* bits, std::size_t stride) {
    std::array<JSAMPROW, RowBatch> rows;
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(RowBatch, info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = bits + (first + i) * stride;
        ReadRows(info, rows.data(), count);
    }
}

// CMYK rows go through `buffer` (RowBatch rows of four bytes a pixel) and are
// converted into the picture's rows.
void DecodeCmykRows(jpeg_decompress_struct& info, std::uint8_t* bits, std::size_t stride, std::uint8_t* buffer) {
    const bool inverted = info.saw_Adobe_marker;
    const std::size_t bufferStride = std::size_t{info.output_width} * 4;
    std::array<JSAMPROW, RowBatch> rows;
    for (int i = 0; i < RowBatch; ++i) rows[i] = buffer + i * bufferStride;
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(RowBatch, info.output_height - first);
        const JDIMENSION read = ReadRows(info, rows.data(), count);
        for (JDIMENSION i = 0; i < read; ++i)
            ConvertCmykRow(rows[i], bits + (first + i) * stride, static_cast<int>(info.output_width), inverted);
    }
}

// Writes compressed data through a ReplacingFile in large pieces. A write error
// is kept as the exception ReplacingFile threw and rethrown once libjpeg is left.
struct FileDestination {
    static constexpr std::size_t BufferSize = std::size_t{1} << 20;

    jpeg_destination_mgr manager;
    ReplacingFile* file;
    std::uint8_t* buffer;
    std::exception_ptr failure;
};

FileDestination& DestinationOf(j_compress_ptr info) { return *static_cast<FileDestination*>(info->client_data); }

void WriteOrFail(j_compress_ptr info, std::size_t size) {
    FileDestination& destination = DestinationOf(info);
    bool written = true;
    try {
        destination.file->Write(destination.buffer, size);
    } catch (...) {
        destination.failure = std::current_exception();
        written = false;
    }
    if (!written) Fail(reinterpret_cast<j_common_ptr>(info), "");
    destination.manager.next_output_byte = destination.buffer;
    destination.manager.free_in_buffer = FileDestination::BufferSize;
}

void StartDestination(j_compress_ptr info) {
    FileDestination& destination = DestinationOf(info);
    destination.manager.next_output_byte = destination.buffer;
    destination.manager.free_in_buffer = FileDestination::BufferSize;
}

boolean FlushFullBuffer(j_compress_ptr info) {
    WriteOrFail(info, FileDestination::BufferSize);
    return TRUE;
}

void FlushLastBuffer(j_compress_ptr info) {
    WriteOrFail(info, FileDestination::BufferSize - DestinationOf(info).manager.free_in_buffer);
}

class Compressor {
public:
    Compressor() {
        InstallHandler(handler_);
        info_.err = &handler_.manager;
        Guarded(handler_, [this] { jpeg_create_compress(&info_); });
    }
    ~Compressor() { jpeg_destroy_compress(&info_); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    jpeg_compress_struct& Info() { return info_; }

    // Like Guarded, but a write error comes out as ReplacingFile's own Error.
    template <typename Step>
    void Run(const FileDestination& destination, const Step& step) {
        if (RunGuarded(handler_, step)) return;
        if (destination.failure) std::rethrow_exception(destination.failure);
        throw Error(handler_.message);
    }

private:
    ErrorHandler handler_{};
    jpeg_compress_struct info_{};
};

void EncodeRows(jpeg_compress_struct& info, const Bitmap& image, const std::uint8_t* blackRow) {
    std::array<JSAMPROW, RowBatch> rows;
    while (info.next_scanline < info.image_height) {
        const JDIMENSION first = info.next_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(RowBatch, info.image_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = const_cast<JSAMPROW>(blackRow ? blackRow : image.ScanLine(static_cast<int>(first + i)));
        jpeg_write_scanlines(&info, rows.data(), count);
    }
}

}  // namespace

Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    Decompressor decompressor;
    jpeg_decompress_struct& info = decompressor.Info();
    ErrorHandler& handler = decompressor.Handler();
    Guarded(handler, [&] {
        jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
        jpeg_read_header(&info, TRUE);
    });
    Bitmap::CheckSize(info.image_width, info.image_height);

    const bool inks = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = inks ? JCS_CMYK : JCS_EXT_BGR;
    Guarded(handler, [&] { jpeg_calc_output_dimensions(&info); });

    Bitmap image(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    std::uint8_t* bits = image.Bits();
    const std::size_t stride = image.Stride();
    std::vector<std::uint8_t> inkRows(inks ? std::size_t{info.output_width} * 4 * RowBatch : 0);
    Guarded(handler, [&] {
        jpeg_start_decompress(&info);
        if (inks)
            DecodeCmykRows(info, bits, stride, inkRows.data());
        else
            DecodeRows(info, bits, stride);
        jpeg_finish_decompress(&info);
    });
    return image;
}

Bitmap ReadJpegFile(const std::string& path) {
    const MappedFile file(path);
    try {
        return DecodeJpeg(file.Data(), file.Size());
    } catch (const Error& error) {
        throw Error("Cannot read file \"" + path + "\". " + error.what());
    }
}

void WriteJpegFile(const Bitmap& image, const std::string& path) {
    if (image.Empty()) throw Error("There is no image to save");
    // A picture whose storage was released is black.
    std::vector<std::uint8_t> blackRow(image.HasPixels() ? 0 : image.Stride());

    ReplacingFile file(path);
    std::vector<std::uint8_t> buffer(FileDestination::BufferSize);
    FileDestination destination{};
    destination.manager.init_destination = StartDestination;
    destination.manager.empty_output_buffer = FlushFullBuffer;
    destination.manager.term_destination = FlushLastBuffer;
    destination.file = &file;
    destination.buffer = buffer.data();

    Compressor compressor;
    jpeg_compress_struct& info = compressor.Info();
    compressor.Run(destination, [&] {
        info.dest = &destination.manager;
        info.client_data = &destination;
        info.image_width = static_cast<JDIMENSION>(image.Width());
        info.image_height = static_cast<JDIMENSION>(image.Height());
        info.input_components = Bitmap::BytesPerPixel;
        info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 90, TRUE);
        jpeg_start_compress(&info, TRUE);
        EncodeRows(info, image, blackRow.empty() ? nullptr : blackRow.data());
        jpeg_finish_compress(&info);
    });
    file.Commit();
}

}  // namespace quorvane
