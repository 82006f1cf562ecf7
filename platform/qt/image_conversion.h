// Passing pictures between our Bitmap and Qt's QImage.
#pragma once

#include <QImage>

#include "platform/bitmap.h"

namespace quorvane {

// A QImage that shows the bitmap's own pixels, without copying them. Valid
// while the bitmap keeps its storage and size.
QImage WrapBitmap(const Bitmap& bitmap);

// Copies the bitmap into the top-left corner of a Format_RGB32 image, in one
// pass over its rows; what does not fit is dropped.
void DrawBitmapInto(const Bitmap& bitmap, QImage& target);

// The picture as a 24-bit Bitmap (alpha is dropped).
Bitmap BitmapFromImage(const QImage& image);

}  // namespace quorvane
