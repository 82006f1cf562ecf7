#include "platform/dsm/source_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/qt/form_controls.h"
#include "sources/twain.h"

namespace quorvane::dsm {
namespace {

constexpr const char* AreaOptions[] = {SANE_NAME_SCAN_TL_X, SANE_NAME_SCAN_TL_Y, SANE_NAME_SCAN_BR_X,
                                       SANE_NAME_SCAN_BR_Y};
constexpr const char* AreaNames[] = {"left", "top", "right", "bottom"};
constexpr std::pair<int, const char*> Modes[] = {{TWPT_RGB, "Colour"}, {TWPT_GRAY, "Gray"}, {TWPT_BW, "Line art"}};
constexpr double CommonResolutions[] = {50, 75, 100, 150, 200, 300, 400, 600, 1200, 2400, 4800};

// The resolutions to offer: the device's list, or the common ones its range holds.
std::vector<double> Resolutions(const NumberChoice& choice) {
    std::vector<double> values = choice.list;
    if (values.empty())
        for (double value : CommonResolutions)
            if (value >= choice.minimum && value <= choice.maximum) values.push_back(value);
    if (std::find(values.begin(), values.end(), choice.current) == values.end()) values.push_back(choice.current);
    std::sort(values.begin(), values.end());
    return values;
}

QString AreaCaption(SANE_Unit unit) {
    return unit == SANE_UNIT_PIXEL ? "Scan area (pixels):" : unit == SANE_UNIT_MM ? "Scan area (mm):" : "Scan area:";
}

}  // namespace

SourceWindow::SourceWindow(const QString& deviceName, SaneOptions options, PixelTypeMask allowed, Actions actions)
    : options_(options), allowed_(allowed), actions_(std::move(actions)) {
    setObjectName("SourceWindow");
    setWindowTitle("Scanner - " + deviceName);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    // The program ends when its own windows are closed; this one then closes
    // too, cancelling a page being read.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(qApp, &QGuiApplication::lastWindowClosed, this, [this] { actions_.close(); });
    form_ = new QFormLayout;
    QFormLayout* form = form_;
    form->addRow("Device:", new QLabel(deviceName));
    source_ = new QComboBox;
    mode_ = new QComboBox;
    resolution_ = new QComboBox;
    form->addRow("Paper from:", source_);
    form->addRow("Mode:", mode_);
    form->addRow("Resolution:", resolution_);
    auto* area = new QGridLayout;
    const char* captions[] = {"Left", "Top", "Right", "Bottom"};
    for (int i = 0; i < 4; ++i) {
        area_[i] = new QDoubleSpinBox;
        area_[i]->setObjectName(AreaNames[i]);
        area_[i]->setDecimals(1);
        area_[i]->setKeyboardTracking(false);
        area->addWidget(new QLabel(captions[i]), i / 2, 2 * (i % 2));
        area->addWidget(area_[i], i / 2, 2 * (i % 2) + 1);
        connect(area_[i], &QDoubleSpinBox::valueChanged, this, [this] { AreaChanged(); });
    }
    areaLabel_ = new QLabel;
    form->addRow(areaLabel_, area);
    status_ = new QLabel("Ready.");
    status_->setObjectName("status");
    status_->setWordWrap(true);
    progress_ = new QProgressBar;
    progress_->setObjectName("progress");
    progress_->setTextVisible(false);
    progressTimer_ = new QTimer(this);
    scan_ = new QPushButton("&Scan");
    close_ = new QPushButton("&Close");
    scan_->setObjectName("scan");
    close_->setObjectName("close");
    scan_->setDefault(true);
    source_->setObjectName("source");
    mode_->setObjectName("mode");
    resolution_->setObjectName("resolution");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(scan_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    connect(source_, &QComboBox::activated, this, [this] { SourceChanged(); });
    connect(mode_, &QComboBox::activated, this, [this] { ModeChanged(); });
    connect(resolution_, &QComboBox::activated, this, [this] { ResolutionChanged(); });
    connect(scan_, &QPushButton::clicked, this, [this] { actions_.scan(); });
    connect(close_, &QPushButton::clicked, this, [this] { actions_.close(); });
    Refresh();
    setMinimumWidth(340);
    adjustSize();
    CentreOnScreen(this);
}

void SourceWindow::Refresh() {
    const std::optional<StringChoice> sources = options_.Strings(SANE_NAME_SCAN_SOURCE);
    const QSignalBlocker blockSource(source_), blockMode(mode_), blockResolution(resolution_);
    source_->clear();
    if (sources)
        for (const std::string& value : sources->values) source_->addItem(QString::fromStdString(value));
    if (sources) source_->setCurrentText(QString::fromStdString(sources->current));
    source_->setEnabled(source_->count() > 1);
    form_->setRowVisible(source_, sources.has_value());

    mode_->clear();
    const PixelTypeMask offered = options_.PixelTypes() & allowed_;
    for (const auto& [type, caption] : Modes)
        if ((offered & 1u << type) != 0) mode_->addItem(caption, type);
    mode_->setCurrentIndex(mode_->findData(options_.PixelType()));
    mode_->setEnabled(mode_->count() > 1);

    resolution_->clear();
    if (const std::optional<NumberChoice> resolution = options_.Number(SANE_NAME_SCAN_RESOLUTION)) {
        for (double value : Resolutions(*resolution)) resolution_->addItem(QString("%1 dpi").arg(value), value);
        resolution_->setCurrentIndex(resolution_->findData(resolution->current));
    }
    resolution_->setEnabled(resolution_->count() > 1);
    form_->setRowVisible(resolution_, resolution_->count() > 0);

    areaLabel_->setText("Scan area:");
    bool anyEdge = false;
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker block(area_[i]);
        const std::optional<NumberChoice> edge = options_.Number(AreaOptions[i]);
        area_[i]->setEnabled(edge.has_value() && edge->list.empty());
        if (!edge) continue;
        anyEdge = true;
        area_[i]->setRange(edge->minimum, edge->maximum);
        area_[i]->setValue(edge->current);
        areaLabel_->setText(AreaCaption(edge->unit));
    }
    form_->setRowVisible(areaLabel_, anyEdge);
    scan_->setEnabled(true);
}

// A scanning device may not show its options, so they are read again only
// when it is done.
void SourceWindow::SetBusy(const QString& status, const std::atomic<int>& percent) {
    for (QWidget* control : {static_cast<QWidget*>(source_), static_cast<QWidget*>(mode_),
                             static_cast<QWidget*>(resolution_), static_cast<QWidget*>(scan_)})
        control->setEnabled(false);
    for (QDoubleSpinBox* edge : area_) edge->setEnabled(false);
    ShowStatus(status);
    progressTimer_->disconnect();
    connect(progressTimer_, &QTimer::timeout, this, [this, &percent] {
        const int value = percent;
        progress_->setRange(0, value < 0 ? 0 : 100);
        progress_->setValue(std::max(value, 0));
    });
    progress_->setValue(0);
    progress_->setTextVisible(true);
    progressTimer_->start(100);
}

void SourceWindow::SetDone(const QString& status) {
    progressTimer_->stop();
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    Refresh();
    ShowStatus(status);
}

void SourceWindow::ShowStatus(const QString& status) { status_->setText(status); }

void SourceWindow::SourceChanged() {
    options_.SetString(SANE_NAME_SCAN_SOURCE, source_->currentText().toStdString());
    Refresh();
}

void SourceWindow::ModeChanged() {
    options_.SetPixelType(mode_->currentData().toInt());
    Refresh();
}

void SourceWindow::ResolutionChanged() {
    options_.SetNumber(SANE_NAME_SCAN_RESOLUTION, resolution_->currentData().toDouble());
    Refresh();
}

void SourceWindow::AreaChanged() {
    for (int i = 0; i < 4; ++i)
        if (area_[i]->isEnabled()) options_.SetNumber(AreaOptions[i], area_[i]->value());
    Refresh();
}

// The title bar's close box asks the same as the Close button.
void SourceWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    actions_.close();
}

}  // namespace quorvane::dsm
