// A 4 x 4 grid of the sixteen standard colours, cells numbered 0..15 row by
// row from the top left. A left click makes a cell the current (foreground)
// cell; there is no background cell. OnChange runs whenever the current cell
// really changes, chosen by the user or set by code.
#pragma once

#include <QColor>
#include <QWidget>
#include <array>
#include <functional>

#include "platform/bitmap.h"

namespace quorvane {

// A colour value (red in the lowest byte) as Qt's colour.
inline QColor ToQColor(TColor colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

class TColorGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 4;
    static constexpr int CellCount = 16;
    // Entries 0 to 7 and 12 to 19 of the platform's default 20-colour palette.
    static constexpr std::array<TColor, CellCount> CellColours = {
        RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
    };

    explicit TColorGrid(QWidget* parent = nullptr);

    int ForegroundIndex() const { return foregroundIndex_; }
    TColor ForegroundColor() const { return CellColours[static_cast<std::size_t>(foregroundIndex_)]; }
    // Throws std::out_of_range for an index outside 0..15.
    void SetForegroundIndex(int index);

    // The cell under a point of the widget, or -1 outside the cells.
    int CellAt(QPoint point) const;
    QRect CellRect(int index) const;

    // Runs with the grid as sender; an error it throws reaches the code that
    // set the index, after a click the error box shows it.
    std::function<void(QObject*)> OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int foregroundIndex_ = 0;
};

}  // namespace quorvane
