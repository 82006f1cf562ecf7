// Feeds arbitrary bytes to the JPEG decoder: it may refuse the input with an
// Error, but must never crash, hang or touch memory it does not own.
//
// Pictures that declare more than MaxPixels are passed over. They are legal,
// and DecodeJpeg would decode them, but a progressive one holds two bytes per
// coefficient for the whole picture; that would run past the fuzzer's memory
// limit and tell nothing new. The header is read with libjpeg itself, so the
// decision matches what DecodeJpeg will see.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <new>

#include <jpeglib.h>

#include "platform/error.h"
#include "platform/jpeg.h"

namespace {

constexpr unsigned long MaxPixels = 4ul << 20;

struct HeaderErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<HeaderErrors*>(info->err)->jump, 1); }
void Ignore(j_common_ptr, int) {}

bool DeclaresHugePicture(const std::uint8_t* data, std::size_t size) {
    jpeg_decompress_struct info{};
    HeaderErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpBack;
    errors.manager.emit_message = Ignore;
    bool huge = false;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
        jpeg_read_header(&info, TRUE);
        huge = static_cast<unsigned long>(info.image_width) * info.image_height > MaxPixels;
    }
    jpeg_destroy_decompress(&info);
    return huge;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (DeclaresHugePicture(data, size)) return 0;
    try {
        quorvane::DecodeJpeg(data, size);
    } catch (const quorvane::Error&) {
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
