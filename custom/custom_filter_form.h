// The custom filter dialog: one expression in R1, G1 and B1 for each colour
// channel, filter files to load them from and save them to, a help text, and
// OK to apply them to the selection with one undo step. While it is shown the
// main window is disabled; OK and Cancel enable it again and hide the dialog,
// which has no close box and keeps its texts and caption between uses.
#pragma once

#include <QWidget>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

class TCustomFilterForm : public QWidget {
    Q_OBJECT
public:
    explicit TCustomFilterForm(QWidget* parent = nullptr);

    void REditChange(QObject* sender);
    void GEditChange(QObject* sender);
    void BEditChange(QObject* sender);
    void LoadButtonClick(QObject* sender);
    void SaveButtonClick(QObject* sender);
    void HelpButtonClick(QObject* sender);
    void ClearButtonClick(QObject* sender);
    void OKButtonClick(QObject* sender);
    void CancelButtonClick(QObject* sender);

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* REdit;
    QLineEdit* GEdit;
    QLineEdit* BEdit;
    QPushButton* LoadButton;
    QPushButton* SaveButton;
    QPushButton* ClearButton;
    QPushButton* HelpButton;
    QLabel* Label4;
    QPushButton* OKButton;
    QPushButton* CancelButton;

protected:
    // The dialog is centred on the screen the first time it is shown.
    void showEvent(QShowEvent* event) override;

private:
    // Save, OK and Clear are enabled when all three texts are non-empty and
    // are not exactly "R1", "G1" and "B1" together.
    void ApplyEnablingRule();
    void SetCaptionPath(const std::string& path);
    void Close();

    bool placed_ = false;
};

extern TCustomFilterForm* CustomFilterForm;

}  // namespace quorvane
