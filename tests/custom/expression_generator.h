// Random custom-filter expressions: mostly well-formed over the whole grammar
// (every operator and function, unary minus, nesting near the stack limit,
// numerals of every form, faults and overflows), and a share of texts whose
// substitution is awkward: variables joined to digits, names, exponents and
// each other, lower-case names, stray characters.
#pragma once

#include <random>
#include <string>

namespace quorvane::testing {

class ExpressionGenerator {
public:
    explicit ExpressionGenerator(unsigned seed) : random_(seed) {}

    std::string Next();

private:
    std::string Expression(int depth);
    std::string Operand(int depth);
    std::string Numeral();
    std::string Mutated(std::string text);
    int Below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random_); }
    template <std::size_t N>
    const char* Pick(const char* const (&choices)[N]) {
        return choices[Below(static_cast<int>(N))];
    }

    std::mt19937 random_;
};

}  // namespace quorvane::testing
