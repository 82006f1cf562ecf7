// The custom filter pass: three expressions in R1, G1 and B1, the pixel's red,
// green and blue values, evaluated for every selected pixel; their results,
// rounded half to even and clamped to 0..255, become its new red, green and
// blue.
#pragma once

#include <string>

#include "custom/parser.h"

namespace quorvane {

// Runs the pass over the Selection of ImageBitmap in the filter frame. Every
// pixel gets what substituting its values into the texts and evaluating them
// on a parser gives (custom/textual_evaluation.h): a syntax error or a fault
// gives 0. When any pixel's evaluation overflows, the pass throws that error
// and ImageBitmap stays as it was. Takes no undo snapshot and does not
// repaint. `parser` serves the evaluations of the calling thread.
void CustomFilter(TMathParser& parser, const std::string& red, const std::string& green, const std::string& blue);

// The text without its spaces (character 32), as expressions are applied:
// '2 5 5-R 1' becomes '255-R1'.
std::string WithoutSpaces(std::string text);

}  // namespace quorvane
