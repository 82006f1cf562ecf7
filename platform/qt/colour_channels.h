// The colour control group of the palette dialog and the retouch window:
// three 0..255 channel scroll bars, the value beside each, and a swatch of
// the colour they make.
#pragma once

#include "platform/bitmap.h"

class QFrame;
class QLabel;

namespace quorvane {

class TScrollBar;

struct ColourChannels {
    QFrame* shape;
    TScrollBar* red;
    TScrollBar* green;
    TScrollBar* blue;
    QLabel* redValue;
    QLabel* greenValue;
    QLabel* blueValue;

    TColor Colour() const;
    // Moves the bars; each bar that really moves runs its change handler.
    void SetColour(TColor colour) const;
    // After the bar of a channel (0 red, 1 green, 2 blue) moved: the swatch
    // shows the colour, the channel's label its value.
    void Show(int channel) const;
};

// A swatch frame filled with a colour.
void FillShape(QFrame* shape, TColor colour);

}  // namespace quorvane
