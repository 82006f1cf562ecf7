// Feeds arbitrary bytes to the BMP and DIB decoders: they may refuse the
// input with an Error, but must never crash, hang or touch memory they do
// not own.
#include <cstddef>
#include <cstdint>
#include <new>

#include "platform/bmp.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        quorvane::DecodeBmp(data, size);
    } catch (const quorvane::Error&) {
    } catch (const std::bad_alloc&) {
    }
    try {
        quorvane::DecodeDib(data, size);
    } catch (const quorvane::Error&) {
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
