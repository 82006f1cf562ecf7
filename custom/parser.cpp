#include "custom/parser.h"

#include "custom/expression_arithmetic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <locale.h>
#include <optional>
#include <utility>

#include "platform/error.h"

namespace quorvane {
namespace {

// ---- Characters -------------------------------------------------------------

bool IsDigit(char character) { return character >= '0' && character <= '9'; }

char UpperCase(char character) {
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A') : character;
}

bool IsLetter(char character) {
    const char upper = UpperCase(character);
    return upper >= 'A' && upper <= 'Z';
}

bool IsNameCharacter(char character) { return IsLetter(character) || IsDigit(character) || character == '_'; }

std::optional<TTokenKind> OperatorKind(char character) {
    switch (character) {
        case '+': return TTokenKind::Plus;
        case '-': return TTokenKind::Minus;
        case '*': return TTokenKind::Times;
        case '/': return TTokenKind::Divide;
        case '^': return TTokenKind::Power;
        case '(': return TTokenKind::OpenParen;
        case ')': return TTokenKind::CloseParen;
        default: return std::nullopt;
    }
}

// ---- Numerals -----------------------------------------------------------------

constexpr std::size_t MaximumNumeralLength = 80;
constexpr int MaximumExponentDigits = 4;

// 10^0 .. 10^27, each exact in extended (5^27 < 2^64).
constexpr int ExactPowerOfTenCount = 28;
constexpr std::array<long double, ExactPowerOfTenCount> ExactPowersOfTen = [] {
    std::array<long double, ExactPowerOfTenCount> powers{};
    long double power = 1;
    for (long double& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// With at most 19 significant digits (below 2^64, exact in extended) and a
// decimal scale of at most 27 either way, one correctly rounded multiply or
// divide by an exact power of ten gives the correctly rounded value.
std::optional<long double> ExactlyConvertible(std::string_view numeral) {
    constexpr int MaximumSignificantDigits = 19;
    std::uint64_t digits = 0;
    int significantDigits = 0;
    int scale = 0;
    bool afterPoint = false;
    std::size_t position = 0;
    for (; position < numeral.size(); ++position) {
        const char character = numeral[position];
        if (character == '.') {
            afterPoint = true;
            continue;
        }
        if (!IsDigit(character)) break;
        if (significantDigits > 0 || character != '0') ++significantDigits;
        if (significantDigits > MaximumSignificantDigits) return std::nullopt;
        digits = digits * 10 + static_cast<std::uint64_t>(character - '0');
        if (afterPoint) --scale;
    }
    if (position < numeral.size()) {
        ++position;  // the exponent marker
        const bool negative = numeral[position] == '-';
        if (numeral[position] == '-' || numeral[position] == '+') ++position;
        int exponent = 0;
        for (; position < numeral.size(); ++position) exponent = exponent * 10 + (numeral[position] - '0');
        scale += negative ? -exponent : exponent;
    }
    if (scale <= -ExactPowerOfTenCount || scale >= ExactPowerOfTenCount) return std::nullopt;
    const auto mantissa = static_cast<long double>(digits);
    return scale < 0 ? mantissa / ExactPowersOfTen[-scale] : mantissa * ExactPowersOfTen[scale];
}

// The C library's correctly rounded conversion, independent of the process
// locale (the editor runs in the user's locale, whose decimal point may be ",").
long double ConvertWithCLibrary(std::string_view numeral) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    std::array<char, MaximumNumeralLength + 1> text{};
    std::copy(numeral.begin(), numeral.end(), text.begin());
    const long double value = strtold_l(text.data(), nullptr, cLocale);
    if (std::isinf(value)) expression::ThrowOverflow();
    return value;
}

// A well-formed numeral of at most 80 characters: digits with at most one
// ".", then optionally "E", a sign and one to four digits.
long double NumeralValue(std::string_view numeral) {
    if (const std::optional<long double> value = ExactlyConvertible(numeral)) return *value;
    return ConvertWithCLibrary(numeral);
}

// ---- The automaton ------------------------------------------------------------

constexpr int StateCount = 27;
constexpr int TokenKindCount = static_cast<int>(TTokenKind::FaultMark) + 1;

enum class ActionKind : std::uint8_t { Error, Shift, Reduce, Accept, FaultAndAccept };

struct Action {
    ActionKind Kind = ActionKind::Error;
    std::uint8_t Number = 0;  // the state to shift to, the rule to reduce, or the error code
};

constexpr Action Shift(std::uint8_t state) { return {ActionKind::Shift, state}; }
constexpr Action Reduce(std::uint8_t rule) { return {ActionKind::Reduce, rule}; }
constexpr Action SyntaxError(std::uint8_t code) { return {ActionKind::Error, code}; }
constexpr Action Accept{ActionKind::Accept, 0};
constexpr Action FaultAndAccept{ActionKind::FaultAndAccept, 0};

struct TokenAction {
    TTokenKind Token;
    Action Perform;
};

using ActionTable = std::array<std::array<Action, TokenKindCount>, StateCount>;

// One row per state (or group of states): the actions for the tokens named,
// and the action for every other token.
constexpr ActionTable Actions = [] {
    using enum TTokenKind;
    ActionTable table{};
    std::array<bool, StateCount> defined{};
    auto row = [&](std::initializer_list<int> states, std::initializer_list<TokenAction> named, Action other) {
        for (int state : states) {
            table[state].fill(other);
            for (const TokenAction& entry : named) table[state][static_cast<int>(entry.Token)] = entry.Perform;
            defined[state] = true;
        }
    };
    // An operand is expected: at the start, after "(", after an infix operator.
    row({0, 8, 11, 12, 13, 14, 15, 18},
        {{Number, Shift(9)}, {Func, Shift(10)}, {Minus, Shift(5)}, {OpenParen, Shift(8)}, {FaultMark, FaultAndAccept}},
        SyntaxError(3));
    row({1}, {{EndOfText, Accept}, {Plus, Shift(11)}, {Minus, Shift(12)}}, SyntaxError(4));  // top-level Expr
    row({2}, {{Times, Shift(13)}, {Divide, Shift(14)}}, Reduce(3));                          // Term
    row({3}, {}, Reduce(6));                                                                 // Factor
    row({4}, {{Power, Shift(15)}}, Reduce(8));                                               // Signed
    row({5}, {{Number, Shift(9)}, {Func, Shift(10)}, {OpenParen, Shift(8)}}, SyntaxError(3));  // unary "-"
    row({6}, {}, Reduce(10));                                                                // Primary
    row({7}, {}, Reduce(11));                                                                // Atom
    row({9}, {}, Reduce(13));                                                                // Number
    row({10}, {{OpenParen, Shift(18)}}, SyntaxError(5));                                     // function name
    row({16}, {}, Reduce(9));                                                                // "-" Primary
    row({17}, {{Plus, Shift(11)}, {Minus, Shift(12)}, {CloseParen, Shift(24)}}, SyntaxError(6));  // "(" Expr
    row({19}, {{Times, Shift(13)}, {Divide, Shift(14)}}, Reduce(1));                         // Expr "+" Term
    row({20}, {{Times, Shift(13)}, {Divide, Shift(14)}}, Reduce(2));                         // Expr "-" Term
    row({21}, {}, Reduce(4));                                                                // Term "*" Factor
    row({22}, {}, Reduce(5));                                                                // Term "/" Factor
    row({23}, {}, Reduce(7));                                                                // Signed "^" Factor
    row({24}, {}, Reduce(12));                                                               // "(" Expr ")"
    row({25}, {{Plus, Shift(11)}, {Minus, Shift(12)}, {CloseParen, Shift(26)}}, SyntaxError(6));  // Func "(" Expr
    row({26}, {}, Reduce(14));                                                               // Func "(" Expr ")"
    // Throwing here makes the table no constant: a state left without a row stops the build.
    if (std::ranges::find(defined, false) != defined.end()) throw "every state needs a row of actions";
    return table;
}();

enum class Symbol : std::uint8_t { Expr, Term, Factor, Signed, Primary, Atom };
constexpr int SymbolCount = static_cast<int>(Symbol::Atom) + 1;

struct Rule {
    Symbol Left;
    std::uint8_t Length;  // symbols on the right-hand side
};

// Rules 1 to 14, at index rule - 1.
constexpr std::array<Rule, 14> Rules{{
    {Symbol::Expr, 3},     // 1  Expr "+" Term
    {Symbol::Expr, 3},     // 2  Expr "-" Term
    {Symbol::Expr, 1},     // 3  Term
    {Symbol::Term, 3},     // 4  Term "*" Factor
    {Symbol::Term, 3},     // 5  Term "/" Factor
    {Symbol::Term, 1},     // 6  Factor
    {Symbol::Factor, 3},   // 7  Signed "^" Factor
    {Symbol::Factor, 1},   // 8  Signed
    {Symbol::Signed, 2},   // 9  "-" Primary
    {Symbol::Signed, 1},   // 10 Primary
    {Symbol::Primary, 1},  // 11 Atom
    {Symbol::Atom, 3},     // 12 "(" Expr ")"
    {Symbol::Atom, 1},     // 13 Number
    {Symbol::Atom, 4},     // 14 Func "(" Expr ")"
}};

using GotoTable = std::array<std::array<std::uint8_t, StateCount>, SymbolCount>;

// The state entered after reducing to a symbol, by the state on top after the
// pops. Expr, Term and Factor are reduced only over the states listed for
// them; their other entries are never consulted and hold state 0.
constexpr GotoTable Gotos = [] {
    GotoTable table{};
    auto row = [&](Symbol symbol, std::initializer_list<std::pair<int, std::uint8_t>> named, std::uint8_t other) {
        table[static_cast<int>(symbol)].fill(other);
        for (const auto& [from, to] : named) table[static_cast<int>(symbol)][from] = to;
    };
    row(Symbol::Expr, {{0, 1}, {8, 17}, {18, 25}}, 0);
    row(Symbol::Term, {{0, 2}, {8, 2}, {18, 2}, {11, 19}, {12, 20}}, 0);
    row(Symbol::Factor, {{0, 3}, {8, 3}, {11, 3}, {12, 3}, {18, 3}, {13, 21}, {14, 22}, {15, 23}}, 0);
    row(Symbol::Signed, {}, 4);
    row(Symbol::Primary, {{5, 16}}, 6);
    row(Symbol::Atom, {}, 7);
    return table;
}();

}  // namespace

// ---- Scanner ------------------------------------------------------------------

void TMathParser::NextToken() {
    const std::string_view text = ParseString;
    while (ScanPos < text.size() && text[ScanPos] == ' ') ++ScanPos;
    if (ScanPos >= text.size()) {
        TokenKind = TTokenKind::EndOfText;
        return;
    }
    const char character = UpperCase(text[ScanPos]);
    if (character == '!') {
        TokenKind = TTokenKind::FaultMark;
        ++ScanPos;
    } else if (IsDigit(character) || character == '.') {
        ScanNumeral();
    } else if (IsLetter(character)) {
        ScanName();
    } else {
        TokenKind = OperatorKind(character).value_or(TTokenKind::Bad);
        ++ScanPos;
    }
}

// The longest run of digits with at most one ".", then an exponent of "E", an
// optional sign and up to four digits; at most 80 characters in all, the rest
// is scanned again as the next token. An exponent marker with no digit after
// it ends the evaluation with error 7.
void TMathParser::ScanNumeral() {
    const std::string_view text = ParseString;
    const std::size_t start = ScanPos;
    std::size_t end = start;
    bool sawPoint = false;
    while (end < text.size() && (IsDigit(text[end]) || (text[end] == '.' && !sawPoint))) {
        sawPoint = sawPoint || text[end] == '.';
        ++end;
    }
    if (end - start == 1 && text[start] == '.') {
        TokenKind = TTokenKind::Bad;
        ScanPos = end;
        return;
    }
    if (end < text.size() && UpperCase(text[end]) == 'E') {
        ++end;
        if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
        for (int count = 0; count < MaximumExponentDigits && end < text.size() && IsDigit(text[end]); ++count) ++end;
    }
    const std::string_view numeral = text.substr(start, std::min(end - start, MaximumNumeralLength));
    if (numeral.find_first_of("Ee") != std::string_view::npos && !IsDigit(numeral.back())) {
        ErrorCode = 7;
        return;
    }
    CurrentToken.Value = NumeralValue(numeral);
    TokenKind = TTokenKind::Number;
    ScanPos = start + numeral.size();
}

// A run of letters, digits and "_": a function name, or a variable whose value
// OnGetVar supplies.
void TMathParser::ScanName() {
    const std::string_view text = ParseString;
    const std::size_t start = ScanPos;
    std::size_t end = start + 1;
    while (end < text.size() && IsNameCharacter(text[end])) ++end;
    ScanPos = end;
    const std::string_view name = text.substr(start, end - start);
    if (const std::optional<expression::MathFunction> function = expression::FindMathFunction(name)) {
        TokenKind = TTokenKind::Func;
        CurrentToken.FunctionName = expression::FunctionName(*function);
        return;
    }
    long double value = 0;
    bool found = false;
    if (OnGetVar) OnGetVar(*this, name, value, found);
    if (found) {
        TokenKind = TTokenKind::Number;
        CurrentToken.Value = value;
    } else {
        TokenKind = TTokenKind::Bad;
    }
}

// ---- Parser -------------------------------------------------------------------

void TMathParser::Push(const StackEntry& entry) {
    if (StackDepth == MaximumStackDepth) {
        ErrorCode = 1;
        return;
    }
    ParseStack[StackDepth++] = entry;
}

// The value of a rule from its right-hand side, symbols[0] being the leftmost
// of its symbols. A fault sets ArithmeticFault and gives 0.
long double TMathParser::RuleValue(std::uint8_t rule, const StackEntry* symbols) {
    std::optional<long double> value;
    switch (rule) {
        case 1: value = expression::Sum(symbols[0].Value, symbols[2].Value); break;
        case 2: value = expression::Difference(symbols[0].Value, symbols[2].Value); break;
        case 4: value = expression::Product(symbols[0].Value, symbols[2].Value); break;
        case 5: value = expression::Quotient(symbols[0].Value, symbols[2].Value); break;
        case 7: value = expression::Power(symbols[0].Value, symbols[2].Value); break;
        case 9: value = -symbols[1].Value; break;
        case 12: value = symbols[1].Value; break;
        case 14: value = expression::Apply(*expression::FindMathFunction(symbols[0].FunctionName), symbols[2].Value); break;
        default: value = symbols[0].Value; break;  // a single symbol passes its value on
    }
    if (!value) ArithmeticFault = true;
    return value.value_or(0);
}

void TMathParser::Reduce(std::uint8_t rule) {
    const Rule& reduced = Rules[rule - 1];
    StackDepth -= reduced.Length;
    const long double value = RuleValue(rule, &ParseStack[StackDepth]);
    const std::uint8_t state = Gotos[static_cast<int>(reduced.Left)][ParseStack[StackDepth - 1].State];
    Push({state, value, {}});
}

void TMathParser::Evaluate() {
    ScanPos = 0;
    StackDepth = 0;
    ErrorCode = 0;
    ArithmeticFault = false;
    Failed = false;
    Push({0, 0, {}});
    NextToken();
    bool accepted = false;
    while (!accepted && ErrorCode == 0) {
        const Action action = Actions[ParseStack[StackDepth - 1].State][static_cast<int>(TokenKind)];
        switch (action.Kind) {
            case ActionKind::Shift:
                CurrentToken.State = action.Number;
                Push(CurrentToken);
                NextToken();
                break;
            case ActionKind::Reduce: Reduce(action.Number); break;
            case ActionKind::Accept: accepted = true; break;
            case ActionKind::FaultAndAccept:
                ArithmeticFault = true;
                accepted = true;
                break;
            case ActionKind::Error: ErrorCode = action.Number; break;
        }
    }
    if (ErrorCode != 0 && OnParseError) OnParseError(*this, ErrorCode);
    if (ArithmeticFault || ErrorCode != 0) {
        Failed = true;
        ResultValue = 0;
    } else {
        Failed = false;
        ResultValue = ParseStack[StackDepth - 1].Value;
    }
}

}  // namespace quorvane
