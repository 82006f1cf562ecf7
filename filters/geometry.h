// The geometric transforms: pixels move, colours stay (Reflection averages
// each pixel with its mirror partner). Apart from the crop they work on the
// whole of ImageBitmap whatever is selected, and all of them end with the
// whole image selected. None takes an undo snapshot or repaints.
#pragma once

#include <cstdint>

namespace quorvane {

// Direction 0: pixel (x, y) goes to (W - 1 - x, y); direction 1: to
// (x, H - 1 - y). Busy cursor; PixelX and PixelY end at W and H.
void MirrorImage(std::int32_t direction);

// Every pixel becomes the channel-wise mean, rounded down, of itself and its
// partner: (W - 1 - x, y) for direction 0, (x, H - 1 - y) for direction 1.
// Selects all first. Busy cursor; PixelX and PixelY end at W and H.
void ReflectImage(std::int32_t direction);

// Direction 0 turns the image a quarter counter-clockwise, (x, y) going to
// (y, W - 1 - x); direction 1 clockwise, (x, y) going to (H - 1 - y, x).
// The result is H wide and W high. Busy cursor.
void RotateImage(std::int32_t direction);

// The image becomes the Selection's inclusive rectangle, copied one to one
// through WorkBitmap; parts of the selection beyond the image take
// OutsideImageColour. WorkBitmap's pixels are released afterwards.
void CropImage();

// Scales the whole image to width x height by nearest neighbour: target
// column x takes source column ((2x + 1) * W) div (2 * width), the source
// column under the target pixel's centre, and rows likewise, so nothing is
// blended. A zero size leaves an empty image.
void ResizeImage(std::int32_t width, std::int32_t height);

// The Resize dialog's OK between its undo snapshot and its repaint:
// ResizeImage(width, height), then, when `pseudoInterpolation` is asked for
// and the image grows in either direction against oldWidth x oldHeight (the
// size the dialog was opened with), one 3 x 3 mean pass over the whole image,
// Mean(1), to soften the repeated pixels.
void ResizeWithPseudoInterpolation(std::int32_t width, std::int32_t height, std::int32_t oldWidth,
                                   std::int32_t oldHeight, bool pseudoInterpolation);

}  // namespace quorvane
