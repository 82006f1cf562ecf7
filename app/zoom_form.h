// The zoom window: a small tool window that stays on top and shows the
// loupe's picture, the main window's screen around the pointer doubled. It
// has no close box and draws nothing itself; the main window paints into its
// client area on every mouse move.
#pragma once

#include <QWidget>

#include "platform/qt/canvas.h"

namespace quorvane {

class TZoomForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 157;
    static constexpr int ClientHeight = 117;

    explicit TZoomForm(QWidget* parent = nullptr);

    Canvas* ClientArea() const { return canvas_; }

private:
    Canvas* canvas_;
};

extern TZoomForm* ZoomForm;

}  // namespace quorvane
