// The About box: the application's picture, name, version and credits.
#pragma once

#include <QDialog>

namespace quorvane {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void BitBtn1Click(QObject* sender);

protected:
    // The box is centred on the screen each time it is shown.
    void showEvent(QShowEvent* event) override;
};

extern TAboutBox* AboutBox;

}  // namespace quorvane
