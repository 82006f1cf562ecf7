// The arithmetic of expressions, one operation at a time, in 80-bit extended
// precision: the operations, the library functions, the domains, the faults
// and the overflow errors. TMathParser and the compiled expressions both
// compute with these, so their results agree to the last bit.
//
// A fault (division by zero, a power or function argument outside its
// domain) is an empty result; leaving the extended range throws
// quorvane::Error("Floating point overflow").
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "platform/error.h"

namespace quorvane::expression {

[[noreturn]] void ThrowOverflow();
[[noreturn]] void ThrowInvalidOperation();

// Finite operands give finite results unless the result leaves the extended
// range; a NaN from non-NaN operands is an invalid operation.
inline long double Checked(long double result, long double left, long double right) {
    if (std::isnan(result) && !std::isnan(left) && !std::isnan(right)) ThrowInvalidOperation();
    if (std::isinf(result) && std::isfinite(left) && std::isfinite(right)) ThrowOverflow();
    return result;
}

inline long double Sum(long double left, long double right) { return Checked(left + right, left, right); }
inline long double Difference(long double left, long double right) { return Checked(left - right, left, right); }
inline long double Product(long double left, long double right) { return Checked(left * right, left, right); }

inline std::optional<long double> Quotient(long double left, long double right) {
    if (right == 0) return std::nullopt;
    return Checked(left / right, left, right);
}

// Beyond this magnitude e^t leaves the extended range.
inline constexpr long double ExponentLimit = 11356;

inline bool Within(long double value, long double lowest, long double highest) {
    return value >= lowest && value <= highest;
}

// b ^ x = e ^ (x ln b), for positive b and x ln b within the exponent limit.
inline std::optional<long double> Power(long double base, long double exponent) {
    if (!(base > 0)) return std::nullopt;
    const long double product = exponent * std::log(base);
    if (!Within(product, -ExponentLimit, ExponentLimit)) return std::nullopt;
    return std::exp(product);
}

enum class MathFunction : std::uint8_t { Abs, Atan, Cos, Exp, Ln, Round, Sin, Sqrt, Sqr, Trunc };

// The function of that name, whatever its case; the whole name must match.
std::optional<MathFunction> FindMathFunction(std::string_view name);
// Its name in capitals ("SQRT").
std::string_view FunctionName(MathFunction function);

struct Domain {
    long double lowest;  // bounds included
    long double highest;
};

inline constexpr long double Infinity = std::numeric_limits<long double>::infinity();

inline constexpr std::array<Domain, 10> Domains{{
    {-Infinity, Infinity},                                           // Abs
    {-Infinity, Infinity},                                           // Atan
    {-9E18L, 9E18L},                                                 // Cos
    {-ExponentLimit, ExponentLimit},                                 // Exp
    {std::numeric_limits<long double>::denorm_min(), Infinity},      // Ln
    {-1E9L, 1E9L},                                                   // Round
    {-9E18L, 9E18L},                                                 // Sin
    {0, Infinity},                                                   // Sqrt
    {-1E2466L, 1E2466L},                                             // Sqr
    {-1E9L, 1E9L},                                                   // Trunc
}};

inline std::optional<long double> Apply(MathFunction function, long double x) {
    const Domain& domain = Domains[static_cast<int>(function)];
    if (!Within(x, domain.lowest, domain.highest)) return std::nullopt;
    switch (function) {
        case MathFunction::Abs: return std::fabs(x);
        case MathFunction::Atan: return std::atan(x);
        case MathFunction::Cos: return std::cos(x);
        case MathFunction::Exp: return std::exp(x);
        case MathFunction::Ln: return std::log(x);
        case MathFunction::Round: return static_cast<long double>(std::llrint(x));
        case MathFunction::Sin: return std::sin(x);
        case MathFunction::Sqrt: return std::sqrt(x);
        case MathFunction::Sqr: return x * x;
        case MathFunction::Trunc: return static_cast<long double>(static_cast<std::int64_t>(x));
    }
    return std::nullopt;
}

}  // namespace quorvane::expression
