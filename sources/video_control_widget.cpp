#include "sources/video_control_widget.h"

#include <QPalette>

#include "platform/qt/colour_grid.h"
#include "platform/services.h"
#include "sources/capture_view.h"

namespace quorvane {

VideoControlWidget::VideoControlWidget(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

void VideoControlWidget::SetColour(TColor colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(colour));
    setPalette(colours);
}

std::unique_ptr<CaptureWindowHost> VideoControlWidget::CreateCaptureHost(CaptureServiceWindow& window) {
    return CreateCaptureViewHost(window, this);
}

void VideoControlWidget::resizeEvent(QResizeEvent*) {
    if (onSize) RunGuarded(onSize);
}

}  // namespace quorvane
