// The retouch brushes and the eyedropper: pure functions over a picture and
// the tool settings, one call per mouse event.
//
// A spot of size s around (x, y) is every pixel within distance s of it
// (distance in double precision). The weight of a pixel falls linearly from
// the full amount at the centre to 0 at the rim, so rim pixels keep their
// colour. Pixels outside the picture are not written; reading one gives white.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace quorvane {

struct BrushSettings {
    TColor colour = RGB(0, 0, 0);  // the current colour
    int size = 10;                 // the spot's radius, 1..20
    int strength = 10;             // the airbrush's opacity, 1..strengthMaximum
    int strengthMaximum = 20;      // the opacity at which the centre takes the colour exactly
};

// Blends the current colour into the spot: each channel becomes
// trunc(c * w + p * (1 - w)) with w = (1 - d / s) * strength / maximum.
// A size below 1 or a maximum below 1 paints nothing.
void AirbrushDab(Bitmap& picture, const BrushSettings& settings, std::int32_t x, std::int32_t y);

// Adds `amount`, fading to 0 at the rim, to every channel of the spot of
// radius `size`: trunc(p + (1 - d / s) * amount), clamped to 0..255. Positive
// amounts lighten, negative ones darken. A size below 1 changes nothing.
void ShadeDab(Bitmap& picture, int size, std::int32_t x, std::int32_t y, std::int32_t amount);

// The colour of pixel (x, y); white outside the picture.
TColor PickColor(const Bitmap& picture, std::int32_t x, std::int32_t y);

}  // namespace quorvane
