#include "custom/expression_arithmetic.h"

#include <algorithm>

namespace quorvane::expression {
namespace {

constexpr std::array<std::string_view, 10> FunctionNames = {"ABS", "ATAN", "COS", "EXP", "LN",
                                                            "ROUND", "SIN", "SQRT", "SQR", "TRUNC"};

char UpperCase(char character) {
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A') : character;
}

}  // namespace

void ThrowOverflow() { throw Error("Floating point overflow"); }
void ThrowInvalidOperation() { throw Error("Invalid floating point operation"); }

std::string_view FunctionName(MathFunction function) { return FunctionNames[static_cast<std::size_t>(function)]; }

std::optional<MathFunction> FindMathFunction(std::string_view name) {
    for (std::size_t index = 0; index < FunctionNames.size(); ++index) {
        if (std::ranges::equal(name, FunctionNames[index], {}, UpperCase)) return static_cast<MathFunction>(index);
    }
    return std::nullopt;
}

}  // namespace quorvane::expression
