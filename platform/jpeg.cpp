#include "platform/jpeg.h"

#include "platform/error.h"

namespace quorvane {

Bitmap DecodeJpeg(const std::uint8_t*, std::size_t) { throw Error("JPEG decoding is not available"); }
Bitmap ReadJpegFile(const std::string&) { throw Error("JPEG decoding is not available"); }
void WriteJpegFile(const Bitmap&, const std::string&) { throw Error("JPEG encoding is not available"); }

}  // namespace quorvane
