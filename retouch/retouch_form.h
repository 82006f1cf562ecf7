// The retouch window: paints on a copy of the whole image with the airbrush,
// lighten and darken brushes, picks colours with the eyedropper (any button
// but the left one), the R, G and B scroll bars or a grid of sixteen colours,
// and hands the picture back to the main window (OK) or drops it (Cancel).
// It is created hidden at start and only shown and hidden, so the colour, the
// tool, the size and the strength carry over from one use to the next.
#pragma once

#include <QWidget>
#include <string>

#include "platform/bitmap.h"
#include "platform/qt/colour_channels.h"
#include "retouch/brushes.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;

namespace quorvane {

class Canvas;
class TColorGrid;
class TScrollBar;

class TRetouchForm : public QWidget {
    Q_OBJECT
public:
    explicit TRetouchForm(QWidget* parent = nullptr);

    void FormCreate(QObject* sender);
    // Reads the picture from a BMP file and fits the window to it: client
    // width W + 160, height 453, or H + 48 from a picture 417 high on. A
    // window that would not fit on the screen shows the picture in a
    // scrolling area. When the file cannot be read the picture stays.
    void Load(const std::string& fileName);

    // Mouse positions are picture pixel coordinates.
    void ImageMouseDown(Qt::MouseButton button, int x, int y);
    void ImageMouseMove(int x, int y);
    void ImageMouseUp(Qt::MouseButton button);

    void RScrollBarChange(QObject* sender);
    void GScrollBarChange(QObject* sender);
    void BScrollBarChange(QObject* sender);
    void ColorGridChange(QObject* sender);
    void OKButtonClick(QObject* sender);
    void CancelButtonClick(QObject* sender);
    void ReloadButtonClick(QObject* sender);

    // The tools at one position, with the settings of the controls.
    void AirbrushDab(int x, int y);
    void ShadeDab(int x, int y, int amount);
    void PickColor(int x, int y);

    BrushSettings ToolSettings() const;
    TColor CurrentColour() const;
    const Bitmap& Picture() const { return picture_; }

    // The left button is held on the picture; another button is.
    bool Painting = false;
    bool Picking = false;

    QGroupBox* GroupBox1;
    QLabel* Image4;
    QLabel* Label6;
    QLabel* Image1;
    QRadioButton* AirBrushRadioButton;
    QLabel* Image2;
    QRadioButton* LightenRadioButton;
    QLabel* Image3;
    QRadioButton* DarkenRadioButton;
    QLabel* Label4;
    TScrollBar* SizeScrollBar;
    QLabel* Label7;
    TScrollBar* OpacityScrollBar;
    QTabWidget* PageControl;
    QWidget* RGB_page;
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
    QWidget* Standard_page;
    TColorGrid* ColorGrid;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    // The panel scrolls inside ImageScrollArea only when the window would not fit on the screen.
    QScrollArea* ImageScrollArea;
    QFrame* ImagePanel;
    Canvas* Image;
    QPushButton* ReloadButton;

protected:
    // OK and Cancel are the only ways back to the main window: a close
    // request from the window manager is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildToolControls();
    void BuildColourPages();
    void BuildImagePanel();
    void ApplyTool(int x, int y);
    void ShowSpot(int x, int y);
    void SetClientSize(QSize wanted);

    Bitmap picture_;
    ColourChannels channels_{};
};

extern TRetouchForm* RetouchForm;

}  // namespace quorvane
