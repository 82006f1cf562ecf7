// A scroll bar with the habits the forms rely on: a position set outside the
// range is clamped to it, OnChange runs only when the position really changes
// (moved by the user or set by code), and a range whose maximum lies below its
// minimum is refused with Error("Scrollbar property out of range").
#pragma once

#include <QScrollBar>
#include <functional>

namespace quorvane {

class TScrollBar : public QScrollBar {
    Q_OBJECT
public:
    // Range 0..100, position 0, small and large step 1.
    explicit TScrollBar(QWidget* parent = nullptr, Qt::Orientation orientation = Qt::Horizontal);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Position() const { return value(); }

    // A range change clamps the position into the new range.
    void SetMin(int min);
    void SetMax(int max);
    void SetPosition(int position);
    void SetLargeChange(int step) { setPageStep(step); }

    // Runs with the scroll bar as sender. An error it throws reaches the code
    // that set the position; after a move by the user the error box shows it.
    std::function<void(QObject*)> OnChange;

private:
    template <typename Step>
    void ChangeQuietly(Step&& step);
    void Change();
};

}  // namespace quorvane
