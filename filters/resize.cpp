#include "filters/resize.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "app/main_form.h"
#include "filters/geometry.h"
#include "platform/error.h"
#include "platform/qt/form_controls.h"
#include "platform/qt/scroll_bar.h"
#include "platform/services.h"

namespace quorvane {

TResizeForm* ResizeForm = nullptr;

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, const QRect& geometry) {
    return Place(new QLabel(text, parent), name, geometry);
}

QPushButton* AddButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
    return Place(new QPushButton(caption, parent), name, geometry);
}

// A check box whose click handler runs on every change of its state, made by
// the user or by code.
QCheckBox* AddCheckBox(TResizeForm* form, QWidget* parent, const char* name, const char* caption, int top) {
    auto* checkBox = Place(new QCheckBox(caption, parent), name, QRect(12, top, 320, 20));
    QObject::connect(checkBox, &QCheckBox::toggled, form,
                     [form, checkBox] { RunGuarded([&] { form->RatioCheckBoxClick(checkBox); }); });
    return checkBox;
}

TScrollBar* AddSizeScrollBar(QWidget* parent, const char* name, int top) {
    auto* scrollBar = Place(new TScrollBar(parent), name, QRect(92, top, 190, 17));
    scrollBar->SetMax(2500);
    scrollBar->SetMin(10);
    scrollBar->SetLargeChange(100);
    return scrollBar;
}

int ToInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX)); }

}  // namespace

TResizeForm::TResizeForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ResizeForm");
    setWindowTitle("Resize");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(360, 292);

    auto* properties = new QGroupBox("Properties", this);
    properties->setObjectName("GroupBox1");
    properties->setGeometry(8, 8, 344, 240);
    AddLabel(properties, "", "Width:", QRect(12, 22, 76, 16));
    WidthLabel = AddLabel(properties, "WidthLabel", "0", QRect(92, 22, 60, 16));
    AddLabel(properties, "", "Height:", QRect(172, 22, 70, 16));
    HeightLabel = AddLabel(properties, "HeightLabel", "0", QRect(246, 22, 60, 16));
    RatioCheckBox = AddCheckBox(this, properties, "RatioCheckBox", "&Preserve aspect ratio", 44);
    InterpolationCheckBox =
        AddCheckBox(this, properties, "InterpolationCheckBox", "&Use pseudo interpolation when upsizing", 66);
    {
        const QSignalBlocker quiet(InterpolationCheckBox);
        InterpolationCheckBox->setChecked(true);
    }
    AddLabel(properties, "", "New width:", QRect(12, 96, 78, 16));
    WidthScrollBar = AddSizeScrollBar(properties, "WidthScrollBar", 95);
    NewWidthLabel = AddLabel(properties, "NewWidthLabel", "0000", QRect(290, 96, 46, 16));
    AddLabel(properties, "", "New height:", QRect(12, 122, 78, 16));
    HeightScrollBar = AddSizeScrollBar(properties, "HeightScrollBar", 121);
    NewHeightLabel = AddLabel(properties, "NewHeightLabel", "0000", QRect(290, 122, 46, 16));
    WidthScrollBar->OnChange = [this](QObject* sender) { WidthScrollBarChange(sender); };
    HeightScrollBar->OnChange = [this](QObject* sender) { HeightScrollBarChange(sender); };

    AddLabel(properties, "", "Standard sizes", QRect(12, 150, 200, 16));
    const struct {
        const char* name;
        const char* caption;
        void (TResizeForm::*handler)(QObject*);
    } sizes[] = {
        {"Button1", "&320 X 240", &TResizeForm::Button1Click},   {"Button2", "&640 X 480", &TResizeForm::Button2Click},
        {"Button3", "&800 X 600", &TResizeForm::Button3Click},   {"Button4", "&1024 X 768", &TResizeForm::Button4Click},
        {"Button5", "11&52 X 864", &TResizeForm::Button5Click},  {"Button6", "1&280 X 1024", &TResizeForm::Button6Click},
    };
    QPushButton** buttons[] = {&Button1, &Button2, &Button3, &Button4, &Button5, &Button6};
    for (int i = 0; i < 6; ++i) {
        QPushButton* button = AddButton(properties, sizes[i].name, sizes[i].caption,
                                        QRect(12 + 108 * (i % 3), 172 + 32 * (i / 3), 102, 26));
        OnClick(button, this, sizes[i].handler);
        *buttons[i] = button;
    }

    OKButton = AddButton(this, "OKButton", "&OK", QRect(176, 258, 84, 26));
    OKButton->setToolTip("OK");
    CancelButton = AddButton(this, "CancelButton", "&Cancel", QRect(268, 258, 84, 26));
    CancelButton->setToolTip("Cancel");
    OnClick(OKButton, this, &TResizeForm::OKButtonClick);
    OnClick(CancelButton, this, &TResizeForm::CancelButtonClick);
}

int TResizeForm::OldWidth() const { return WidthLabel->text().toInt(); }
int TResizeForm::OldHeight() const { return HeightLabel->text().toInt(); }

int TResizeForm::ScaledToOldRatio(int value) const {
    if (OldWidth() == 0) throw Error("Division by zero");
    return ToInt(std::int64_t{OldHeight()} * value / OldWidth());
}

void TResizeForm::Open(int imageWidth, int imageHeight) {
    WidthLabel->setText(QString::number(imageWidth));
    WidthScrollBar->SetPosition(imageWidth);
    HeightLabel->setText(QString::number(imageHeight));
    HeightScrollBar->SetPosition(imageHeight);
    show();
    raise();
    activateWindow();
}

void TResizeForm::FormActivate(QObject*) { HeightScrollBar->SetMax(ScaledToOldRatio(WidthScrollBar->Max())); }

void TResizeForm::WidthScrollBarChange(QObject*) {
    NewWidthLabel->setText(QString::number(WidthScrollBar->Position()));
    if (RatioCheckBox->isChecked()) HeightScrollBar->SetPosition(ScaledToOldRatio(WidthScrollBar->Position()));
}

void TResizeForm::HeightScrollBarChange(QObject*) { NewHeightLabel->setText(QString::number(HeightScrollBar->Position())); }

void TResizeForm::RatioCheckBoxClick(QObject*) {
    if (RatioCheckBox->isChecked()) {
        HeightScrollBar->hide();
        HeightScrollBar->SetPosition(ScaledToOldRatio(WidthScrollBar->Position()));
    } else {
        HeightScrollBar->show();
    }
}

void TResizeForm::ChooseStandardSize(int width, int height) {
    RatioCheckBox->setChecked(false);
    WidthScrollBar->SetPosition(width);
    HeightScrollBar->SetPosition(height);
}

void TResizeForm::Button1Click(QObject*) { ChooseStandardSize(320, 240); }
void TResizeForm::Button2Click(QObject*) { ChooseStandardSize(640, 480); }
void TResizeForm::Button3Click(QObject*) { ChooseStandardSize(800, 600); }
void TResizeForm::Button4Click(QObject*) { ChooseStandardSize(1024, 768); }
void TResizeForm::Button5Click(QObject*) { ChooseStandardSize(1152, 864); }
void TResizeForm::Button6Click(QObject*) { ChooseStandardSize(1280, 1024); }

void TResizeForm::OKButtonClick(QObject*) {
    const int newWidth = WidthScrollBar->Position();
    const int newHeight = HeightScrollBar->Position();
    close();
    UpdateUndo();
    ResizeWithPseudoInterpolation(newWidth, newHeight, OldWidth(), OldHeight(), InterpolationCheckBox->isChecked());
    MainForm->ReDraw();
}

void TResizeForm::CancelButtonClick(QObject*) { close(); }

bool TResizeForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) RunGuarded([this] { FormActivate(this); });
    return QDialog::event(event);
}

void TResizeForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void TMainForm::ResizeMenuClick(QObject*) { ResizeForm->Open(ImageBitmap.Width(), ImageBitmap.Height()); }

}  // namespace quorvane
