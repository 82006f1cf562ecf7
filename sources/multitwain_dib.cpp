#include "sources/multitwain_dib.h"

#include <algorithm>

#include "platform/bmp.h"
#include "platform/error.h"
#include "sources/multitwain_dib_header.h"

namespace quorvane {
namespace {

DibHeader HeaderOf(BlockHandle image) {
    const BlockLock lock(image);
    return ReadDibHeader(lock.Data(), lock.Size()).value_or(DibHeader{});
}

// The image as a picture with row 0 at the top. Throws Error for an image
// that is not a whole DIB; nothing when the block cannot be locked.
std::optional<Bitmap> DecodeImage(BlockHandle image) {
    const BlockLock lock(image);
    if (!lock) return std::nullopt;
    const std::optional<DibHeader> header = ReadDibHeader(lock.Data(), lock.Size());
    if (!header) throw Error("The scanned image is not a device-independent bitmap");
    if (header->pixelOffset > lock.Size()) throw Error("The scanned image is truncated: pixel rows missing");
    return DecodeDib(lock.Data(), lock.Size(), static_cast<std::size_t>(header->pixelOffset));
}

}  // namespace

std::int32_t DIB_Width(BlockHandle image) { return HeaderOf(image).width; }
std::int32_t DIB_Height(BlockHandle image) { return HeaderOf(image).height; }
int DIB_BitCount(BlockHandle image) { return HeaderOf(image).bitCount; }
int DIB_ColorCount(BlockHandle image) { return HeaderOf(image).colorCount; }

void DIB_Draw(Bitmap& target, int x, int y, int width, int height, BlockHandle image, int sourceX, int sourceY) {
    const std::optional<Bitmap> picture = DecodeImage(image);
    if (!picture) return;
    const int left = std::max({0, sourceX, sourceX - x});
    const int top = std::max({0, sourceY, sourceY - y});
    const int right = std::min({picture->Width(), sourceX + width, sourceX - x + target.Width()});
    const int bottom = std::min({picture->Height(), sourceY + height, sourceY - y + target.Height()});
    for (int row = top; row < bottom; ++row)
        for (int column = left; column < right; ++column)
            target.SetPixel(column - sourceX + x, row - sourceY + y, picture->Pixel(column, row));
}

void DIB_CopyToImage(BlockHandle image, PictureHolder& holder) {
    std::optional<Bitmap> picture = DecodeImage(image);
    holder.Picture = picture ? std::move(*picture) : Bitmap(DIB_Width(image), DIB_Height(image));
}

}  // namespace quorvane
