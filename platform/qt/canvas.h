// A form's client area: a back buffer the size of the area, drawn into by the
// form and only shown by paint events, so what it shows can also be sampled.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace quorvane {

class Canvas : public QWidget {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);

    // Gives the area (and its buffer) a fixed size.
    void SetClientSize(int width, int height);
    QImage& Buffer() { return buffer_; }
    const QImage& Buffer() const { return buffer_; }

    // Mouse events in client coordinates.
    std::function<void(Qt::MouseButton, int, int)> onMouseDown;
    std::function<void(Qt::MouseButton, int, int)> onMouseUp;
    std::function<void(int, int)> onMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage buffer_;
};

}  // namespace quorvane
