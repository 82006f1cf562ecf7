// One lookup table per channel: the fast form of a filter whose channels
// each map through their own curve.
#pragma once

#include <array>
#include <cstdint>

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

// Maps every pixel of WorkBitmap through the tables, one pass.
void ApplyToWork(const ChannelTables& tables);

}  // namespace quorvane
