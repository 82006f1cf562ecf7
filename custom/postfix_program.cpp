#include "custom/postfix_program.h"

#include <string>

#include "custom/parser.h"
#include "platform/error.h"

namespace quorvane {
namespace {

struct Token {
    TTokenKind kind = TTokenKind::EndOfText;
    Instruction operand;  // a Number's Push, a Func's Function
};

bool IsDigit(char character) { return character >= '0' && character <= '9'; }

bool IsLetter(char character) {
    return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z');
}

// The value the parser gives a numeral: the numeral evaluated on its own.
std::optional<long double> NumeralValue(const std::string& numeral) {
    TMathParser parser;
    parser.ParseString = numeral;
    try {
        parser.Evaluate();
    } catch (const Error&) {
        return std::nullopt;
    }
    if (parser.Failed) return std::nullopt;
    return parser.ResultValue;
}

// Splits a clean template into the tokens the parser's scanner finds in every
// substituted text; nothing for a token the compiler leaves to the textual path.
class Tokenizer {
public:
    explicit Tokenizer(const std::vector<TemplateSymbol>& symbols) : symbols_(symbols) {}

    std::optional<std::vector<Token>> Tokens() {
        std::vector<Token> tokens;
        for (;;) {
            while (Character(position_) == ' ') ++position_;
            if (position_ == symbols_.size()) break;
            const std::optional<Token> token = Next();
            if (!token) return std::nullopt;
            tokens.push_back(*token);
        }
        tokens.push_back({TTokenKind::EndOfText, {}});
        return tokens;
    }

private:
    // The character at `index`; 0 for a variable and past the end, which no
    // rule below takes as part of a numeral or a name.
    char Character(std::size_t index) const {
        return index < symbols_.size() && !symbols_[index].isVariable ? symbols_[index].character : '\0';
    }

    std::optional<Token> Next() {
        const TemplateSymbol& symbol = symbols_[position_];
        if (symbol.isVariable) {
            ++position_;
            Token token{TTokenKind::Number, {}};
            token.operand.source = Source::Variable;
            token.operand.variable = symbol.variable;
            return token;
        }
        const char character = symbol.character;
        if (IsDigit(character) || character == '.') return Numeral();
        if (IsLetter(character)) return Name();
        ++position_;
        switch (character) {
            case '+': return Token{TTokenKind::Plus, {}};
            case '-': return Token{TTokenKind::Minus, {}};
            case '*': return Token{TTokenKind::Times, {}};
            case '/': return Token{TTokenKind::Divide, {}};
            case '^': return Token{TTokenKind::Power, {}};
            case '(': return Token{TTokenKind::OpenParen, {}};
            case ')': return Token{TTokenKind::CloseParen, {}};
            default: return std::nullopt;  // "!" and Bad characters
        }
    }

    // The scanner's numeral: digits with at most one ".", then "E", a sign and
    // one to four digits. Longer numerals than the scanner keeps whole, and
    // exponents without digits, are left to the textual path.
    std::optional<Token> Numeral() {
        constexpr std::size_t MaximumNumeralLength = 80;
        const std::size_t start = position_;
        std::size_t end = start;
        bool sawPoint = false;
        while (IsDigit(Character(end)) || (Character(end) == '.' && !sawPoint)) {
            sawPoint = sawPoint || Character(end) == '.';
            ++end;
        }
        if (end - start == 1 && Character(start) == '.') return std::nullopt;
        if (Character(end) == 'E' || Character(end) == 'e') {
            ++end;
            if (Character(end) == '+' || Character(end) == '-') ++end;
            const std::size_t digitsStart = end;
            while (end - digitsStart < 4 && IsDigit(Character(end))) ++end;
            if (end == digitsStart) return std::nullopt;
        }
        if (end - start > MaximumNumeralLength) return std::nullopt;
        std::string numeral;
        for (std::size_t index = start; index < end; ++index) numeral += Character(index);
        const std::optional<long double> value = NumeralValue(numeral);
        if (!value) return std::nullopt;
        position_ = end;
        Token token{TTokenKind::Number, {}};
        token.operand.source = Source::Constant;
        token.operand.constant = *value;
        return token;
    }

    // A function name; any other name is a Bad token without an OnGetVar.
    std::optional<Token> Name() {
        std::string name;
        while (IsLetter(Character(position_)) || IsDigit(Character(position_)) || Character(position_) == '_')
            name += Character(position_++);
        const std::optional<expression::MathFunction> function = expression::FindMathFunction(name);
        if (!function) return std::nullopt;
        Token token{TTokenKind::Func, {}};
        token.operand.operation = Operation::Function;
        token.operand.function = *function;
        return token;
    }

    const std::vector<TemplateSymbol>& symbols_;
    std::size_t position_ = 0;
};

// Parses the grammar by recursive descent into postfix order, which is the
// order in which the parser's reductions compute. `depth` is the number of
// entries the parser's stack holds below the symbol being parsed, so that a
// shift onto a full stack (syntax error 1) is refused here as well.
class Compiler {
public:
    explicit Compiler(const std::vector<Token>& tokens) : tokens_(tokens) {}

    std::optional<std::vector<Instruction>> Program() {
        constexpr int StartEntries = 1;
        if (!Expr(StartEntries) || Kind() != TTokenKind::EndOfText) return std::nullopt;
        return program_;
    }

private:
    TTokenKind Kind() const { return tokens_[position_].kind; }

    // Shifts the current token onto a stack of `depth` entries.
    bool Shift(int depth) {
        if (depth >= TMathParser::MaximumStackDepth) return false;
        ++position_;
        return true;
    }

    void Emit(Operation operation) {
        Instruction instruction;
        instruction.operation = operation;
        program_.push_back(instruction);
    }

    bool Expr(int depth) {
        if (!Term(depth)) return false;
        while (Kind() == TTokenKind::Plus || Kind() == TTokenKind::Minus) {
            const Operation operation = Kind() == TTokenKind::Plus ? Operation::Add : Operation::Subtract;
            if (!Shift(depth + 1) || !Term(depth + 2)) return false;
            Emit(operation);
        }
        return true;
    }

    bool Term(int depth) {
        if (!Factor(depth)) return false;
        while (Kind() == TTokenKind::Times || Kind() == TTokenKind::Divide) {
            const Operation operation = Kind() == TTokenKind::Times ? Operation::Multiply : Operation::Divide;
            if (!Shift(depth + 1) || !Factor(depth + 2)) return false;
            Emit(operation);
        }
        return true;
    }

    // "^" groups to the right: the exponent is a whole Factor.
    bool Factor(int depth) {
        if (!Signed(depth)) return false;
        if (Kind() != TTokenKind::Power) return true;
        if (!Shift(depth + 1) || !Factor(depth + 2)) return false;
        Emit(Operation::Power);
        return true;
    }

    // A unary minus applies to an Atom only.
    bool Signed(int depth) {
        if (Kind() != TTokenKind::Minus) return Atom(depth);
        if (!Shift(depth) || !Atom(depth + 1)) return false;
        Emit(Operation::Negate);
        return true;
    }

    bool Atom(int depth) {
        const Token& token = tokens_[position_];
        switch (token.kind) {
            case TTokenKind::Number:
                if (!Shift(depth)) return false;
                program_.push_back(token.operand);
                return true;
            case TTokenKind::OpenParen:
                return Shift(depth) && Expr(depth + 1) && Kind() == TTokenKind::CloseParen && Shift(depth + 2);
            case TTokenKind::Func:
                if (!Shift(depth) || Kind() != TTokenKind::OpenParen || !Shift(depth + 1) || !Expr(depth + 2) ||
                    Kind() != TTokenKind::CloseParen || !Shift(depth + 3))
                    return false;
                program_.push_back(token.operand);
                return true;
            default: return false;
        }
    }

    const std::vector<Token>& tokens_;
    std::size_t position_ = 0;
    std::vector<Instruction> program_;
};

}  // namespace

std::optional<std::vector<Instruction>> ParsePostfix(const std::vector<TemplateSymbol>& symbols) {
    const std::optional<std::vector<Token>> tokens = Tokenizer(symbols).Tokens();
    if (!tokens) return std::nullopt;
    return Compiler(*tokens).Program();
}

}  // namespace quorvane
