#include "platform/qt/image_conversion.h"

#include <cstring>

namespace quorvane {

QImage WrapBitmap(const Bitmap& bitmap) {
    if (bitmap.Empty() || !bitmap.HasPixels()) return {};
    return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), static_cast<qsizetype>(bitmap.Stride()),
                  QImage::Format_BGR888);
}

Bitmap BitmapFromImage(const QImage& image) {
    Bitmap bitmap(image.width(), image.height());
    const QImage converted = image.convertToFormat(QImage::Format_BGR888);
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * Bitmap::BytesPerPixel;
    for (int y = 0; y < bitmap.Height(); ++y) std::memcpy(bitmap.ScanLine(y), converted.constScanLine(y), rowBytes);
    return bitmap;
}

}  // namespace quorvane
