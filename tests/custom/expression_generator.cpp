#include "custom/expression_generator.h"

#include <algorithm>

namespace quorvane::testing {

std::string ExpressionGenerator::Numeral() {
    static const char* const numerals[] = {"0",    "1",     "2",      "3",       "7",      "10",      "100",
                                           "255",  "0.5",   ".5",     "5.",      "2.5",    "0.299",   "1E3",
                                           "1e-3", "2E+2",  "1E4000", "1E-4000", "1E4931", "1E4932",  "3E-4951",
                                           "1E9",  "9E18",  "1E2466", "11356",   "1.5E1",  "12345678901234567890123"};
    return Pick(numerals);
}

std::string ExpressionGenerator::Operand(int depth) {
    static const char* const variables[] = {"R1", "G1", "B1"};
    static const char* const functions[] = {"ABS", "ATAN", "COS", "EXP", "LN",  "ROUND", "SIN", "SQRT",
                                            "SQR", "TRUNC", "sin", "Sqrt", "exp", "round", "ln"};
    const int choice = Below(depth <= 0 ? 2 : 5);
    switch (choice) {
        case 0: return Pick(variables);
        case 1: return Below(3) == 0 ? Numeral() : Pick(variables);
        case 2: return "(" + Expression(depth - 1) + ")";
        case 3: return std::string(Pick(functions)) + "(" + Expression(depth - 1) + ")";
        default: return "-" + Operand(depth - 1);
    }
}

std::string ExpressionGenerator::Expression(int depth) {
    static const char* const operators[] = {"+", "-", "*", "/", "^", "+", "-", "*"};
    std::string text = Operand(depth);
    const int more = Below(depth <= 0 ? 2 : 3);
    for (int i = 0; i < more; ++i) {
        text += Below(8) == 0 ? " " : "";
        text += Pick(operators);
        text += Operand(depth - 1);
    }
    return text;
}

std::string ExpressionGenerator::Mutated(std::string text) {
    static const char* const pieces[] = {"R1", "G1", "B1", "R",  "G",  "B",  "1", "2", "E", "e",  "E+", ".",
                                         "r1", "g1", "_",  " ",  "(",  ")",  "!", "+", "-", "\t", "X",  "12"};
    const int edits = 1 + Below(3);
    for (int i = 0; i < edits; ++i) {
        std::size_t at = text.empty() ? 0 : static_cast<std::size_t>(Below(static_cast<int>(text.size()) + 1));
        // Half the edits go right before or after a variable, where the
        // substitution's digits meet what is written next to them.
        const std::size_t variable = text.find_first_of("RGB", at);
        if (Below(2) == 0 && variable != std::string::npos) at = variable + 2 * static_cast<std::size_t>(Below(2));
        at = std::min(at, text.size());
        switch (Below(3)) {
            case 0:
            case 1: text.insert(at, Pick(pieces)); break;
            default:
                if (at < text.size()) text.erase(at, 1);
                break;
        }
    }
    return text;
}

std::string ExpressionGenerator::Next() {
    switch (Below(10)) {
        case 0: {
            // Nesting around the parser's stack limit.
            const int levels = 10 + Below(5);
            std::string text = Expression(1);
            for (int i = 0; i < levels; ++i) text = "(" + text + ")";
            return text;
        }
        case 1:
        case 2:
        case 3: return Mutated(Expression(2));
        default: return Expression(1 + Below(3));
    }
}

}  // namespace quorvane::testing
