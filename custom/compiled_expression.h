// A clean custom-filter expression (custom/variable_template.h) parsed once
// into a postfix program over the pixel's three values.
//
// For a clean expression the substituted text of every pixel has the same
// tokens, only the variables' numerals differ, so the parser takes the same
// steps for every pixel and computes the same operations on different values.
// The program performs exactly those operations with the parser's arithmetic
// (custom/expression_arithmetic.h): its result, its faults and its overflow
// errors are those of parsing the substituted text. Which operation runs
// first does not change them: every operation runs for every pixel, a fault
// makes the result 0 wherever it happens, and any overflow ends the
// evaluation with the same error.
//
// That freedom makes two shortcuts exact. A part of the expression that
// depends on one variable, or none, or on two and calls a function or a
// power, is computed once for every value of its variables into a table, with
// its faults and overflows; and an operand pushed only to be taken by the next
// operation is read by the operation itself.
//
// Only expressions that parse completely are compiled; one with a syntax
// error, a "!" or a name that is no function is left to the textual path.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "custom/postfix_program.h"
#include "custom/variable_template.h"

namespace quorvane {

class CompiledExpression {
public:
    // The program for `expression`, or nothing when it is not clean or does
    // not parse completely.
    static std::optional<CompiledExpression> Compile(std::string_view expression, const VariableTemplate& analysis);

    // The channel byte for a pixel's red, green and blue: ChannelByte of the
    // result, 0 after a fault. Throws the overflow error as the parser would.
    std::uint8_t Evaluate(const std::array<std::uint8_t, VariableCount>& values) const;

    // The parse stack holds at most 15 entries, so no program needs more
    // operands at a time.
    static constexpr int MaximumOperands = 15;

    // A part of the expression computed for every value of its variables.
    struct Table {
        enum class Outcome : std::uint8_t { Value, Fault, Overflows };
        std::vector<Variable> variables;  // the index's bytes, lowest first
        std::vector<long double> values;
        std::vector<Outcome> outcomes;
        std::vector<Instruction> program;  // the part itself, to raise an overflow again
    };

private:
    CompiledExpression(std::vector<Instruction> program, std::vector<Table> tables)
        : program_(std::move(program)), tables_(std::move(tables)) {}

    long double Run(const std::vector<Instruction>& program, const std::array<std::uint8_t, VariableCount>& values,
                    bool& fault) const;
    long double Look(const Table& table, const std::array<std::uint8_t, VariableCount>& values, bool& fault) const;

    friend class ProgramOptimiser;

    std::vector<Instruction> program_;
    std::vector<Table> tables_;
};

}  // namespace quorvane
