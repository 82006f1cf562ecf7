// make_photo WIDTH HEIGHT OUTPUT.ppm: writes the benchmarks' photo-like picture
// as a binary PPM, the input cjpeg takes.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/photo.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_photo WIDTH HEIGHT OUTPUT.ppm\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "make_photo: width and height must be positive\n");
        return 2;
    }
    const quorvane::Bitmap image = quorvane::MakePhoto(width, height);
    std::FILE* file = std::fopen(argv[3], "wb");
    if (file == nullptr) {
        std::perror(argv[3]);
        return 1;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const unsigned char* pixel = image.ScanLine(y);
        for (int x = 0; x < width; ++x, pixel += 3) {
            row[3 * x] = pixel[2];
            row[3 * x + 1] = pixel[1];
            row[3 * x + 2] = pixel[0];
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    const bool failed = std::ferror(file) != 0;
    if (std::fclose(file) != 0 || failed) {
        std::perror(argv[3]);
        return 1;
    }
    return 0;
}
