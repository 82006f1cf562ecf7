#include "custom/channel_program.h"

#include <algorithm>

#include "custom/textual_evaluation.h"
#include "platform/error.h"

namespace quorvane {
namespace {

// Where a variable's byte is within a pixel (blue, green, red).
constexpr int PixelByte(Variable variable) { return 2 - static_cast<int>(variable); }

std::array<std::uint8_t, VariableCount> PixelValues(const std::uint8_t* pixel) {
    return {pixel[2], pixel[1], pixel[0]};
}

constexpr int MaximumTableVariables = 2;

}  // namespace

ChannelProgram::ChannelProgram(std::string expression, std::int64_t pixelCount, TMathParser& parser)
    : expression_(std::move(expression)) {
    const VariableTemplate analysis = AnalyseVariables(expression_);
    compiled_ = CompiledExpression::Compile(expression_, analysis);
    std::vector<int> bytes;
    for (Variable variable : {Variable::Red, Variable::Green, Variable::Blue})
        if (analysis.uses[static_cast<int>(variable)]) bytes.push_back(PixelByte(variable));
    const std::int64_t tableSize = std::int64_t{1} << (8 * bytes.size());
    if (bytes.size() <= MaximumTableVariables && tableSize <= std::max<std::int64_t>(pixelCount, 1)) {
        tableBytes_ = std::move(bytes);
        FillTable(parser);
    }
}

void ChannelProgram::FillTable(TMathParser& parser) {
    table_.resize(std::size_t{1} << (8 * tableBytes_.size()));
    std::array<std::uint8_t, 3> pixel{};  // the unused variables stay 0: the text does not depend on them
    for (std::size_t index = 0; index < table_.size(); ++index) {
        for (std::size_t digit = 0; digit < tableBytes_.size(); ++digit)
            pixel[tableBytes_[digit]] = static_cast<std::uint8_t>(index >> (8 * digit));
        try {
            table_[index] = compiled_ ? compiled_->Evaluate(PixelValues(pixel.data()))
                                      : quorvane::EvaluateTextually(parser, expression_, pixel[2], pixel[1], pixel[0]);
        } catch (const Error&) {
            table_[index] = Overflows;
        }
    }
}

std::uint8_t ChannelProgram::EvaluateTextually(const std::uint8_t* pixel, Scratch& scratch) const {
    return quorvane::EvaluateTextually(scratch.parser, expression_, pixel[2], pixel[1], pixel[0]);
}

std::uint8_t ChannelProgram::FromTable(std::size_t index, const std::uint8_t* pixel, Scratch& scratch) const {
    const std::uint16_t entry = table_[index];
    return entry == Overflows ? EvaluateTextually(pixel, scratch) : static_cast<std::uint8_t>(entry);
}

std::uint8_t ChannelProgram::Remembered(const std::uint8_t* pixel, Scratch& scratch) const {
    const std::uint32_t colour = pixel[0] | std::uint32_t{pixel[1]} << 8 | std::uint32_t{pixel[2]} << 16;
    if (const auto known = scratch.byColour.find(colour); known != scratch.byColour.end()) return known->second;
    const std::uint8_t result = EvaluateTextually(pixel, scratch);
    scratch.byColour.emplace(colour, result);
    return result;
}

void ChannelProgram::EvaluateRow(const std::uint8_t* row, int width, std::uint8_t* results, Scratch& scratch) const {
    const std::uint8_t* const end = row + std::size_t{3} * static_cast<std::size_t>(width);
    auto each = [&](auto result) {
        for (const std::uint8_t* pixel = row; pixel != end; pixel += 3) *results++ = result(pixel);
    };
    if (table_.empty() && compiled_) {
        each([this](const std::uint8_t* pixel) { return compiled_->Evaluate(PixelValues(pixel)); });
    } else if (table_.empty()) {
        each([&](const std::uint8_t* pixel) { return Remembered(pixel, scratch); });
    } else if (tableBytes_.empty()) {
        each([&](const std::uint8_t* pixel) { return FromTable(0, pixel, scratch); });
    } else if (tableBytes_.size() == 1) {
        const int first = tableBytes_[0];
        each([&](const std::uint8_t* pixel) { return FromTable(pixel[first], pixel, scratch); });
    } else {
        const int first = tableBytes_[0];
        const int second = tableBytes_[1];
        each([&](const std::uint8_t* pixel) {
            return FromTable(pixel[first] | std::size_t{pixel[second]} << 8, pixel, scratch);
        });
    }
}

}  // namespace quorvane
