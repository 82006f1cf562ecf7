// Every filter of the Filters menu on a 24-megapixel photo-like image, whole
// image selected, beside one plain copy of the image's bytes measured in the
// same program. The counter "copies" is a filter's time in units of that
// copy; "limit" is the most it may take (0 where there is none) and
// "within_limit" 1 when it keeps to it.
//
// Each iteration starts from the same photo (restored outside the timing)
// and times the filter as a command runs it, its own allocations included.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/document.h"
#include "bench/photo.h"
#include "filters/composite.h"
#include "filters/edges.h"
#include "filters/feather.h"
#include "filters/levels.h"
#include "filters/mean.h"
#include "filters/noise.h"
#include "filters/point.h"
#include "filters/sharpness.h"
#include "filters/statistics.h"

namespace quorvane {
namespace {

using Clock = std::chrono::steady_clock;

void LoadPhoto() {
    ImageBitmap.Assign(Photo());
    SelectAll();
}

// A buffer the size of the image, already touched.
std::vector<std::uint8_t>& CopyBuffer() {
    static std::vector<std::uint8_t> buffer(Photo().ByteSize(), 1);
    return buffer;
}

// One plain copy of the image's bytes, in seconds.
double TimeCopy() {
    const auto start = Clock::now();
    std::memcpy(CopyBuffer().data(), ImageBitmap.Bits(), CopyBuffer().size());
    benchmark::DoNotOptimize(CopyBuffer().data());
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void CopyOfTheImage(benchmark::State& state) {
    LoadPhoto();
    for (auto _ : state) TimeCopy();
}

// The copy is timed beside the filter in every iteration, so the ratio holds
// however busy the machine is.
template <typename Filter>
void TimeFilter(benchmark::State& state, double limit, const Filter& filter) {
    double filterSeconds = 0;
    double copySeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LoadPhoto();
        copySeconds += TimeCopy();
        state.ResumeTiming();
        const auto start = Clock::now();
        filter();
        filterSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double ratio = filterSeconds / copySeconds;
    state.counters["copies"] = ratio;
    state.counters["limit"] = limit;
    state.counters["within_limit"] = limit == 0 || ratio <= limit ? 1 : 0;
}

constexpr double PointLimit = 4;
constexpr double NoLimit = 0;

#define FILTER_BENCHMARK(name, limit, call) \
    BENCHMARK_CAPTURE(TimeFilter, name, limit, [] { call; })->Unit(benchmark::kMillisecond)->UseRealTime()

BENCHMARK(CopyOfTheImage)->Unit(benchmark::kMillisecond)->UseRealTime();
FILTER_BENCHMARK(BrightnessIncrease, PointLimit, AdjustChannels(25, 25, 25));
FILTER_BENCHMARK(BrightnessDecrease, PointLimit, AdjustChannels(-25, -25, -25));
FILTER_BENCHMARK(RedIncrease, PointLimit, AdjustChannels(25, 0, 0));
FILTER_BENCHMARK(BlueDecrease, PointLimit, AdjustChannels(0, 0, -25));
FILTER_BENCHMARK(BlackAndWhite, PointLimit, BlackAndWhite());
FILTER_BENCHMARK(Grayscale, PointLimit, Grayscale());
FILTER_BENCHMARK(InvertAll, PointLimit, InvertChannels(0));
FILTER_BENCHMARK(InvertRed, PointLimit, InvertChannels(1));
FILTER_BENCHMARK(LogarithmAll, PointLimit, LogarithmChannels(0));
FILTER_BENCHMARK(LogarithmGreen, PointLimit, LogarithmChannels(2));
FILTER_BENCHMARK(ContrastIncrease, PointLimit, AdjustContrast(false));
FILTER_BENCHMARK(ContrastDecrease, PointLimit, AdjustContrast(true));
FILTER_BENCHMARK(SwapChannels, PointLimit, SwapChannels());
FILTER_BENCHMARK(Sepia, PointLimit, Sepia());
FILTER_BENCHMARK(Mean1, 15, Mean(1));
FILTER_BENCHMARK(Mean5, 30, Mean(5));
FILTER_BENCHMARK(FindEdges, 40, FindEdges());
FILTER_BENCHMARK(AddNoise25, 30, AddNoise(25));
FILTER_BENCHMARK(OptimizeLevels, NoLimit, OptimizeLevels());
FILTER_BENCHMARK(SharpnessIncrease, NoLimit, AdjustSharpness(false));
FILTER_BENCHMARK(SharpnessDecrease, NoLimit, AdjustSharpness(true));
FILTER_BENCHMARK(Feather, NoLimit, Feather(RGB(200, 17, 99)));
FILTER_BENCHMARK(Statistics, NoLimit, MeasureImage());
FILTER_BENCHMARK(Drawn, NoLimit, Drawn());
FILTER_BENCHMARK(Early20thCentury, NoLimit, Early20thCentury());
FILTER_BENCHMARK(CheapColorCamera, NoLimit, CheapColorCamera());

}  // namespace
}  // namespace quorvane

BENCHMARK_MAIN();
