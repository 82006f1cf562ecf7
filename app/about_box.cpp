#include "app/about_box.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QShowEvent>
#include <QSvgRenderer>

#include "platform/qt/form_controls.h"

namespace quorvane {

TAboutBox* AboutBox = nullptr;

namespace {

QPixmap ApplicationPicture() {
    QPixmap picture(111, 87);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QSvgRenderer(QString(":/pictures/application.svg")).render(&painter);
    return picture;
}

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& geometry, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        font.setPixelSize(16);
        label->setFont(font);
    }
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(330, 212);

    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    panel->setGeometry(8, 8, 314, 160);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);

    auto* picture = new QLabel(panel);
    picture->setObjectName("ProgramIcon");
    picture->setGeometry(8, 8, 111, 87);
    picture->setPixmap(ApplicationPicture());
    AddLabel(panel, "Quorvane", QRect(136, 16, 170, 24), true)->setObjectName("ProductName");
    AddLabel(panel, "Version 3.2.4 Drag And Drop", QRect(136, 48, 170, 16))->setObjectName("Version");
    auto* credits = AddLabel(panel, "Written by the Quorvane developers for everyone who edits photos at a desk.",
                             QRect(8, 108, 298, 44));
    credits->setObjectName("Comments");
    credits->setWordWrap(true);

    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("BitBtn1");
    ok->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ok->setGeometry(128, 178, 75, 25);
    OnClick(ok, this, &TAboutBox::BitBtn1Click);
}

void TAboutBox::BitBtn1Click(QObject*) { close(); }

void TAboutBox::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

}  // namespace quorvane
