#include "platform/qt/colour_grid.h"

#include <QMouseEvent>
#include <QPainter>
#include <stdexcept>

#include "platform/services.h"

namespace quorvane {

namespace {

constexpr int Rows = TColorGrid::CellCount / TColorGrid::Columns;

// Black on light cells, white on dark ones.
QColor MarkColour(TColor colour) {
    return ToQColor(colour).lightness() > 127 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

TColorGrid::TColorGrid(QWidget* parent) : QWidget(parent) {}

void TColorGrid::SetForegroundIndex(int index) {
    if (index < 0 || index >= CellCount) throw std::out_of_range("colour grid index out of range");
    if (index == foregroundIndex_) return;
    foregroundIndex_ = index;
    update();
    if (OnChange) OnChange(this);
}

QRect TColorGrid::CellRect(int index) const {
    const int column = index % Columns;
    const int row = index / Columns;
    const int left = column * width() / Columns;
    const int top = row * height() / Rows;
    return QRect(QPoint(left, top), QPoint((column + 1) * width() / Columns - 1, (row + 1) * height() / Rows - 1));
}

int TColorGrid::CellAt(QPoint point) const {
    for (int index = 0; index < CellCount; ++index)
        if (CellRect(index).contains(point)) return index;
    return -1;
}

void TColorGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int index = 0; index < CellCount; ++index) {
        const QRect cell = CellRect(index);
        const TColor colour = CellColours[static_cast<std::size_t>(index)];
        painter.fillRect(cell, ToQColor(colour));
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (index == foregroundIndex_) {
            painter.setPen(MarkColour(colour));
            painter.drawRect(cell.adjusted(2, 2, -3, -3));
        }
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event) {
    const int index = CellAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0) return;
    RunGuarded([&] { SetForegroundIndex(index); });
}

}  // namespace quorvane
