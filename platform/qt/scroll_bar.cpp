#include "platform/qt/scroll_bar.h"

#include <QApplication>
#include <QProxyStyle>
#include <QSignalBlocker>

#include "platform/error.h"
#include "platform/services.h"

namespace quorvane {

namespace {

void CheckRange(int min, int max) {
    if (max < min) throw Error("Scrollbar property out of range");
}

// The application's style with a square thumb of the bar's thickness, as the
// forms' scroll bars have, in place of a thumb sized by the page step: on
// the forms' short bars a long thumb would leave it almost no way to travel.
class SquareThumbStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const auto* bar = qobject_cast<const QScrollBar*>(widget);
        if (metric != PM_ScrollBarSliderMin || bar == nullptr)
            return QProxyStyle::pixelMetric(metric, option, widget);
        return bar->orientation() == Qt::Horizontal ? bar->height() : bar->width();
    }
};

QStyle* ScrollBarStyle() {
    static QStyle* const style = [] {
        auto* created = new SquareThumbStyle(QApplication::style()->name());
        created->setParent(qApp);
        return created;
    }();
    return style;
}

}  // namespace

TScrollBar::TScrollBar(QWidget* parent, Qt::Orientation orientation) : QScrollBar(orientation, parent) {
    setStyle(ScrollBarStyle());
    setRange(0, 100);
    setSingleStep(1);
    setPageStep(1);
    connect(this, &QAbstractSlider::valueChanged, this, [this] { RunGuarded([this] { Change(); }); });
}

void TScrollBar::SetMin(int min) {
    CheckRange(min, Max());
    ChangeQuietly([&] { setMinimum(min); });
}

void TScrollBar::SetMax(int max) {
    CheckRange(Min(), max);
    ChangeQuietly([&] { setMaximum(max); });
}

void TScrollBar::SetPosition(int position) {
    ChangeQuietly([&] { setValue(position); });
}

// Code-made changes call the handler directly, outside Qt's signal, so that
// an error it throws reaches the caller.
template <typename Step>
void TScrollBar::ChangeQuietly(Step&& step) {
    const int before = Position();
    {
        const QSignalBlocker blocker(this);
        step();
    }
    if (Position() != before) Change();
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

}  // namespace quorvane
