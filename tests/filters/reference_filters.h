// The filters written the straightforward way: one sequential pass per step,
// pixel by pixel through PixelPtr, exactly as the filters are defined. The
// fast kernels of the engine must give the same pixels.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace quorvane::reference {

void AdjustChannels(std::int32_t dR, std::int32_t dG, std::int32_t dB);
void BlackAndWhite();
void Grayscale();
void InvertChannels(std::uint8_t selector);
void LogarithmChannels(std::uint8_t selector);
void AdjustContrast(bool decrease);
void SwapChannels();
void OptimizeLevels();
void Mean(std::int32_t n);
void AddNoise(std::int32_t n, std::uint32_t seed);
void FindEdges();
void AdjustSharpness(bool decrease);
void Feather(TColor colour);

struct Statistics {
    std::uint8_t minimum[3];  // red, green, blue
    std::uint8_t maximum[3];
    std::int64_t sum;
    std::uint8_t average;
};
Statistics MeasureImage();

}  // namespace quorvane::reference
