#include "platform/qt/colour_channels.h"

#include <QFrame>
#include <QLabel>

#include "platform/qt/colour_grid.h"
#include "platform/qt/scroll_bar.h"

namespace quorvane {

TColor ColourChannels::Colour() const {
    return RGB(static_cast<std::uint8_t>(red->Position()), static_cast<std::uint8_t>(green->Position()),
               static_cast<std::uint8_t>(blue->Position()));
}

void ColourChannels::SetColour(TColor colour) const {
    red->SetPosition(RedOf(colour));
    green->SetPosition(GreenOf(colour));
    blue->SetPosition(BlueOf(colour));
}

void ColourChannels::Show(int channel) const {
    FillShape(shape, Colour());
    const TScrollBar* bars[] = {red, green, blue};
    QLabel* values[] = {redValue, greenValue, blueValue};
    values[channel]->setText(QString::number(bars[channel]->Position()));
}

void FillShape(QFrame* shape, TColor colour) {
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    palette.setColor(QPalette::WindowText, Qt::black);
    shape->setPalette(palette);
}

}  // namespace quorvane
