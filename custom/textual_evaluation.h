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
std::uint8_t ChannelByte(long double value);

// The expression's channel byte for one pixel: substitution, Evaluate on
// `parser`, ChannelByte of ResultValue (0 when the evaluation failed). Throws
// what Evaluate throws.
std::uint8_t EvaluateTextually(TMathParser& parser, std::string_view expression, std::uint8_t red,
                               std::uint8_t green, std::uint8_t blue);

}  // namespace quorvane
