// The window of a scanner source: the device's name, where the paper comes
// from, its mode (colour, gray, line art), resolution and scan area where the
// device offers them, a status line, Scan and Close. Every change goes to the
// device at once and the controls show what the device made of it.
#pragma once

#include <QWidget>

#include <atomic>
#include <functional>

#include "platform/dsm/sane_options.h"

class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quorvane::dsm {

class SourceWindow : public QWidget {
public:
    struct Actions {
        std::function<void()> scan;
        std::function<void()> close;
    };
    SourceWindow(const QString& deviceName, SaneOptions options, PixelTypeMask allowed, Actions actions);

    // While a page is read only Close works; the status line says what
    // happens and the bar follows `percent` (-1: size unknown) until done.
    void SetBusy(const QString& status, const std::atomic<int>& percent);
    void SetDone(const QString& status);
    void ShowStatus(const QString& status);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Refresh();
    void SourceChanged();
    void ModeChanged();
    void ResolutionChanged();
    void AreaChanged();

    SaneOptions options_;
    PixelTypeMask allowed_;
    Actions actions_;
    QFormLayout* form_;
    QComboBox* source_;
    QComboBox* mode_;
    QComboBox* resolution_;
    QDoubleSpinBox* area_[4];
    QLabel* areaLabel_;
    QLabel* status_;
    QProgressBar* progress_;
    QTimer* progressTimer_;
    QPushButton* scan_;
    QPushButton* close_;
};

}  // namespace quorvane::dsm
