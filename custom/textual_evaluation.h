// The custom filter's per-pixel step as text: the pixel's values written into
// the expression in place of R1, G1 and B1, the result parsed and evaluated,
// and the value taken to a channel byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "custom/parser.h"

namespace quorvane {

// Replaces every "R1" by the decimal text of red, then in that result every
// "G1" by green, then every "B1" by blue. Each step scans its input once from
// left to right, so digits it inserts are not searched again by the same step,
// but a later step sees them: with red 1, "GR1" becomes "G1" and then green.
std::string SubstituteVariables(std::string_view expression, std::uint8_t red, std::uint8_t green,
                                std::uint8_t blue);

// A result as a channel byte: the nearest integer, ties to even, clamped to
// 0..255 whatever the magnitude.
inline std::uint8_t ChannelByte(long double value) {
    // At or beyond these bounds the rounded value clamps to an end whichever
    // way a tie goes.
    if (!(value > -0.5L)) return 0;
    if (value >= 255.5L) return 255;
    // Between them, adding and taking away 1.5 * 2^63 rounds to an integer in
    // the default rounding mode, ties to even: near that constant the
    // extended format holds no fraction bits.
    // The whole number then passes through double, exactly: a conversion of
    // a long double straight to an integer switches the x87 rounding mode,
    // which costs more than the rest of this function.
    constexpr long double RoundingShift = 0x1.8p63L;
    const long double rounded = (value + RoundingShift) - RoundingShift;
    return static_cast<std::uint8_t>(static_cast<int>(static_cast<double>(rounded)));
}

// The expression's channel byte for one pixel: substitution, Evaluate on
// `parser`, ChannelByte of ResultValue (0 when the evaluation failed). Throws
// what Evaluate throws.
std::uint8_t EvaluateTextually(TMathParser& parser, std::string_view expression, std::uint8_t red,
                               std::uint8_t green, std::uint8_t blue);

}  // namespace quorvane
