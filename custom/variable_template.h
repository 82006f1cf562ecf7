// Where the custom filter's variables stand in an expression, and whether
// writing their values there always gives the same tokens.
//
// The textual substitution (custom/textual_evaluation.h) inserts a value's
// digits wherever "R1", "G1" or "B1" stood. When every such place is bounded
// on both sides by an operator, a space or the end of the text, the inserted
// digits always form one numeral of their own and the rest of the text scans
// the same whatever the values: the expression is then "clean", and it can be
// parsed once for all pixels. Otherwise digits may join a neighbouring
// numeral or name ('R12', '2R1', 'XR1', 'R1G1', '1E+R1') or complete a later
// variable's name ('GR1'), and only the text itself tells what it means.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvane {

enum class Variable : std::uint8_t { Red, Green, Blue };
inline constexpr int VariableCount = 3;

// One character of the expression, or one variable occurrence that the
// substitution replaces.
struct TemplateSymbol {
    char character = 0;
    bool isVariable = false;
    Variable variable = Variable::Red;
};

struct VariableTemplate {
    // The expression with the occurrences the three substitution steps
    // replace, as they would be found when no inserted digit completes a name.
    std::vector<TemplateSymbol> symbols;
    // Every occurrence stands alone, so the symbols are exactly what the
    // substitution replaces for every pixel, and each becomes one numeral.
    bool clean = false;
    // The variables whose values the substituted text may depend on: exactly
    // those that occur when clean, a safe superset otherwise.
    std::array<bool, VariableCount> uses{};
};

VariableTemplate AnalyseVariables(std::string_view expression);

}  // namespace quorvane
