// UpdateUndo and the main window's ReDraw on a 24-megapixel image, beside one
// plain copy of the image's bytes: each should cost about one pass over the
// pixels.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstring>
#include <vector>

#include "app/main_form.h"
#include "bench/photo.h"

namespace {

quorvane::TMainForm& Form() {
    static quorvane::TMainForm* form = [] {
        auto* created = new quorvane::TMainForm;
        created->FormCreate({"quorvane"});
        quorvane::ImageBitmap = quorvane::MakePhoto(quorvane::PhotoWidth, quorvane::PhotoHeight);
        quorvane::SelectAll();
        created->ReDraw();
        return created;
    }();
    return *form;
}

void CopyOfTheImage(benchmark::State& state) {
    Form();
    std::vector<std::uint8_t> copy(quorvane::ImageBitmap.ByteSize());
    for (auto _ : state) {
        std::memcpy(copy.data(), quorvane::ImageBitmap.Bits(), copy.size());
        benchmark::DoNotOptimize(copy.data());
    }
}

void UpdateUndo(benchmark::State& state) {
    Form();
    for (auto _ : state) quorvane::UpdateUndo();
}

void ReDraw(benchmark::State& state) {
    quorvane::TMainForm& form = Form();
    for (auto _ : state) form.ReDraw();
}

BENCHMARK(CopyOfTheImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(UpdateUndo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReDraw)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
