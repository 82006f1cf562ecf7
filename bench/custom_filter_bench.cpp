// The custom filter on the 24-megapixel photo, whole image selected, each run
// including the work copy's allocation: the pass as the editor runs it, and
// the straightforward pass that substitutes and parses the three texts for
// every pixel. The straightforward pass runs on a 600 x 400 crop of the photo
// (a hundredth of its pixels); multiply its time by 100 to compare.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/document.h"
#include "bench/photo.h"
#include "custom/custom_filter.h"
#include "custom/textual_evaluation.h"
#include "filters/frame.h"

namespace quorvane {
namespace {

constexpr int CropWidth = 600;
constexpr int CropHeight = 400;

struct Filter {
    const char* name;
    const char* red;
    const char* green;
    const char* blue;
};

const std::vector<Filter>& Filters() {
    static const std::vector<Filter> filters = {
        {"invert_red", "255-R1", "G1", "B1"},
        {"mean_gray", "(R1+G1+B1)/3", "(R1+G1+B1)/3", "(R1+G1+B1)/3"},
        {"luma_red", "R1*0.299+G1*0.587+B1*0.114", "G1", "B1"},
        {"geometric_mean_red", "SQRT(R1*G1)", "G1", "B1"},
        {"heavy_red", "ROUND(SQRT(R1*G1)+SIN(B1)*20)", "G1", "B1"},
        {"heavy_three", "ROUND(SQRT(R1*G1)+SIN(B1)*20)", "ROUND(SQRT(G1*B1)+SIN(R1)*20)",
         "ROUND(SQRT(B1*R1)+SIN(G1)*20)"},
        {"joined_digits_red", "R12/10+G1B1/1000", "G1", "B1"},
    };
    return filters;
}

// The image of each run: the photo, or its top-left crop, selected whole.
void LoadImage(int width, int height) {
    const Bitmap& photo = Photo();
    if (width == photo.Width() && height == photo.Height()) {
        ImageBitmap.Assign(photo);
    } else {
        ImageBitmap.SetSize(width, height);
        ImageBitmap.Draw(photo, 0, 0);
    }
    SelectAll();
}

// The pass as described: three substitutions and evaluations per pixel.
void StraightforwardPass(TMathParser& parser, const Filter& filter) {
    FilterFrame frame;
    for (int y = 0; y < frame.Height(); ++y) {
        std::uint8_t* pixel = WorkBitmap.ScanLine(y);
        for (int x = 0; x < frame.Width(); ++x, pixel += 3) {
            const std::uint8_t blue = pixel[0], green = pixel[1], red = pixel[2];
            pixel[2] = EvaluateTextually(parser, filter.red, red, green, blue);
            pixel[1] = EvaluateTextually(parser, filter.green, red, green, blue);
            pixel[0] = EvaluateTextually(parser, filter.blue, red, green, blue);
        }
    }
    frame.WriteBack();
}

void FastPass(benchmark::State& state, const Filter& filter) {
    TMathParser parser;
    for (auto _ : state) {
        state.PauseTiming();
        LoadImage(PhotoWidth, PhotoHeight);
        state.ResumeTiming();
        CustomFilter(parser, filter.red, filter.green, filter.blue);
    }
    state.counters["megapixels/s"] =
        benchmark::Counter(double(PhotoWidth) * PhotoHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void TextualPassOnCrop(benchmark::State& state, const Filter& filter) {
    TMathParser parser;
    for (auto _ : state) {
        state.PauseTiming();
        LoadImage(CropWidth, CropHeight);
        state.ResumeTiming();
        StraightforwardPass(parser, filter);
    }
    state.counters["megapixels/s"] =
        benchmark::Counter(double(CropWidth) * CropHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

const bool registered = [] {
    for (const Filter& filter : Filters()) {
        benchmark::RegisterBenchmark((std::string("CustomFilter/") + filter.name).c_str(), FastPass, filter)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(3);
        benchmark::RegisterBenchmark((std::string("StraightforwardOnCrop/") + filter.name).c_str(),
                                     TextualPassOnCrop, filter)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    return true;
}();

}  // namespace
}  // namespace quorvane

BENCHMARK_MAIN();
