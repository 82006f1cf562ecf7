#include "custom/variable_template.h"

#include <string_view>

namespace quorvane {
namespace {

constexpr std::array<char, VariableCount> VariableLetters = {'R', 'G', 'B'};

bool IsCharacter(const std::vector<TemplateSymbol>& symbols, std::size_t index, char character) {
    return index < symbols.size() && !symbols[index].isVariable && symbols[index].character == character;
}

// One substitution step: every letter-and-"1" pair of characters becomes the
// variable, scanning left to right without overlaps.
void MarkOccurrences(std::vector<TemplateSymbol>& symbols, Variable variable) {
    const char letter = VariableLetters[static_cast<int>(variable)];
    std::vector<TemplateSymbol> marked;
    marked.reserve(symbols.size());
    for (std::size_t index = 0; index < symbols.size(); ++index) {
        if (IsCharacter(symbols, index, letter) && IsCharacter(symbols, index + 1, '1')) {
            marked.push_back({0, true, variable});
            ++index;
        } else {
            marked.push_back(symbols[index]);
        }
    }
    symbols = std::move(marked);
}

// Characters after which a numeral starts a token of its own.
bool SeparatesOnLeft(const std::vector<TemplateSymbol>& symbols, std::size_t index) {
    if (index == 0) return true;
    const TemplateSymbol& before = symbols[index - 1];
    if (before.isVariable) return false;
    if (std::string_view("*/^() ").find(before.character) != std::string_view::npos) return true;
    if (before.character != '+' && before.character != '-') return false;
    // A sign right after "E" may belong to the exponent of a numeral: '1E+R1'.
    return index < 2 || (!IsCharacter(symbols, index - 2, 'E') && !IsCharacter(symbols, index - 2, 'e'));
}

// Characters before which a numeral ends without taking them in.
bool SeparatesOnRight(const std::vector<TemplateSymbol>& symbols, std::size_t index) {
    if (index + 1 == symbols.size()) return true;
    const TemplateSymbol& after = symbols[index + 1];
    return !after.isVariable && std::string_view("+-*/^() ").find(after.character) != std::string_view::npos;
}

bool Contains(std::string_view text, char character) { return text.find(character) != std::string_view::npos; }

}  // namespace

VariableTemplate AnalyseVariables(std::string_view expression) {
    VariableTemplate result;
    for (char character : expression) result.symbols.push_back({character, false, Variable::Red});
    for (Variable variable : {Variable::Red, Variable::Green, Variable::Blue}) MarkOccurrences(result.symbols, variable);

    result.clean = true;
    for (std::size_t index = 0; index < result.symbols.size(); ++index) {
        const TemplateSymbol& symbol = result.symbols[index];
        if (!symbol.isVariable) continue;
        result.uses[static_cast<int>(symbol.variable)] = true;
        if (!SeparatesOnLeft(result.symbols, index) || !SeparatesOnRight(result.symbols, index)) result.clean = false;
    }
    if (!result.clean) {
        // A step finds its variable in the text as written, or where an
        // earlier step put a digit "1" right after the variable's letter.
        const bool red = expression.find("R1") != std::string_view::npos;
        const bool green = expression.find("G1") != std::string_view::npos || (red && Contains(expression, 'G'));
        const bool blue =
            expression.find("B1") != std::string_view::npos || ((red || green) && Contains(expression, 'B'));
        result.uses = {red, green, blue};
    }
    return result;
}

}  // namespace quorvane
