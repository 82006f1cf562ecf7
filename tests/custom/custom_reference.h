// The custom filter exactly as described, pixel by pixel and text by text,
// written plainly and independently of the engine: the reference that the
// engine's fast roads must match byte for byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/document.h"
#include "platform/bitmap.h"

namespace quorvane::testing {

// The substituted text: "R1", then "G1", then "B1" replaced in turn.
std::string ReferenceSubstitution(std::string text, int red, int green, int blue);

// A channel's new byte for one pixel, or the message of the error its
// evaluation raises.
struct ReferenceChannel {
    std::uint8_t value = 0;
    std::optional<std::string> error;
};
ReferenceChannel ReferenceChannelValue(const std::string& expression, int red, int green, int blue);

// The image after the pass over `selection` (pixels of the selection outside
// the image are evaluated as black and not written), or the error it raises.
struct ReferencePass {
    Bitmap image;
    std::optional<std::string> error;
};
ReferencePass ReferenceCustomFilter(const Bitmap& image, TRect selection, const std::string& red,
                                    const std::string& green, const std::string& blue);

}  // namespace quorvane::testing
