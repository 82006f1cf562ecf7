// The box mean.
#pragma once

#include <cstdint>

namespace quorvane {

// Each pixel of the Selection of ImageBitmap becomes the mean of the
// (2n + 1) x (2n + 1) window around it in the selection as it was before:
// neighbour coordinates are clamped to the selection's edges, so edge pixels
// count more than once, and each channel sum is divided by (2n + 1)^2,
// truncating. Sums are exact for every radius. A negative radius throws Error.
void Mean(std::int32_t n);

}  // namespace quorvane
