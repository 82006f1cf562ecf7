// How the custom filter computes one channel's expression for the pixels of
// a pass, always with the result of the textual per-pixel step
// (custom/textual_evaluation.h), by the fastest road the expression allows:
//
// - an expression whose text depends on at most two of the three variables
//   becomes a table over those (1, 256 or 65536 entries), filled once;
// - a clean expression of all three runs as a compiled program
//   (custom/compiled_expression.h);
// - anything else is evaluated as text, remembered per distinct colour.
//
// A table entry whose evaluation overflows is marked, and a pixel that meets
// it evaluates the text again, which raises the error where the pixel is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "custom/compiled_expression.h"
#include "custom/parser.h"
#include "custom/variable_template.h"

namespace quorvane {

class ChannelProgram {
public:
    // What one thread needs for the textual road: its own parser and the
    // bytes it has computed so far, by colour.
    struct Scratch {
        TMathParser& parser;
        std::unordered_map<std::uint32_t, std::uint8_t> byColour;
    };

    // A program for a pass over `pixelCount` pixels; a table is filled only
    // when it has no more entries than that. Fills it with `parser`.
    ChannelProgram(std::string expression, std::int64_t pixelCount, TMathParser& parser);

    // results[x] := the channel byte of pixel x of the row (bytes blue, green,
    // red). Throws the overflow error of the first pixel that raises one.
    void EvaluateRow(const std::uint8_t* row, int width, std::uint8_t* results, Scratch& scratch) const;

private:
    static constexpr std::uint16_t Overflows = 256;  // a table entry whose evaluation throws

    std::uint8_t EvaluateTextually(const std::uint8_t* pixel, Scratch& scratch) const;
    std::uint8_t FromTable(std::size_t index, const std::uint8_t* pixel, Scratch& scratch) const;
    std::uint8_t Remembered(const std::uint8_t* pixel, Scratch& scratch) const;
    void FillTable(TMathParser& parser);

    std::string expression_;
    std::optional<CompiledExpression> compiled_;
    // Offsets within a pixel's bytes of the variables indexing the table,
    // lowest digit first; empty table when there is none.
    std::vector<int> tableBytes_;
    std::vector<std::uint16_t> table_;
};

}  // namespace quorvane
