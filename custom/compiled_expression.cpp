#include "custom/compiled_expression.h"

#include <algorithm>
#include <bit>
#include <string>

#include "custom/parser.h"
#include "custom/textual_evaluation.h"
#include "platform/error.h"

namespace quorvane {

namespace {

// The parser has the last word on syntax: a substituted text of the clean
// expression must parse without error, or the expression is not compiled.
bool ParserAccepts(std::string_view expression) {
    TMathParser parser;
    parser.ParseString = SubstituteVariables(expression, 1, 1, 1);
    try {
        parser.Evaluate();
    } catch (const Error&) {
        return true;  // the evaluation overflowed before the end; the compiler's own check stands
    }
    return parser.ErrorCode == 0;
}

// The most operands the program holds at a time.
int OperandDepth(const std::vector<Instruction>& program) {
    int depth = 0;
    int deepest = 0;
    for (const Instruction& instruction : program) {
        if (instruction.operation == Operation::Push) ++depth;
        if (IsBinary(instruction.operation) && instruction.source == Source::Stack) --depth;
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

}  // namespace

// Turns a plain postfix program into tables and fused operands.
class ProgramOptimiser {
public:
    explicit ProgramOptimiser(std::vector<Instruction> program) : program_(std::move(program)) {
        for (std::size_t end = 0; end < program_.size(); ++end) parts_.push_back(PartEndingAt(end));
    }

    CompiledExpression Optimised() && {
        std::vector<Instruction> folded;
        Fold(program_.size() - 1, folded);
        CompiledExpression compiled(Fused(folded), {});
        compiled.tables_ = std::move(tables_);
        for (CompiledExpression::Table& table : compiled.tables_) Fill(compiled, table);
        return compiled;
    }

private:
    // The part of the expression whose value the instruction at some index
    // computes: the instructions from `start` to that index.
    struct Part {
        std::size_t start = 0;
        unsigned variables = 0;  // a bit per variable it depends on
        bool costly = false;     // calls a function or a power
    };

    Part PartEndingAt(std::size_t end) const {
        const Instruction& instruction = program_[end];
        if (instruction.operation == Operation::Push)
            return {end, instruction.source == Source::Variable ? 1u << static_cast<int>(instruction.variable) : 0u, false};
        const Part& operand = parts_[end - 1];
        Part part = operand;
        if (IsBinary(instruction.operation)) {
            const Part& left = parts_[operand.start - 1];
            part = {left.start, left.variables | operand.variables, left.costly || operand.costly};
        }
        part.costly = part.costly || instruction.operation == Operation::Function || instruction.operation == Operation::Power;
        return part;
    }

    // A table over at most 65536 entries that saves work for every pixel.
    static bool Tabulates(const Instruction& root, const Part& part) {
        const int variables = std::popcount(part.variables);
        return root.operation != Operation::Push && (variables <= 1 || (variables == 2 && part.costly));
    }

    // Appends the instructions for the part ending at `end`: its table when
    // it is worth one, else its operands' instructions and its own.
    void Fold(std::size_t end, std::vector<Instruction>& out) {
        const Part& part = parts_[end];
        const Instruction& root = program_[end];
        if (Tabulates(root, part) && tables_.size() < 256) {
            CompiledExpression::Table table;
            for (Variable variable : {Variable::Red, Variable::Green, Variable::Blue})
                if (part.variables & (1u << static_cast<int>(variable))) table.variables.push_back(variable);
            table.program.assign(program_.begin() + static_cast<std::ptrdiff_t>(part.start),
                                 program_.begin() + static_cast<std::ptrdiff_t>(end) + 1);
            Instruction look;
            look.source = Source::Table;
            look.table = static_cast<std::uint8_t>(tables_.size());
            tables_.push_back(std::move(table));
            out.push_back(look);
            return;
        }
        if (root.operation != Operation::Push) {
            if (IsBinary(root.operation)) Fold(parts_[end - 1].start - 1, out);
            Fold(end - 1, out);
        }
        out.push_back(root);
    }

    // A Push followed by a binary operation becomes that operation's right operand.
    static std::vector<Instruction> Fused(const std::vector<Instruction>& program) {
        std::vector<Instruction> fused;
        for (std::size_t index = 0; index < program.size(); ++index) {
            const Instruction& instruction = program[index];
            if (instruction.operation == Operation::Push && index + 1 < program.size() &&
                IsBinary(program[index + 1].operation)) {
                Instruction operation = instruction;
                operation.operation = program[++index].operation;
                fused.push_back(operation);
            } else {
                fused.push_back(instruction);
            }
        }
        return fused;
    }

    static void Fill(const CompiledExpression& compiled, CompiledExpression::Table& table) {
        using Outcome = CompiledExpression::Table::Outcome;
        const std::size_t size = std::size_t{1} << (8 * table.variables.size());
        table.values.resize(size);
        table.outcomes.resize(size);
        std::array<std::uint8_t, VariableCount> values{};
        for (std::size_t index = 0; index < size; ++index) {
            for (std::size_t digit = 0; digit < table.variables.size(); ++digit)
                values[static_cast<int>(table.variables[digit])] = static_cast<std::uint8_t>(index >> (8 * digit));
            bool fault = false;
            try {
                table.values[index] = compiled.Run(table.program, values, fault);
                table.outcomes[index] = fault ? Outcome::Fault : Outcome::Value;
            } catch (const Error&) {
                table.outcomes[index] = Outcome::Overflows;
            }
        }
    }

    std::vector<Instruction> program_;
    std::vector<Part> parts_;
    std::vector<CompiledExpression::Table> tables_;
};

std::optional<CompiledExpression> CompiledExpression::Compile(std::string_view expression,
                                                              const VariableTemplate& analysis) {
    if (!analysis.clean) return std::nullopt;
    std::optional<std::vector<Instruction>> program = ParsePostfix(analysis.symbols);
    if (!program || OperandDepth(*program) > MaximumOperands || !ParserAccepts(expression)) return std::nullopt;
    return ProgramOptimiser(std::move(*program)).Optimised();
}

long double CompiledExpression::Look(const Table& table, const std::array<std::uint8_t, VariableCount>& values,
                                     bool& fault) const {
    std::size_t index = 0;
    for (std::size_t digit = 0; digit < table.variables.size(); ++digit)
        index |= std::size_t{values[static_cast<int>(table.variables[digit])]} << (8 * digit);
    switch (table.outcomes[index]) {
        case Table::Outcome::Value: return table.values[index];
        case Table::Outcome::Fault: fault = true; return 0;
        case Table::Outcome::Overflows: break;
    }
    return Run(table.program, values, fault);  // raises the overflow where the pixel is
}

long double CompiledExpression::Run(const std::vector<Instruction>& program,
                                    const std::array<std::uint8_t, VariableCount>& values, bool& fault) const {
    using namespace expression;
    std::array<long double, MaximumOperands> operands;
    int top = -1;  // index of the top operand
    // A fault leaves 0 in place of the result, as the parser does, and the
    // computation goes on, so that a later overflow is still raised.
    auto faultable = [&fault](std::optional<long double> result) {
        fault = fault || !result;
        return result.value_or(0);
    };
    for (const Instruction& instruction : program) {
        long double operand = 0;
        switch (instruction.source) {
            case Source::Stack: break;
            case Source::Variable: operand = values[static_cast<int>(instruction.variable)]; break;
            case Source::Constant: operand = instruction.constant; break;
            case Source::Table: operand = Look(tables_[instruction.table], values, fault); break;
        }
        if (IsBinary(instruction.operation) && instruction.source == Source::Stack) operand = operands[top--];
        long double& target = instruction.operation == Operation::Push ? operands[++top] : operands[top];
        switch (instruction.operation) {
            case Operation::Push: target = operand; break;
            case Operation::Add: target = Sum(target, operand); break;
            case Operation::Subtract: target = Difference(target, operand); break;
            case Operation::Multiply: target = Product(target, operand); break;
            case Operation::Divide: target = faultable(Quotient(target, operand)); break;
            case Operation::Power: target = faultable(Power(target, operand)); break;
            case Operation::Negate: target = -target; break;
            case Operation::Function: target = faultable(Apply(instruction.function, target)); break;
        }
    }
    return operands[0];
}

std::uint8_t CompiledExpression::Evaluate(const std::array<std::uint8_t, VariableCount>& values) const {
    bool fault = false;
    const long double result = Run(program_, values, fault);
    return fault ? 0 : ChannelByte(result);
}

}  // namespace quorvane
