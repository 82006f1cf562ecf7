#include "platform/qt/image_conversion.h"

#include <algorithm>
#include <cstring>

namespace quorvane {

QImage WrapBitmap(const Bitmap& bitmap) {
    if (bitmap.Empty() || !bitmap.HasPixels()) return {};
    return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), static_cast<qsizetype>(bitmap.Stride()),
                  QImage::Format_BGR888);
}

void DrawBitmapInto(const Bitmap& bitmap, QImage& target) {
    if (bitmap.Empty() || !bitmap.HasPixels()) return;
    const int width = std::min(bitmap.Width(), target.width());
    const int height = std::min(bitmap.Height(), target.height());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = bitmap.ScanLine(y);
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < width; ++x, from += Bitmap::BytesPerPixel)
            to[x] = 0xff000000u | QRgb{from[2]} << 16 | QRgb{from[1]} << 8 | from[0];
    }
}

Bitmap BitmapFromImage(const QImage& image) {
    Bitmap bitmap(image.width(), image.height());
    const QImage converted = image.convertToFormat(QImage::Format_BGR888);
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * Bitmap::BytesPerPixel;
    for (int y = 0; y < bitmap.Height(); ++y) std::memcpy(bitmap.ScanLine(y), converted.constScanLine(y), rowBytes);
    return bitmap;
}

}  // namespace quorvane
