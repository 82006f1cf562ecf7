// Point filters: each output pixel depends only on the same input pixel.
//
// All act on the Selection of ImageBitmap through the filter frame; none
// takes an undo snapshot or repaints.
#pragma once

#include <cstdint>

namespace quorvane {

// The channels InvertChannels and LogarithmChannels touch: 0 all three,
// 1 red, 2 green, 3 blue; any other value touches none.
using ChannelSelector = std::uint8_t;

// Adds the offsets to red, green and blue, each clamped to 0..255.
void AdjustChannels(std::int32_t dR, std::int32_t dG, std::int32_t dB);
// White where the luminance is above 127, black elsewhere.
void BlackAndWhite();
// Gray with the pixel's luminance.
void Grayscale();
// v becomes 255 - v in the chosen channels.
void InvertChannels(ChannelSelector selector);
// v becomes round(105.88 * log10(v + 1)) in the chosen channels, formed in
// extended precision, ties to even.
void LogarithmChannels(ChannelSelector selector);
// Every channel v becomes ClampByte(trunc(v * 2 - 128)) for an increase,
// ClampByte(trunc(v * 0.5 + 64)) for a decrease.
void AdjustContrast(bool decrease);
// (red, green, blue) becomes (blue, red, green).
void SwapChannels();

// Grayscale followed by AdjustChannels(dR, dG, dB), in one pass with the
// same result: every pixel of luminance L becomes
// (ClampByte(L + dR), ClampByte(L + dG), ClampByte(L + dB)).
void TintedGrayscale(std::int32_t dR, std::int32_t dG, std::int32_t dB);

}  // namespace quorvane
