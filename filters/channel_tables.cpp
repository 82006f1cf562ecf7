#include "filters/channel_tables.h"

#include "filters/frame.h"

namespace quorvane {

ChannelTables::Curve ChannelTables::Identity() {
    Curve curve;
    for (int v = 0; v < 256; ++v) curve[v] = static_cast<std::uint8_t>(v);
    return curve;
}

ChannelTables ChannelTables::Unchanged() {
    const Curve identity = Identity();
    return {identity, identity, identity};
}

void ApplyToWork(const ChannelTables& tables) {
    PassOverWork([&tables](std::uint8_t* row, int width) {
        for (std::uint8_t* pixel = row; pixel != row + 3 * width; pixel += 3) {
            pixel[0] = tables.blue[pixel[0]];
            pixel[1] = tables.green[pixel[1]];
            pixel[2] = tables.red[pixel[2]];
        }
    });
}

}  // namespace quorvane
