// The print dialog: orientation, then one page on the default printer.
#pragma once

#include <QDialog>

class QRadioButton;
class QPushButton;

namespace quorvane {

class TPrintForm : public QDialog {
    Q_OBJECT
public:
    explicit TPrintForm(QWidget* parent = nullptr);

    void Button1Click(QObject* sender);  // OK: prints, then closes
    void Button2Click(QObject* sender);  // Cancel

    QRadioButton* RadioButton2;  // "&Landscape"
    QRadioButton* PortraitRadioButton;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    // The dialog is centred on the screen each time it is shown.
    void showEvent(QShowEvent* event) override;
};

extern TPrintForm* PrintForm;

}  // namespace quorvane
