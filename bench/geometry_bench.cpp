// The geometric transforms on the 24-megapixel photo, in memory, each as its
// command runs it (allocation of the result included), beside one plain copy
// of the bytes involved.
//
// Every run starts from the photo, restored outside the timed part. The
// counter "copies" is the run's time divided by the time of one memcpy of
// the image's bytes (of the result's bytes for the enlargement) between two
// buffers already in memory, timed in the same program just before the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "app/document.h"
#include "bench/photo.h"
#include "filters/geometry.h"
#include "filters/levels.h"
#include "platform/pixel_storage.h"

namespace quorvane {
namespace {


using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Two buffers of `bytes` bytes, faulted in, in huge pages as pictures are held.
struct CopyBuffers {
    explicit CopyBuffers(std::size_t bytes) : from(bytes), to(bytes) {
        std::memset(from.Data(), 1, bytes);
        std::memset(to.Data(), 2, bytes);
    }
    PixelStorage from;
    PixelStorage to;
};

double CopySeconds(std::size_t bytes) {
    static std::map<std::size_t, CopyBuffers> buffers;
    CopyBuffers& copy = buffers.try_emplace(bytes, bytes).first->second;
    const Clock::time_point start = Clock::now();
    std::memcpy(copy.to.Data(), copy.from.Data(), bytes);
    benchmark::DoNotOptimize(copy.to.Data());
    return SecondsSince(start);
}

// Times `operation` on a fresh copy of the photo, selected as `select` leaves
// it. Each run is paired with a copy of `comparedBytes` bytes timed just
// before it, so that both meet the same load on the machine; "copies" is the
// median of the runs' ratios.
void Measure(benchmark::State& state, const std::function<void()>& operation, std::size_t comparedBytes,
             const std::function<void()>& select = SelectAll) {
    std::vector<double> ratios;
    for (auto _ : state) {
        ImageBitmap.Assign(Photo());
        select();
        const double copy = CopySeconds(comparedBytes);
        const Clock::time_point start = Clock::now();
        operation();
        const double seconds = SecondsSince(start);
        state.SetIterationTime(seconds);
        ratios.push_back(seconds / copy);
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    state.counters["copies"] = ratios[ratios.size() / 2];
}

const std::size_t ImageBytes = Bitmap::StrideFor(PhotoWidth) * PhotoHeight;
const std::size_t DoubledBytes = Bitmap::StrideFor(2 * PhotoWidth) * 2 * PhotoHeight;

void CopyOfTheImage(benchmark::State& state) {
    Bitmap copy(PhotoWidth, PhotoHeight);
    copy.Fill(0);
    Measure(state, [&] { std::memcpy(copy.Bits(), ImageBitmap.Bits(), ImageBytes); }, ImageBytes);
}

void MirrorHorizontally(benchmark::State& state) { Measure(state, [] { MirrorImage(0); }, ImageBytes); }
void MirrorVertically(benchmark::State& state) { Measure(state, [] { MirrorImage(1); }, ImageBytes); }
void RotateLeft(benchmark::State& state) { Measure(state, [] { RotateImage(0); }, ImageBytes); }
void RotateRight(benchmark::State& state) { Measure(state, [] { RotateImage(1); }, ImageBytes); }

// Reflection alone, and as its commands run it, with the levels stretch.
void ReflectHorizontally(benchmark::State& state) { Measure(state, [] { ReflectImage(0); }, ImageBytes); }
void ReflectVertically(benchmark::State& state) { Measure(state, [] { ReflectImage(1); }, ImageBytes); }

void ReflectHorizontallyWithLevels(benchmark::State& state) {
    Measure(state, [] {
        ReflectImage(0);
        OptimizeLevels();
    }, ImageBytes);
}

void ReflectVerticallyWithLevels(benchmark::State& state) {
    Measure(state, [] {
        ReflectImage(1);
        OptimizeLevels();
    }, ImageBytes);
}

// A crop that keeps all but a 100-pixel border.
void Crop(benchmark::State& state) {
    Measure(state, CropImage, ImageBytes, [] { Selection = TRect{100, 100, PhotoWidth - 101, PhotoHeight - 101}; });
}

void DoubleByNearestNeighbour(benchmark::State& state) {
    Measure(state, [] { ResizeImage(2 * PhotoWidth, 2 * PhotoHeight); }, DoubledBytes);
}

void Register(const char* name, void (*run)(benchmark::State&)) {
    // The warm-up lets the first touch of the program's buffers pass.
    benchmark::RegisterBenchmark(name, run)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->MinWarmUpTime(0.5)
        ->MinTime(2.0);
}

const bool registered = [] {
    Register("CopyOfTheImage", CopyOfTheImage);
    Register("MirrorHorizontally", MirrorHorizontally);
    Register("MirrorVertically", MirrorVertically);
    Register("Crop", Crop);
    Register("RotateLeft", RotateLeft);
    Register("RotateRight", RotateRight);
    Register("ReflectHorizontally", ReflectHorizontally);
    Register("ReflectVertically", ReflectVertically);
    Register("ReflectHorizontallyWithLevels", ReflectHorizontallyWithLevels);
    Register("ReflectVerticallyWithLevels", ReflectVerticallyWithLevels);
    Register("DoubleByNearestNeighbour", DoubleByNearestNeighbour);
    return true;
}();

}  // namespace
}  // namespace quorvane

BENCHMARK_MAIN();
