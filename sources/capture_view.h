// The screen side of a capture window: a child widget that paints the
// window's current frame (stretched to the widget when the window scales) and
// runs its preview timer on the user-interface thread.
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>

#include "platform/capture/capture_window.h"

namespace quorvane {

class CaptureView : public QWidget {
    Q_OBJECT
public:
    CaptureView(CaptureServiceWindow& window, QWidget* parent);

    void SetFrameTimer(int periodMilliseconds);
    // The capture window is going away: stop, hide, and leave Qt to delete
    // the widget once the current event (perhaps this widget's own timer) is over.
    void Detach();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FrameTimerTimeout();

    CaptureServiceWindow* window_;
    QTimer frameTimer_;
};

// A host that shows the capture window as a CaptureView inside `parent`.
std::unique_ptr<CaptureWindowHost> CreateCaptureViewHost(CaptureServiceWindow& window, QWidget* parent);

}  // namespace quorvane
