#include "filters/sharpness.h"

#include "filters/frame.h"
#include "filters/luminance_plane.h"

namespace quorvane {

namespace {

// trunc((luminance - mean) * gain + value) for the gains 2 and -0.5, in
// integers: both are exact, and C++ division truncates toward zero as trunc does.
std::uint8_t Sharpened(int luminance, int mean, int value, bool decrease) {
    const int difference = luminance - mean;
    return ClampByte(decrease ? (2 * value - difference) / 2 : 2 * difference + value);
}

}  // namespace

void AdjustSharpness(bool decrease) {
    FilterFrame frame;
    {
        const LuminancePlane plane;
        PassOverNeighbourhoods(plane, [decrease](std::uint8_t* pixel, const std::uint8_t* above,
                                                 const std::uint8_t* here, const std::uint8_t* below, int x) {
            const int mean = (above[x - 1] + above[x] + above[x + 1] + here[x - 1] + here[x + 1] + below[x - 1] +
                              below[x] + below[x + 1]) /
                             8;
            const int red = pixel[2];
            const int green = pixel[1];
            const int blue = pixel[0];
            pixel[2] = Sharpened(Luminance(pixel), mean, red, decrease);
            pixel[1] = Sharpened(Luminance(pixel), mean, green, decrease);
            pixel[0] = Sharpened(Luminance(pixel), mean, blue, decrease);
        });
    }
    frame.WriteBack();
}

}  // namespace quorvane
