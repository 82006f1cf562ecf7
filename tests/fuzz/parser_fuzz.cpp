// Feeds arbitrary text to the expression parser, with variables X, y and R1
// known: it may throw an Error (overflow, invalid operation), but must never
// crash, hang or touch memory it does not own, and its outcome must hold
// together: a reported code is one of the syntax error codes, and a failed
// evaluation has the result 0.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "custom/parser.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvane::TMathParser parser;
    int events = 0;
    parser.OnParseError = [&events](quorvane::TMathParser& sender, int code) {
        ++events;
        if (code != 1 && (code < 3 || code > 7)) std::abort();
        if (sender.Failed || code != sender.ErrorCode) std::abort();
    };
    parser.OnGetVar = [](quorvane::TMathParser&, std::string_view name, long double& value, bool& found) {
        found = name == "X" || name == "y" || name == "R1";
        value = name == "R1" ? 200 : 0.5L;
    };
    parser.ParseString.assign(reinterpret_cast<const char*>(data), size);
    try {
        parser.Evaluate();
    } catch (const quorvane::Error&) {
        return 0;
    }
    if (events != (parser.ErrorCode != 0 ? 1 : 0)) std::abort();
    if (parser.Failed && (parser.ResultValue != 0 || std::signbit(parser.ResultValue))) std::abort();
    if (!parser.Failed && parser.ErrorCode != 0) std::abort();
    return 0;
}
