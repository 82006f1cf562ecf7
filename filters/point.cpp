#include "filters/point.h"

#include <array>
#include <cmath>

#include "filters/channel_tables.h"
#include "filters/frame.h"

namespace quorvane {

namespace {

using Curve = ChannelTables::Curve;

// The sum is formed in 64 bits, so offsets near the 32-bit limits saturate
// instead of wrapping round.
Curve OffsetCurve(std::int32_t offset) {
    Curve curve;
    for (int v = 0; v < 256; ++v) {
        const std::int64_t sum = std::int64_t{v} + offset;
        curve[v] = static_cast<std::uint8_t>(sum < 0 ? 0 : sum > 255 ? 255 : sum);
    }
    return curve;
}

void FilterThroughTables(const ChannelTables& tables) {
    const InPlaceFrame frame;
    ApplyToSelection(frame, tables);
}

// The channels a selector chooses, with `curve` on them and identity elsewhere.
ChannelTables SelectedChannels(ChannelSelector selector, const Curve& curve) {
    ChannelTables tables = ChannelTables::Unchanged();
    if (selector == 0 || selector == 1) tables.red = curve;
    if (selector == 0 || selector == 2) tables.green = curve;
    if (selector == 0 || selector == 3) tables.blue = curve;
    return tables;
}

// Sets all three channels of every pixel to gray[(red + green + blue)].
void FilterThroughLuminance(const std::array<std::uint8_t, 766>& gray) {
    const std::uint8_t* const grayOfSum = gray.data();  // a local pointer: pixel stores cannot alias it
    PassOverSelectionInPlace([grayOfSum](std::uint8_t* pixel, int count) {
        for (std::uint8_t* const end = pixel + std::size_t{3} * static_cast<std::size_t>(count); pixel != end;
             pixel += 3) {
            const std::uint8_t value = grayOfSum[pixel[0] + pixel[1] + pixel[2]];
            pixel[0] = value;
            pixel[1] = value;
            pixel[2] = value;
        }
    });
}

// Sets blue, green and red of every pixel to blue[sum], green[sum] and
// red[sum] of its channel sum.
void FilterThroughLuminanceTones(const std::array<std::uint8_t, 766>& blue, const std::array<std::uint8_t, 766>& green,
                                 const std::array<std::uint8_t, 766>& red) {
    const std::uint8_t* const blueOfSum = blue.data();  // local pointers: pixel stores cannot alias them
    const std::uint8_t* const greenOfSum = green.data();
    const std::uint8_t* const redOfSum = red.data();
    PassOverSelectionInPlace([blueOfSum, greenOfSum, redOfSum](std::uint8_t* pixel, int count) {
        for (std::uint8_t* const end = pixel + std::size_t{3} * static_cast<std::size_t>(count); pixel != end;
             pixel += 3) {
            const int sum = pixel[0] + pixel[1] + pixel[2];
            pixel[0] = blueOfSum[sum];
            pixel[1] = greenOfSum[sum];
            pixel[2] = redOfSum[sum];
        }
    });
}

}  // namespace

void AdjustChannels(std::int32_t dR, std::int32_t dG, std::int32_t dB) {
    FilterThroughTables({OffsetCurve(dB), OffsetCurve(dG), OffsetCurve(dR)});
}

void BlackAndWhite() {
    std::array<std::uint8_t, 766> gray;
    for (int sum = 0; sum < 766; ++sum) gray[sum] = sum / 3 > 127 ? 255 : 0;
    FilterThroughLuminance(gray);
}

void Grayscale() {
    std::array<std::uint8_t, 766> gray;
    for (int sum = 0; sum < 766; ++sum) gray[sum] = static_cast<std::uint8_t>(sum / 3);
    FilterThroughLuminance(gray);
}

void InvertChannels(ChannelSelector selector) {
    Curve inverted;
    for (int v = 0; v < 256; ++v) inverted[v] = static_cast<std::uint8_t>(255 - v);
    FilterThroughTables(SelectedChannels(selector, inverted));
}

void LogarithmChannels(ChannelSelector selector) {
    Curve curve;
    for (int v = 0; v < 256; ++v) {
        const long double product = 105.88L * std::log10(static_cast<long double>(v + 1));
        curve[v] = static_cast<std::uint8_t>(std::lrint(product));
    }
    FilterThroughTables(SelectedChannels(selector, curve));
}

void AdjustContrast(bool decrease) {
    const long double factor = decrease ? 0.5L : 2.0L;
    const long double offset = decrease ? 64.0L : -128.0L;
    Curve curve;
    for (int v = 0; v < 256; ++v) curve[v] = ClampByte(static_cast<std::int32_t>(v * factor + offset));
    FilterThroughTables({curve, curve, curve});
}

void SwapChannels() {
    PassOverSelectionInPlace([](std::uint8_t* pixel, int count) {
        for (std::uint8_t* const end = pixel + std::size_t{3} * static_cast<std::size_t>(count); pixel != end;
             pixel += 3) {
            const std::uint8_t blue = pixel[0];
            const std::uint8_t green = pixel[1];
            const std::uint8_t red = pixel[2];
            pixel[2] = blue;
            pixel[1] = red;
            pixel[0] = green;
        }
    });
}

void TintedGrayscale(std::int32_t dR, std::int32_t dG, std::int32_t dB) {
    const Curve blueCurve = OffsetCurve(dB);
    const Curve greenCurve = OffsetCurve(dG);
    const Curve redCurve = OffsetCurve(dR);
    std::array<std::uint8_t, 766> blue;
    std::array<std::uint8_t, 766> green;
    std::array<std::uint8_t, 766> red;
    for (int sum = 0; sum < 766; ++sum) {
        blue[sum] = blueCurve[sum / 3];
        green[sum] = greenCurve[sum / 3];
        red[sum] = redCurve[sum / 3];
    }
    FilterThroughLuminanceTones(blue, green, red);
}

}  // namespace quorvane
