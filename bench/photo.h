// A photo-like test picture for the benchmarks: smooth light and colour
// gradients, hard-edged shapes, sensor-like noise and a band of fine texture,
// so that a codec meets the mix of flat areas, edges and detail a real photo
// gives it: 2.6 bits a pixel at quality 90, near what camera photos take.
// The same size always gives the same picture.
#pragma once

#include "platform/bitmap.h"

namespace quorvane {

Bitmap MakePhoto(int width, int height);

// The in-process benchmarks' 24-megapixel photo, made on first use.
inline constexpr int PhotoWidth = 6000;
inline constexpr int PhotoHeight = 4000;
const Bitmap& Photo();

}  // namespace quorvane
