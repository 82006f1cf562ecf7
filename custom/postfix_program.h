// The instructions of a compiled expression (custom/compiled_expression.h),
// and the parse of a clean expression into them.
//
// A program is postfix: Push puts an operand on a stack of long doubles, an
// operation replaces its operands on top by its result. A binary operation
// may take its right operand from the instruction itself instead of the
// stack.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "custom/expression_arithmetic.h"
#include "custom/variable_template.h"

namespace quorvane {

enum class Operation : std::uint8_t { Push, Add, Subtract, Multiply, Divide, Power, Negate, Function };

// Where Push and the binary operations take their (right) operand.
enum class Source : std::uint8_t { Stack, Variable, Constant, Table };

struct Instruction {
    Operation operation = Operation::Push;
    Source source = Source::Stack;
    Variable variable = Variable::Red;                                  // Source::Variable
    expression::MathFunction function = expression::MathFunction::Abs;  // Operation::Function
    std::uint8_t table = 0;                                             // Source::Table
    long double constant = 0;                                           // Source::Constant
};

inline bool IsBinary(Operation operation) {
    return operation != Operation::Push && operation != Operation::Negate && operation != Operation::Function;
}

// The program that computes a clean expression as the parser does, in the
// order of its reductions; nothing when the template holds what the compiler
// leaves to the textual path (a "!", a name that is no function, a malformed
// or overlong numeral) or does not parse completely within the parser's
// stack of 15 entries.
std::optional<std::vector<Instruction>> ParsePostfix(const std::vector<TemplateSymbol>& symbols);

}  // namespace quorvane
