#include "sources/capture_view.h"

#include <QPainter>

#include "platform/qt/image_conversion.h"
#include "platform/services.h"

namespace quorvane {

namespace {

class CaptureViewHost final : public CaptureWindowHost {
public:
    explicit CaptureViewHost(CaptureView* view) : view_(view) {}
    ~CaptureViewHost() override { view_->Detach(); }

    void SetBounds(int x, int y, int width, int height) override { view_->setGeometry(x, y, width, height); }
    void SetVisible(bool visible) override { view_->setVisible(visible); }
    void SetFrameTimer(int periodMilliseconds) override { view_->SetFrameTimer(periodMilliseconds); }
    void Repaint() override { view_->update(); }

private:
    CaptureView* view_;
};

}  // namespace

CaptureView::CaptureView(CaptureServiceWindow& window, QWidget* parent) : QWidget(parent), window_(&window) {
    setObjectName(QString::fromStdString(window.Name()));
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&frameTimer_, &QTimer::timeout, this, &CaptureView::FrameTimerTimeout);
}

void CaptureView::SetFrameTimer(int periodMilliseconds) {
    if (periodMilliseconds > 0)
        frameTimer_.start(periodMilliseconds);
    else
        frameTimer_.stop();
}

void CaptureView::Detach() {
    frameTimer_.stop();
    window_ = nullptr;
    hide();
    deleteLater();
}

void CaptureView::FrameTimerTimeout() {
    if (window_ != nullptr) RunGuarded([this] { window_->FrameTimer(); });
}

void CaptureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (window_ == nullptr || window_->Frame().Empty()) return;
    const Bitmap& frame = window_->Frame();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect target = window_->Scaling() ? rect() : QRect(0, 0, frame.Width(), frame.Height());
    painter.drawImage(target, WrapBitmap(frame));
}

std::unique_ptr<CaptureWindowHost> CreateCaptureViewHost(CaptureServiceWindow& window, QWidget* parent) {
    return std::make_unique<CaptureViewHost>(new CaptureView(window, parent));
}

}  // namespace quorvane
