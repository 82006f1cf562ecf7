#include "platform/bmp.h"

#include "platform/error.h"

namespace quorvane {

Bitmap DecodeBmp(const std::uint8_t*, std::size_t) { throw Error("BMP decoding is not available"); }
Bitmap DecodeDib(const std::uint8_t*, std::size_t, std::optional<std::size_t>) {
    throw Error("BMP decoding is not available");
}
Bitmap ReadBmpFile(const std::string&) { throw Error("BMP decoding is not available"); }
void WriteBmpFile(const Bitmap&, const std::string&) { throw Error("BMP encoding is not available"); }

}  // namespace quorvane
