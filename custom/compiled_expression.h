// A clean custom-filter expression (custom/variable_template.h) parsed once
// into a postfix program over the pixel's three values.
//
// For a clean expression the substituted text of every pixel has the same
// tokens, only the variables' numerals differ, so the parser takes the same
// steps for every pixel and computes the same operations on different values.
// The program performs exactly those operations with the parser's arithmetic
// (custom/expression_arithmetic.h): its result, its faults and its overflow
// errors are those of parsing the substituted text.
//
// Only expressions that parse completely are compiled; one with a syntax
// error, a "!" or a name that is no function is left to the textual path.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "custom/expression_arithmetic.h"
#include "custom/variable_template.h"

namespace quorvane {

class CompiledExpression {
public:
    // The program for `expression`, or nothing when it is not clean or does
    // not parse completely.
    static std::optional<CompiledExpression> Compile(std::string_view expression, const VariableTemplate& analysis);

    // The channel byte for a pixel: ChannelByte of the result, 0 after a
    // fault. Throws the overflow error as the parser would.
    std::uint8_t Evaluate(const std::array<std::uint8_t, VariableCount>& values) const;

    enum class Operation : std::uint8_t { Constant, Load, Add, Subtract, Multiply, Divide, Power, Negate, Function };

    struct Instruction {
        Operation operation = Operation::Constant;
        Variable variable = Variable::Red;                               // for Load
        expression::MathFunction function = expression::MathFunction::Abs;  // for Function
        long double constant = 0;                                        // for Constant
    };

    // The parse stack holds at most 15 entries, so no program needs more
    // operands at a time.
    static constexpr int MaximumOperands = 15;

private:
    explicit CompiledExpression(std::vector<Instruction> program) : program_(std::move(program)) {}

    std::vector<Instruction> program_;
};

}  // namespace quorvane
