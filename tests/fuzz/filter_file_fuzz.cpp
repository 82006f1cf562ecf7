// Filter files of any content: the reader splits them into three expressions
// (or refuses them with an Error) and never reads out of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "custom/filter_file.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        quorvane::ParseFilterFile(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const quorvane::Error&) {
    }
    return 0;
}
