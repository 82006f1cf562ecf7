// One lookup table per channel: the fast form of a filter whose channels
// each map through their own curve.
#pragma once

#include <array>
#include <cstdint>

#include "filters/frame.h"

namespace quorvane {

struct ChannelTables {
    using Curve = std::array<std::uint8_t, 256>;
    Curve blue;
    Curve green;
    Curve red;

    static Curve Identity();
    // Tables that leave every pixel as it is.
    static ChannelTables Unchanged();
};

// Maps every pixel of the selection inside ImageBitmap through the tables,
// in place, one pass.
void ApplyToSelection(const InPlaceFrame& frame, const ChannelTables& tables);

}  // namespace quorvane
