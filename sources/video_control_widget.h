// The window of a TVideo in the editor: a plain widget in the control's
// colour whose children are the capture windows.
#pragma once

#include <QWidget>

#include "sources/video.h"

namespace quorvane {

class VideoControlWidget : public QWidget, public VideoControlWindow {
    Q_OBJECT
public:
    explicit VideoControlWidget(QWidget* parent = nullptr);

    int Width() const override { return width(); }
    int Height() const override { return height(); }
    void SetSize(int width, int height) override { resize(width, height); }
    void SetColour(TColor colour) override;
    void Invalidate() override { update(); }
    std::unique_ptr<CaptureWindowHost> CreateCaptureHost(CaptureServiceWindow& window) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace quorvane
