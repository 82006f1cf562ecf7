// The statistics of the whole image: channel ranges and average luminance.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quorvane {

struct ImageStatistics {
    int width = 0;
    int height = 0;
    // Per channel, in the order red, green, blue.
    std::array<std::uint8_t, 3> minimum{255, 255, 255};
    std::array<std::uint8_t, 3> maximum{0, 0, 0};
    // Sum of PixelLuminance over all pixels, in 64 bits so that images above
    // 8,421,504 pixels average correctly.
    std::int64_t luminanceSum = 0;
    // round(sum * (100 / 255) / (width * height)), formed in extended precision.
    std::uint8_t averageLuminance = 0;

    // Every channel reaches both 0 and 255.
    bool Optimized() const;
};

// Walks every pixel of ImageBitmap, whatever the selection, under the busy
// cursor. An image without pixels throws Error("Invalid floating point
// operation"), the average being 0 / 0.
ImageStatistics MeasureImage();

// The report: file name, dimensions, whether optimized, the channel ranges
// and the average luminance, lines joined by "\r\n".
std::string StatisticsText(const ImageStatistics& statistics, const std::string& fileName);

// Measures the image and shows the report in an information box. Changes
// nothing: no undo snapshot, no repaint.
void Statistics();

}  // namespace quorvane
