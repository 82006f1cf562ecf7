#include "filters/palette.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "app/document.h"
#include "filters/feather.h"
#include "platform/qt/colour_grid.h"
#include "platform/qt/form_controls.h"
#include "platform/qt/scroll_bar.h"
#include "platform/services.h"

namespace quorvane {

TPaletteForm* PaletteForm = nullptr;

namespace {

using Handler = void (TPaletteForm::*)(QObject*);

QLabel* AddLabel(QWidget* parent, const char* name, const char* caption, const QRect& place) {
    return Place(new QLabel(caption, parent), name, place);
}

TScrollBar* AddChannelScrollBar(TPaletteForm* form, QWidget* parent, const char* name, int top, const char* hint,
                                Handler handler) {
    auto* scrollBar = Place(new TScrollBar(parent), name, QRect(72, top, 57, 13), hint);
    scrollBar->SetMax(255);
    scrollBar->SetLargeChange(10);
    scrollBar->OnChange = [form, handler](QObject* sender) { (form->*handler)(sender); };
    return scrollBar;
}

QPushButton* AddButton(TPaletteForm* form, const char* name, const char* caption, int left, const char* hint,
                       Handler handler) {
    auto* button = Place(new QPushButton(caption, form), name, QRect(left, 96, 75, 25), hint);
    OnClick(button, form, handler);
    return button;
}


}  // namespace

TPaletteForm::TPaletteForm(QWidget* parent) : QWidget(parent) {
    setObjectName("PaletteForm");
    setWindowTitle("Palette");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setFixedSize(242, 128);

    AirbrushGroupBox = Place(new QGroupBox("Color option", this), "AirbrushGroupBox", QRect(8, 8, 225, 81));
    ColorShape = Place(new QFrame(AirbrushGroupBox), "ColorShape", QRect(8, 24, 41, 41), "Current color");
    ColorShape->setFrameStyle(QFrame::Box | QFrame::Plain);
    ColorShape->setAutoFillBackground(true);
    FillShape(ColorShape, RGB(0, 0, 0));
    Label1 = AddLabel(AirbrushGroupBox, "Label1", "R:", QRect(56, 24, 16, 13));
    Label2 = AddLabel(AirbrushGroupBox, "Label2", "G:", QRect(56, 40, 16, 13));
    Label3 = AddLabel(AirbrushGroupBox, "Label3", "B:", QRect(56, 56, 16, 13));
    RScrollBar = AddChannelScrollBar(this, AirbrushGroupBox, "RScrollBar", 24, "Red channel",
                                     &TPaletteForm::RScrollBarChange);
    GScrollBar = AddChannelScrollBar(this, AirbrushGroupBox, "GScrollBar", 40, "Green channel",
                                     &TPaletteForm::GScrollBarChange);
    BScrollBar = AddChannelScrollBar(this, AirbrushGroupBox, "BScrollBar", 56, "Blue channel",
                                     &TPaletteForm::BScrollBarChange);
    RLabel = AddLabel(AirbrushGroupBox, "RLabel", "0", QRect(136, 24, 24, 13));
    GLabel = AddLabel(AirbrushGroupBox, "GLabel", "0", QRect(136, 40, 24, 13));
    BLabel = AddLabel(AirbrushGroupBox, "BLabel", "0", QRect(136, 56, 24, 13));
    ColorGrid = Place(new TColorGrid(AirbrushGroupBox), "ColorGrid", QRect(160, 16, 56, 56));
    ColorGrid->OnChange = [this](QObject* sender) { ColorGridChange(sender); };
    OKButton = AddButton(this, "OKButton", "&OK", 64, "OK", &TPaletteForm::OKButtonClick);
    CancelButton = AddButton(this, "CancelButton", "&Cancel", 152, "Cancel", &TPaletteForm::CancelButtonClick);
    channels_ = {ColorShape, RScrollBar, GScrollBar, BScrollBar, RLabel, GLabel, BLabel};
}

TColor TPaletteForm::ChosenColour() const { return channels_.Colour(); }

void TPaletteForm::RScrollBarChange(QObject*) { channels_.Show(0); }
void TPaletteForm::GScrollBarChange(QObject*) { channels_.Show(1); }
void TPaletteForm::BScrollBarChange(QObject*) { channels_.Show(2); }
void TPaletteForm::ColorGridChange(QObject*) { channels_.SetColour(ColorGrid->ForegroundColor()); }

void TPaletteForm::OKButtonClick(QObject*) {
    hide();
    Feather(ChosenColour());
    ReDraw();
}

void TPaletteForm::CancelButtonClick(QObject*) { hide(); }

void TPaletteForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QWidget::showEvent(event);
}

}  // namespace quorvane
