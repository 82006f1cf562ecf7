// The feather blend: the selection fades into a colour toward its edges.
#pragma once

#include "platform/bitmap.h"

namespace quorvane {

// Blends the Selection of ImageBitmap with `colour` (red in the lowest byte).
// With a = W div 2, b = H div 2 and d the distance
// sqrt((x - a)^2 / a^2 + (y - b)^2 / b^2) formed in extended precision and
// held as a double: pixels with d > 1 take the colour; the others, with
// t = 1 - d held as a double, have each channel v with colour channel k
// become trunc(k * (1 - t) + v * t), formed in extended precision. A
// selection one pixel wide or high has a zero semi-axis and throws
// Error("Invalid floating point operation") before anything is written back.
void Feather(TColor colour);

}  // namespace quorvane
