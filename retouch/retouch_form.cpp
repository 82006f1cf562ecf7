#include "retouch/retouch_form.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "app/exchange_file.h"
#include "app/main_form.h"
#include "platform/bmp.h"
#include "platform/qt/canvas.h"
#include "platform/qt/colour_grid.h"
#include "platform/qt/form_controls.h"
#include "platform/qt/image_conversion.h"
#include "platform/qt/scroll_bar.h"
#include "platform/services.h"
#include "retouch/window_size.h"

namespace quorvane {

TRetouchForm* RetouchForm = nullptr;

namespace {

using Handler = void (TRetouchForm::*)(QObject*);

const QPoint PanelPlace(128, 16);

QLabel* AddLabel(QWidget* parent, const char* name, const char* caption, QPoint place) {
    auto* label = new QLabel(caption, parent);
    label->adjustSize();
    return Place(label, name, QRect(place, label->size()));
}

// A tool's 32 x 32 picture, drawn from our SVG.
QLabel* AddToolIcon(QWidget* parent, const char* name, const char* picture, int top, const char* hint) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QString(":/retouch/%1.svg").arg(picture));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    auto* icon = Place(new QLabel(parent), name, QRect(8, top, 33, 33), hint);
    icon->setPixmap(pixmap);
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return icon;
}

QRadioButton* AddToolButton(QWidget* parent, const char* name, const char* caption, int top, const char* hint) {
    auto* button = Place(new QRadioButton(caption, parent), name, QRect(40, top, 57, 17), hint);
    button->setFont(CondensedFont(9));
    return button;
}

TScrollBar* AddScrollBar(TRetouchForm* form, QWidget* parent, const char* name, const QRect& place, int min, int max,
                         int position, const char* hint, Handler handler = nullptr) {
    auto* scrollBar = Place(new TScrollBar(parent), name, place, hint);
    scrollBar->SetMax(max);
    scrollBar->SetMin(min);
    scrollBar->SetPosition(position);
    scrollBar->SetLargeChange(10);
    if (handler != nullptr) scrollBar->OnChange = [form, handler](QObject* sender) { (form->*handler)(sender); };
    return scrollBar;
}

QPushButton* AddButton(TRetouchForm* form, QWidget* parent, const char* name, const char* caption, const QRect& place,
                       const char* hint, Handler handler) {
    auto* button = Place(new QPushButton(caption, parent), name, place, hint);
    OnClick(button, form, handler);
    return button;
}

// The client size the screen leaves for the window beside the frame that
// the main window shows there.
QSize ClientRoom(const QWidget* window) {
    const QWidget* reference = MainForm != nullptr ? static_cast<const QWidget*>(MainForm) : window;
    const QScreen* screen = reference->screen();
    if (screen == nullptr) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return screen->availableGeometry().size() - (reference->frameGeometry().size() - reference->geometry().size());
}

}  // namespace

TRetouchForm::TRetouchForm(QWidget* parent) : QWidget(parent) {
    setObjectName("RetouchForm");
    setWindowTitle("Quorvane - retouch window");
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint);
    BuildToolControls();
    BuildColourPages();
    OKButton = AddButton(this, this, "OKButton", "&OK", QRect(30, 392, 75, 25), "OK", &TRetouchForm::OKButtonClick);
    CancelButton = AddButton(this, this, "CancelButton", "&Cancel", QRect(30, 424, 75, 25), "Cancel",
                             &TRetouchForm::CancelButtonClick);
    BuildImagePanel();
    SetClientSize(QSize(RetouchControlsWidth, RetouchMinimumClientHeight));
    FormCreate(this);
}

void TRetouchForm::BuildToolControls() {
    GroupBox1 = Place(new QGroupBox("Retouch control", this), "GroupBox1", QRect(8, 8, 113, 233));
    Image4 = AddToolIcon(GroupBox1, "Image4", "eyedropper", 16, "Eyedropper");
    Label6 = Place(new QLabel("Right mouse button", GroupBox1), "Label6", QRect(40, 16, 62, 26));
    Label6->setWordWrap(true);
    Label6->setFont(CondensedFont(10));
    Image1 = AddToolIcon(GroupBox1, "Image1", "airbrush", 48, "Airbrush");
    AirBrushRadioButton = AddToolButton(GroupBox1, "AirBrushRadioButton", "&Airbrush", 56, "Airbrush tool");
    AirBrushRadioButton->setChecked(true);
    Image2 = AddToolIcon(GroupBox1, "Image2", "lighten", 80, "Lighten");
    LightenRadioButton = AddToolButton(GroupBox1, "LightenRadioButton", "&Lighten", 88, "Lighten tool");
    Image3 = AddToolIcon(GroupBox1, "Image3", "darken", 112, "Darken");
    DarkenRadioButton = AddToolButton(GroupBox1, "DarkenRadioButton", "&Darken", 120, "Darken tool");
    Label4 = AddLabel(GroupBox1, "Label4", "Size", QPoint(40, 144));
    SizeScrollBar = AddScrollBar(this, GroupBox1, "SizeScrollBar", QRect(24, 164, 65, 13), 1, 20, 10, "Size of tool");
    Label7 = AddLabel(GroupBox1, "Label7", "Opacity", QPoint(32, 192));
    OpacityScrollBar =
        AddScrollBar(this, GroupBox1, "OpacityScrollBar", QRect(24, 212, 65, 13), 1, 20, 10, "Opacity of airbrush");
}

void TRetouchForm::BuildColourPages() {
    PageControl = Place(new QTabWidget(this), "PageControl", QRect(8, 248, 113, 137));
    PageControl->tabBar()->setFont(CondensedFont(11));
    RGB_page = new QWidget;
    RGB_page->setObjectName("RGB_page");
    PageControl->addTab(RGB_page, "R&GB");
    ColorShape = Place(new QFrame(RGB_page), "ColorShape", QRect(24, 8, 41, 41), "Current color");
    ColorShape->setFrameStyle(QFrame::Box | QFrame::Plain);
    ColorShape->setAutoFillBackground(true);
    FillShape(ColorShape, RGB(0, 0, 0));
    Label1 = AddLabel(RGB_page, "Label1", "R:", QPoint(0, 56));
    Label2 = AddLabel(RGB_page, "Label2", "G:", QPoint(0, 72));
    Label3 = AddLabel(RGB_page, "Label3", "B:", QPoint(0, 88));
    RScrollBar = AddScrollBar(this, RGB_page, "RScrollBar", QRect(16, 56, 57, 13), 0, 255, 0, "Red channel",
                              &TRetouchForm::RScrollBarChange);
    GScrollBar = AddScrollBar(this, RGB_page, "GScrollBar", QRect(16, 72, 57, 13), 0, 255, 0, "Green channel",
                              &TRetouchForm::GScrollBarChange);
    BScrollBar = AddScrollBar(this, RGB_page, "BScrollBar", QRect(16, 88, 57, 13), 0, 255, 0, "Blue channel",
                              &TRetouchForm::BScrollBarChange);
    RLabel = Place(new QLabel("0", RGB_page), "RLabel", QRect(80, 56, 24, 13));
    GLabel = Place(new QLabel("0", RGB_page), "GLabel", QRect(80, 72, 24, 13));
    BLabel = Place(new QLabel("0", RGB_page), "BLabel", QRect(80, 88, 24, 13));
    channels_ = {ColorShape, RScrollBar, GScrollBar, BScrollBar, RLabel, GLabel, BLabel};
    Standard_page = new QWidget;
    Standard_page->setObjectName("Standard_page");
    PageControl->addTab(Standard_page, "&Pallette");
    ColorGrid = Place(new TColorGrid(Standard_page), "ColorGrid", QRect(13, 9, 76, 80));
    ColorGrid->OnChange = [this](QObject* sender) { ColorGridChange(sender); };
    PageControl->setCurrentWidget(RGB_page);
}

void TRetouchForm::BuildImagePanel() {
    ImageScrollArea = Place(new QScrollArea(this), "ImageScrollArea", QRect(PanelPlace, QSize(0, 0)));
    ImageScrollArea->setFrameShape(QFrame::NoFrame);
    ImageScrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ImagePanel = new QFrame;
    ImagePanel->setObjectName("ImagePanel");
    ImagePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ImagePanel->setFixedSize(2 * ImagePanelMargin, 2 * ImagePanelMargin);
    ImageScrollArea->setWidget(ImagePanel);
    Image = new Canvas(ImagePanel);
    Image->setObjectName("Image");
    Image->move(ImagePanelMargin, ImagePanelMargin);
    Image->setCursor(Qt::CrossCursor);
    Image->onMouseDown = [this](Qt::MouseButton button, int x, int y) {
        RunGuarded([&] { ImageMouseDown(button, x, y); });
    };
    Image->onMouseMove = [this](int x, int y) { RunGuarded([&] { ImageMouseMove(x, y); }); };
    Image->onMouseUp = [this](Qt::MouseButton button, int, int) { RunGuarded([&] { ImageMouseUp(button); }); };
    ReloadButton = AddButton(this, ImagePanel, "ReloadButton", "&Reload", QRect(8, 8, 41, 17),
                             "Reload the original image", &TRetouchForm::ReloadButtonClick);
    ReloadButton->raise();
}

void TRetouchForm::FormCreate(QObject*) {
    Painting = false;
    Picking = false;
}

void TRetouchForm::Load(const std::string& fileName) {
    picture_ = ReadBmpFile(fileName);
    const Extent picture{picture_.Width(), picture_.Height()};
    Image->SetClientSize(picture.width, picture.height);
    DrawBitmapInto(picture_, Image->Buffer());
    Image->update();
    const Extent panel = ImagePanelSize(picture);
    ImagePanel->setFixedSize(panel.width, panel.height);
    const Extent client = RetouchClientSize(picture);
    SetClientSize(QSize(client.width, client.height));
}

// The window takes the wanted client size where the screen has room for it;
// otherwise it takes the room (never less than the controls need) and the
// picture scrolls.
void TRetouchForm::SetClientSize(QSize wanted) {
    const QSize room = ClientRoom(this);
    const QSize smallest(RetouchControlsWidth + 3 * ImagePanelMargin, RetouchMinimumClientHeight);
    const QSize client = wanted.boundedTo(room).expandedTo(smallest);
    const bool scrolling = client != wanted;
    ImageScrollArea->setHorizontalScrollBarPolicy(scrolling ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    ImageScrollArea->setVerticalScrollBarPolicy(scrolling ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    const QSize visible = scrolling ? client - QSize(PanelPlace.x() + 2 * ImagePanelMargin, PanelPlace.y() * 2)
                                    : ImagePanel->size();
    ImageScrollArea->resize(visible);
    setFixedSize(client);
}

void TRetouchForm::ImageMouseDown(Qt::MouseButton button, int x, int y) {
    if (button == Qt::LeftButton) {
        Painting = true;
        ApplyTool(x, y);
    } else {
        Picking = true;
        PickColor(x, y);
    }
}

// While the left button is held the picture gets every movement, also off
// it; picking takes colours from the picture alone.
void TRetouchForm::ImageMouseMove(int x, int y) {
    if (Painting) ApplyTool(x, y);
    if (Picking && Image->rect().contains(x, y)) PickColor(x, y);
}

void TRetouchForm::ImageMouseUp(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        Painting = false;
    else
        Picking = false;
}

void TRetouchForm::ApplyTool(int x, int y) {
    if (AirBrushRadioButton->isChecked())
        AirbrushDab(x, y);
    else if (LightenRadioButton->isChecked())
        ShadeDab(x, y, OpacityScrollBar->Position());
    else if (DarkenRadioButton->isChecked())
        ShadeDab(x, y, -OpacityScrollBar->Position());
}

BrushSettings TRetouchForm::ToolSettings() const {
    return {.colour = CurrentColour(),
            .size = SizeScrollBar->Position(),
            .strength = OpacityScrollBar->Position(),
            .strengthMaximum = OpacityScrollBar->Max()};
}

TColor TRetouchForm::CurrentColour() const { return channels_.Colour(); }

void TRetouchForm::AirbrushDab(int x, int y) {
    quorvane::AirbrushDab(picture_, ToolSettings(), x, y);
    ShowSpot(x, y);
}

void TRetouchForm::ShadeDab(int x, int y, int amount) {
    quorvane::ShadeDab(picture_, SizeScrollBar->Position(), x, y, amount);
    ShowSpot(x, y);
}

void TRetouchForm::PickColor(int x, int y) { channels_.SetColour(quorvane::PickColor(picture_, x, y)); }

// Copies the square a dab may have changed from the picture to the screen.
void TRetouchForm::ShowSpot(int x, int y) {
    const int size = SizeScrollBar->Position();
    const QRect spot = QRect(x - size, y - size, 2 * size + 1, 2 * size + 1) & Image->rect();
    if (spot.isEmpty()) return;
    QPainter painter(&Image->Buffer());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(spot.topLeft(), WrapBitmap(picture_), spot);
    painter.end();
    Image->update(spot);
}

void TRetouchForm::RScrollBarChange(QObject*) { channels_.Show(0); }
void TRetouchForm::GScrollBarChange(QObject*) { channels_.Show(1); }
void TRetouchForm::BScrollBarChange(QObject*) { channels_.Show(2); }
void TRetouchForm::ColorGridChange(QObject*) { channels_.SetColour(ColorGrid->ForegroundColor()); }

void TRetouchForm::OKButtonClick(QObject*) {
    const std::string exchangeFile = ExchangeFileName();
    WriteBmpFile(picture_, exchangeFile);
    MainForm->OpenFile(exchangeFile);
    DeleteExchangeFile();
    MainForm->move(pos());
    hide();
    MainForm->show();
}

void TRetouchForm::CancelButtonClick(QObject*) {
    MainForm->move(pos());
    DeleteExchangeFile();
    hide();
    MainForm->show();
}

void TRetouchForm::ReloadButtonClick(QObject*) { Load(ExchangeFileName()); }

void TRetouchForm::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace quorvane
