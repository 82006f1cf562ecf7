#include "platform/qt/canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorvane {

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    SetClientSize(0, 0);
}

void Canvas::SetClientSize(int width, int height) {
    if (buffer_.width() != width || buffer_.height() != height || buffer_.isNull())
        buffer_ = QImage(width, height, QImage::Format_RGB32);
    setFixedSize(width, height);
}

void Canvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), buffer_, event->rect());
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) onMouseDown(event->button(), event->position().toPoint().x(), event->position().toPoint().y());
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp) onMouseUp(event->button(), event->position().toPoint().x(), event->position().toPoint().y());
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

}  // namespace quorvane
