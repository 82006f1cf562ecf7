#include "custom/custom_filter_form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "app/main_form.h"
#include "custom/custom_filter.h"
#include "custom/filter_file.h"
#include "platform/qt/form_controls.h"
#include "platform/services.h"

namespace quorvane {

TCustomFilterForm* CustomFilterForm = nullptr;

namespace {

constexpr const char* Caption = "Custom filter";

const char* const HelpText =
    "Write your own filters!\r\n\r\nR1, G1, and B1 are integer values between 0 and 255 corresponding to the Red, "
    "\r\nGreen and Blue channels. You can use the following operators and functions: \r\n\r\n+, -, *, /, ^, (, ), "
    "ABS, ATAN, COS, EXP, LN, ROUND, SIN, SQR, SQRT, TRUNC";

FileDialogRequest FilterFileDialog() { return {"Filter files (*.fil)|*.fil", "fil", false}; }

// Filter files hold 8-bit characters: each byte is one character of the edit.
std::string Bytes(const QLineEdit* edit) { return edit->text().toLatin1().toStdString(); }
QString Text(const std::string& bytes) { return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); }

QPushButton* AddButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry,
                       const char* hint) {
    return Place(new QPushButton(caption, parent), name, geometry, hint);
}

QLineEdit* AddEdit(QWidget* parent, const char* name, int top, const char* hint) {
    auto* edit = Place(new QLineEdit(parent), name, QRect(48, top, 313, 24));
    QFont bold = edit->font();
    bold.setBold(true);
    edit->setFont(bold);
    edit->setToolTip(hint);
    return edit;
}

}  // namespace

TCustomFilterForm::TCustomFilterForm(QWidget* parent) : QWidget(parent) {
    setObjectName("CustomFilterForm");
    setWindowTitle(Caption);
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(487, 153);

    GroupBox1 = Place(new QGroupBox("Filter options", this), "GroupBox1", QRect(8, 8, 473, 105));
    Label1 = Place(new QLabel("R2 = ", GroupBox1), "Label1", QRect(16, 27, 30, 16));
    Label2 = Place(new QLabel("G2 = ", GroupBox1), "Label2", QRect(16, 51, 30, 16));
    Label3 = Place(new QLabel("B2 = ", GroupBox1), "Label3", QRect(16, 75, 30, 16));
    REdit = AddEdit(GroupBox1, "REdit", 24, "This expression controls the Red channel");
    GEdit = AddEdit(GroupBox1, "GEdit", 48, "This expression controls the Green channel");
    BEdit = AddEdit(GroupBox1, "BEdit", 72, "This expression controls the Blue channel");
    LoadButton = AddButton(GroupBox1, "LoadButton", "&Load", QRect(368, 16, 75, 25), "Load filter file");
    SaveButton = AddButton(GroupBox1, "SaveButton", "&Save", QRect(368, 40, 75, 25), "Save filter file");
    ClearButton = AddButton(GroupBox1, "ClearButton", "&Clear", QRect(368, 72, 75, 25), "");
    HelpButton = AddButton(GroupBox1, "HelpButton", "?", QRect(456, 8, 14, 17), "Help");
    Label4 = Place(new QLabel("Warning! Custom filters are slow due to function parsing. A normal size image may take "
                              "minutes to redraw!",
                              this),
                   "Label4", QRect(32, 120, 264, 26));
    Label4->setWordWrap(true);
    // The window font wraps the warning over three lines; the condensed face
    // one pixel smaller fits it in the two lines its place has.
    Label4->setFont(CondensedFont(10));
    QPalette red = Label4->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label4->setPalette(red);
    OKButton = AddButton(this, "OKButton", "&OK", QRect(328, 120, 75, 25), "OK");
    CancelButton = AddButton(this, "CancelButton", "&Cancel", QRect(408, 120, 75, 25), "Cancel");

    SaveButton->setEnabled(false);
    ClearButton->setEnabled(false);
    OKButton->setEnabled(false);
    QWidget* order[] = {REdit, GEdit, BEdit, LoadButton, SaveButton, ClearButton, HelpButton, OKButton, CancelButton};
    for (std::size_t index = 1; index < std::size(order); ++index) setTabOrder(order[index - 1], order[index]);

    using Handler = void (TCustomFilterForm::*)(QObject*);
    auto connectEdit = [this](QLineEdit* edit, Handler handler) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit, handler] { RunGuarded([&] { (this->*handler)(edit); }); });
    };
    auto connectButton = [this](QPushButton* button, Handler handler) { OnClick(button, this, handler); };
    connectEdit(REdit, &TCustomFilterForm::REditChange);
    connectEdit(GEdit, &TCustomFilterForm::GEditChange);
    connectEdit(BEdit, &TCustomFilterForm::BEditChange);
    connectButton(LoadButton, &TCustomFilterForm::LoadButtonClick);
    connectButton(SaveButton, &TCustomFilterForm::SaveButtonClick);
    connectButton(HelpButton, &TCustomFilterForm::HelpButtonClick);
    connectButton(ClearButton, &TCustomFilterForm::ClearButtonClick);
    connectButton(OKButton, &TCustomFilterForm::OKButtonClick);
    connectButton(CancelButton, &TCustomFilterForm::CancelButtonClick);
}

void TCustomFilterForm::ApplyEnablingRule() {
    const QString red = REdit->text();
    const QString green = GEdit->text();
    const QString blue = BEdit->text();
    const bool unchanged = red == "R1" && green == "G1" && blue == "B1";
    const bool enabled = !red.isEmpty() && !green.isEmpty() && !blue.isEmpty() && !unchanged;
    SaveButton->setEnabled(enabled);
    OKButton->setEnabled(enabled);
    ClearButton->setEnabled(enabled);
}

void TCustomFilterForm::REditChange(QObject*) { ApplyEnablingRule(); }
void TCustomFilterForm::GEditChange(QObject*) { ApplyEnablingRule(); }
void TCustomFilterForm::BEditChange(QObject*) { ApplyEnablingRule(); }

void TCustomFilterForm::SetCaptionPath(const std::string& path) {
    setWindowTitle(QString(Caption) + " - " + QString::fromStdString(std::filesystem::absolute(path).string()));
}

void TCustomFilterForm::LoadButtonClick(QObject*) {
    const std::optional<std::string> path = TheServices().fileDialogs->OpenFileName(FilterFileDialog());
    if (!path) return;
    const FilterExpressions expressions = ReadFilterFile(*path);
    REdit->setText(Text(expressions.red));
    GEdit->setText(Text(expressions.green));
    BEdit->setText(Text(expressions.blue));
    SetCaptionPath(*path);
}

void TCustomFilterForm::SaveButtonClick(QObject*) {
    const std::optional<std::string> path = TheServices().fileDialogs->SaveFileName(FilterFileDialog());
    if (!path) return;
    if (std::filesystem::exists(*path) && !TheServices().messages->Confirm("File exists. Overwrite?")) return;
    WriteFilterFile(*path, {Bytes(REdit), Bytes(GEdit), Bytes(BEdit)});
    SetCaptionPath(*path);
}

void TCustomFilterForm::HelpButtonClick(QObject*) { TheServices().messages->ShowMessage(HelpText); }

void TCustomFilterForm::ClearButtonClick(QObject*) {
    REdit->clear();
    GEdit->clear();
    BEdit->clear();
    setWindowTitle(Caption);
    ClearButton->setEnabled(false);
}

void TCustomFilterForm::OKButtonClick(QObject*) {
    const std::string red = WithoutSpaces(Bytes(REdit));
    const std::string green = WithoutSpaces(Bytes(GEdit));
    const std::string blue = WithoutSpaces(Bytes(BEdit));
    UpdateUndo();
    MainForm->CustomFilter(red, green, blue);
    MainForm->ReDraw();
    Close();
}

void TCustomFilterForm::CancelButtonClick(QObject*) { Close(); }

void TCustomFilterForm::Close() {
    MainForm->setEnabled(true);
    hide();
}

void TCustomFilterForm::showEvent(QShowEvent* event) {
    if (!placed_) {
        CentreOnScreen(this);
        placed_ = true;
    }
    QWidget::showEvent(event);
}

}  // namespace quorvane
