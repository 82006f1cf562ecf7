#include "app/print_form.h"

#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_form.h"
#include "platform/qt/form_controls.h"
#include "platform/services.h"

namespace quorvane {

TPrintForm* PrintForm = nullptr;

namespace {

// The small outline beside a radio button that shows the paper's shape.
void AddPaperOutline(QWidget* parent, int x, int y, int width, int height) {
    auto* outline = new QFrame(parent);
    outline->setFrameShape(QFrame::Box);
    outline->setGeometry(x, y, width, height);
}

QPushButton* AddButton(QWidget* parent, const char* name, const char* caption, const char* hint, int x) {
    return Place(new QPushButton(caption, parent), name, QRect(x, 104, 88, 25), hint);
}

}  // namespace

TPrintForm::TPrintForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PrintForm");
    setWindowTitle("Print");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(200, 137);

    auto* options = new QGroupBox("Printer options", this);
    options->setObjectName("GroupBox1");
    options->setGeometry(8, 8, 184, 88);
    RadioButton2 = new QRadioButton("&Landscape", options);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->setGeometry(12, 24, 120, 20);
    RadioButton2->setChecked(true);
    AddPaperOutline(options, 144, 26, 25, 17);
    PortraitRadioButton = new QRadioButton("&Portrait", options);
    PortraitRadioButton->setObjectName("PortraitRadioButton");
    PortraitRadioButton->setGeometry(12, 56, 120, 20);
    AddPaperOutline(options, 148, 54, 17, 25);

    Button1 = AddButton(this, "Button1", "&OK", "OK", 8);
    Button2 = AddButton(this, "Button2", "&Cancel", "Cancel", 104);
    OnClick(Button1, this, &TPrintForm::Button1Click);
    OnClick(Button2, this, &TPrintForm::Button2Click);
}

void TPrintForm::Button1Click(QObject*) {
    MainForm->Print(PortraitRadioButton->isChecked() ? 0 : 1);
    close();
}

void TPrintForm::Button2Click(QObject*) { close(); }

void TPrintForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void TMainForm::PrintMenuClick(QObject*) {
    PrintForm->show();
    PrintForm->raise();
}

}  // namespace quorvane
