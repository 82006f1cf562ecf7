// The expression parser: evaluates one arithmetic expression written as text
// and yields one extended number.
//
// A scanner turns the text into tokens one at a time and a table-driven
// shift-reduce automaton with a stack of 15 entries parses and computes in the
// same pass, in the 80-bit extended format (long double). Syntax errors end the
// evaluation and are reported through OnParseError with a numeric code;
// arithmetic faults (division by zero, an argument outside a function's
// domain) only mark the result as failed. Names other than the ten built-in
// functions are variables whose values OnGetVar supplies.
//
// The expression language:
//   Expr    = Expr "+" Term | Expr "-" Term | Term
//   Term    = Term "*" Factor | Term "/" Factor | Factor
//   Factor  = Signed "^" Factor | Signed
//   Signed  = "-" Atom | Atom
//   Atom    = "(" Expr ")" | Number | Func "(" Expr ")"
// Spaces may stand between tokens; nothing else is skipped. Function names
// ignore case: ABS ATAN COS EXP LN ROUND SIN SQRT SQR TRUNC. Where an operand
// is expected, "!" ends the evaluation as an arithmetic fault.
//
// Syntax error codes: 1 the stack is full; 3 an operand was expected; 4 the
// text goes on after a complete expression; 5 a function name without "(";
// 6 no ")" after an expression in parentheses; 7 an exponent without digits.
//
// A sum, difference, product or quotient beyond the extended range, and a
// numeral beyond it, throw quorvane::Error("Floating point overflow") out of
// Evaluate; results and numerals too small for the format become zero or the
// nearest tiny value silently.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quorvane {

class TMathParser;

// Asked, in text order, for every name in the text that is not a function
// name. VarName is the name as written (case kept). The handler stores the
// variable's value in Value and sets Found, false on entry, when it knows the
// name; an unknown name is a syntax error where it stands.
using TGetVarEvent =
    std::function<void(TMathParser& Sender, std::string_view VarName, long double& Value, bool& Found)>;

// Called at most once per Evaluate, at its end, with the syntax error code,
// before Failed and ResultValue are set.
using TParseErrorEvent = std::function<void(TMathParser& Sender, int ParseError)>;

enum class TTokenKind : std::uint8_t {
    Plus,
    Minus,
    Times,
    Divide,
    Power,
    OpenParen,
    CloseParen,
    Number,     // a numeral, or a variable whose value OnGetVar supplied
    Func,       // one of the ten function names
    EndOfText,
    Bad,        // any character or name that is none of the others
    FaultMark,  // "!"
};

// An entry of the parse stack, and the look-ahead token: a function name's
// entry carries FunctionName (upper case), every other entry Value.
struct StackEntry {
    std::uint8_t State = 0;
    long double Value = 0;
    std::string_view FunctionName;
};

class TMathParser {
public:
    static constexpr std::uint8_t MaximumStackDepth = 15;

    std::string ParseString;
    TGetVarEvent OnGetVar;
    TParseErrorEvent OnParseError;

    // Scans, parses and computes ParseString, then sets Failed and
    // ResultValue. Throws quorvane::Error on overflow, and passes on whatever
    // an OnGetVar handler throws; ResultValue then keeps its previous value.
    void Evaluate();

    // The outcome of the last Evaluate: Failed after a syntax error or an
    // arithmetic fault, and then ResultValue is 0.
    long double ResultValue = 0;
    bool Failed = false;
    // The syntax error code of the last Evaluate, 0 when it had none.
    std::uint8_t ErrorCode = 0;

private:
    void NextToken();
    void ScanNumeral();
    void ScanName();
    void Push(const StackEntry& entry);
    void Reduce(std::uint8_t rule);
    long double RuleValue(std::uint8_t rule, const StackEntry* symbols);

    StackEntry CurrentToken;
    bool ArithmeticFault = false;
    std::array<StackEntry, MaximumStackDepth> ParseStack{};
    std::uint8_t StackDepth = 0;  // the top entry is ParseStack[StackDepth - 1]
    TTokenKind TokenKind = TTokenKind::EndOfText;
    std::size_t ScanPos = 0;  // index of the next character to scan
};

}  // namespace quorvane
