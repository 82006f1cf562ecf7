// The resize dialog: the image's size when it was opened, the new size on two
// scroll bars with an aspect-ratio lock and six standard sizes, and whether a
// mean pass softens an enlargement.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quorvane {

class TScrollBar;

class TResizeForm : public QDialog {
    Q_OBJECT
public:
    explicit TResizeForm(QWidget* parent = nullptr);

    // The opening: records the image's size in the labels, moves the scroll
    // bars to it (clamped to their ranges) and shows the dialog.
    void Open(int imageWidth, int imageHeight);

    void FormActivate(QObject* sender);
    void WidthScrollBarChange(QObject* sender);
    void HeightScrollBarChange(QObject* sender);
    void RatioCheckBoxClick(QObject* sender);  // both check boxes
    void Button1Click(QObject* sender);
    void Button2Click(QObject* sender);
    void Button3Click(QObject* sender);
    void Button4Click(QObject* sender);
    void Button5Click(QObject* sender);
    void Button6Click(QObject* sender);
    void OKButtonClick(QObject* sender);
    void CancelButtonClick(QObject* sender);

    QLabel* WidthLabel;
    QLabel* HeightLabel;
    QCheckBox* RatioCheckBox;
    QCheckBox* InterpolationCheckBox;
    TScrollBar* WidthScrollBar;
    QLabel* NewWidthLabel;
    TScrollBar* HeightScrollBar;
    QLabel* NewHeightLabel;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* OKButton;
    QPushButton* CancelButton;

protected:
    bool event(QEvent* event) override;
    // The dialog is centred on the screen each time it is shown.
    void showEvent(QShowEvent* event) override;

private:
    int OldWidth() const;
    int OldHeight() const;
    // old height x value div old width, as the ratio lock computes it.
    int ScaledToOldRatio(int value) const;
    void ChooseStandardSize(int width, int height);
};

extern TResizeForm* ResizeForm;

}  // namespace quorvane
