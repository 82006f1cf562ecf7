// The retouch window's size rule: the picture at its natural size in a panel
// with an 8-pixel margin, beside 160 pixels of controls; the client is 453
// high, or 48 higher than the picture from a picture 417 high on.
#pragma once

namespace quorvane {

struct Extent {
    int width = 0;
    int height = 0;
    bool operator==(const Extent&) const = default;
};

inline constexpr int RetouchControlsWidth = 160;
inline constexpr int RetouchMinimumClientHeight = 453;
inline constexpr int ImagePanelMargin = 8;

constexpr Extent RetouchClientSize(Extent picture) {
    return {picture.width + RetouchControlsWidth,
            picture.height < 417 ? RetouchMinimumClientHeight : picture.height + 48};
}

constexpr Extent ImagePanelSize(Extent picture) {
    return {picture.width + 2 * ImagePanelMargin, picture.height + 2 * ImagePanelMargin};
}

}  // namespace quorvane
