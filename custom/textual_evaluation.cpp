#include "custom/textual_evaluation.h"

namespace quorvane {
namespace {

std::string ReplaceAll(std::string_view text, std::string_view name, std::uint8_t value) {
    const std::string digits = std::to_string(value);
    std::string result;
    result.reserve(text.size() + 2 * digits.size());
    std::size_t start = 0;
    for (std::size_t found = text.find(name); found != std::string_view::npos; found = text.find(name, start)) {
        result.append(text, start, found - start);
        result += digits;
        start = found + name.size();
    }
    result.append(text, start);
    return result;
}

}  // namespace

std::string SubstituteVariables(std::string_view expression, std::uint8_t red, std::uint8_t green,
                                std::uint8_t blue) {
    return ReplaceAll(ReplaceAll(ReplaceAll(expression, "R1", red), "G1", green), "B1", blue);
}

std::uint8_t EvaluateTextually(TMathParser& parser, std::string_view expression, std::uint8_t red,
                               std::uint8_t green, std::uint8_t blue) {
    parser.ParseString = SubstituteVariables(expression, red, green, blue);
    parser.Evaluate();
    return ChannelByte(parser.ResultValue);
}

}  // namespace quorvane
