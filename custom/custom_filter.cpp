#include "custom/custom_filter.h"

#include <array>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <vector>

#include "custom/channel_program.h"
#include "filters/frame.h"

namespace quorvane {
namespace {

// The distinct expressions of the three channels, each with its program; a
// text given twice is computed once.
struct ChannelPrograms {
    std::vector<ChannelProgram> programs;
    std::array<std::size_t, 3> programOf{};  // red, green, blue

    ChannelPrograms(const std::array<const std::string*, 3>& expressions, std::int64_t pixelCount,
                    TMathParser& parser) {
        std::vector<const std::string*> texts;
        programs.reserve(3);
        for (std::size_t channel = 0; channel < 3; ++channel) {
            std::size_t index = 0;
            while (index < texts.size() && *texts[index] != *expressions[channel]) ++index;
            if (index == texts.size()) {
                texts.push_back(expressions[channel]);
                programs.emplace_back(*expressions[channel], pixelCount, parser);
            }
            programOf[channel] = index;
        }
    }
};

// The first error any row block raised; the other blocks stop at their next row.
class PassFailure {
public:
    bool Raised() const { return raised_.load(std::memory_order_relaxed); }
    void Record(std::exception_ptr error) {
        const std::lock_guard lock(mutex_);
        if (!error_) error_ = error;
        raised_ = true;
    }
    void RethrowIfRaised() const {
        if (error_) std::rethrow_exception(error_);
    }

private:
    std::atomic<bool> raised_{false};
    std::mutex mutex_;
    std::exception_ptr error_;
};

void FilterRows(const ChannelPrograms& channels, TMathParser& parser, std::uint8_t* firstRow, std::size_t stride,
                int width, int rowCount, const PassFailure& failure) {
    std::vector<ChannelProgram::Scratch> scratches;
    std::vector<std::vector<std::uint8_t>> results;
    for (std::size_t index = 0; index < channels.programs.size(); ++index) {
        scratches.push_back({parser, {}});
        results.emplace_back(static_cast<std::size_t>(width));
    }
    const std::uint8_t* red = results[channels.programOf[0]].data();
    const std::uint8_t* green = results[channels.programOf[1]].data();
    const std::uint8_t* blue = results[channels.programOf[2]].data();
    for (int y = 0; y < rowCount && !failure.Raised(); ++y) {
        std::uint8_t* row = firstRow + stride * static_cast<std::size_t>(y);
        for (std::size_t index = 0; index < channels.programs.size(); ++index)
            channels.programs[index].EvaluateRow(row, width, results[index].data(), scratches[index]);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = blue[x];
            row[3 * x + 1] = green[x];
            row[3 * x + 2] = red[x];
        }
    }
}

}  // namespace

void CustomFilter(TMathParser& parser, const std::string& red, const std::string& green, const std::string& blue) {
    FilterFrame frame;
    const int width = frame.Width();
    const int height = frame.Height();
    if (width > 0 && height > 0) {
        const ChannelPrograms channels({&red, &green, &blue}, std::int64_t{width} * height, parser);
        std::uint8_t* const bits = WorkBitmap.Bits();
        const std::size_t stride = WorkBitmap.Stride();
        PassFailure failure;
        ForRowBlocks(height, width, [&](int firstRow, int endRow) {
            // The calling thread's block, which starts at the top row, uses the
            // caller's parser; another block needs one of its own.
            TMathParser ownParser;
            try {
                FilterRows(channels, firstRow == 0 ? parser : ownParser, bits + stride * static_cast<std::size_t>(firstRow),
                           stride, width, endRow - firstRow, failure);
            } catch (...) {
                failure.Record(std::current_exception());
            }
        });
        failure.RethrowIfRaised();
        FinishPass(WorkBitmap, 0, width, 0, height);
    }
    frame.WriteBack();
}

std::string WithoutSpaces(std::string text) {
    std::erase(text, ' ');
    return text;
}

}  // namespace quorvane
