// The palette dialog: the colour the feather blend fades into, chosen with
// three channel scroll bars or from a grid of sixteen standard colours. It is
// created hidden at start, shown by the Feather command and hidden by OK,
// Cancel or its close button; its colour stays between uses.
#pragma once

#include <QWidget>

#include "platform/bitmap.h"
#include "platform/qt/colour_channels.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quorvane {

class TColorGrid;
class TScrollBar;

class TPaletteForm : public QWidget {
    Q_OBJECT
public:
    explicit TPaletteForm(QWidget* parent = nullptr);

    void RScrollBarChange(QObject* sender);
    void GScrollBarChange(QObject* sender);
    void BScrollBarChange(QObject* sender);
    void ColorGridChange(QObject* sender);
    // Hides the dialog, blends the current selection with the chosen colour
    // and repaints the main window.
    void OKButtonClick(QObject* sender);
    void CancelButtonClick(QObject* sender);

    // The colour of the three scroll bar positions.
    TColor ChosenColour() const;

    QGroupBox* AirbrushGroupBox;
    QFrame* ColorShape;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TScrollBar* RScrollBar;
    TScrollBar* GScrollBar;
    TScrollBar* BScrollBar;
    QLabel* RLabel;
    QLabel* GLabel;
    QLabel* BLabel;
    TColorGrid* ColorGrid;
    QPushButton* OKButton;
    QPushButton* CancelButton;

protected:
    // The dialog is centred on the screen each time it is shown.
    void showEvent(QShowEvent* event) override;

private:
    ColourChannels channels_{};
};

extern TPaletteForm* PaletteForm;

}  // namespace quorvane
