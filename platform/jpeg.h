// JPEG files through libjpeg.
//
// Decoding runs at full scale with libjpeg's default (accurate) settings into
// 24-bit colour; a grayscale JPEG gives three equal channels, CMYK and YCCK are
// converted to RGB. Encoding uses jpeg_set_defaults and quality 90 with
// baseline forced, colour, sequential, and no markers besides the default JFIF
// header. Bad or truncated data gives an Error saying what is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/bitmap.h"

namespace quorvane {

Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size);
Bitmap ReadJpegFile(const std::string& path);

// The file is replaced only when the whole write succeeded.
void WriteJpegFile(const Bitmap& image, const std::string& path);

}  // namespace quorvane
