// The codecs in-process on the 24-megapixel photo: decoding and encoding JPEG
// and BMP, each including the allocation of its result.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/photo.h"
#include "platform/bmp.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/jpeg.h"

namespace quorvane {
namespace {


std::string BenchFile(const std::string& name) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder ? folder : "/tmp") + "/quorvane-bench-" + std::to_string(getpid()) + "-" + name;
}

// A file of the photo in a format, written once and removed at exit.
class PhotoFile {
public:
    PhotoFile(const std::string& name, void (*write)(const Bitmap&, const std::string&)) : path_(BenchFile(name)) {
        write(Photo(), path_);
    }
    ~PhotoFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

template <typename Work>
void Measure(benchmark::State& state, const Work& work) {
    try {
        for (auto _ : state) work();
    } catch (const Error& error) {
        state.SkipWithError(error.what());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * PhotoWidth * PhotoHeight * 3);
}

void DecodeJpegFromMemory(benchmark::State& state) {
    const PhotoFile file("decode.jpg", WriteJpegFile);
    const MappedFile mapped(file.Path());
    Measure(state, [&] { benchmark::DoNotOptimize(DecodeJpeg(mapped.Data(), mapped.Size())); });
}

void WriteJpeg(benchmark::State& state) {
    const std::string path = BenchFile("write.jpg");
    Measure(state, [&] { WriteJpegFile(Photo(), path); });
    std::remove(path.c_str());
}

void ReadBmp(benchmark::State& state) {
    try {
        const PhotoFile file("read.bmp", WriteBmpFile);
        Measure(state, [&] { benchmark::DoNotOptimize(ReadBmpFile(file.Path())); });
    } catch (const Error& error) {
        state.SkipWithError(error.what());
    }
}

void WriteBmp(benchmark::State& state) {
    const std::string path = BenchFile("write.bmp");
    Measure(state, [&] { WriteBmpFile(Photo(), path); });
    std::remove(path.c_str());
}

BENCHMARK(DecodeJpegFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorvane

BENCHMARK_MAIN();
