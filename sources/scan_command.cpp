// The Scan command of the main window: lets the user choose a TWAIN source,
// runs one acquisition, and makes the first image of the batch the document.
#include <QAction>

#include "app/main_form.h"
#include "sources/multitwain.h"
#include "sources/multitwain_dib.h"

namespace quorvane {

// The layer waits for the source in a message loop of its own, in which the
// menu stays live: the Scan item is off until the acquisition is over.
void TMainForm::ScanMenuClick(QObject*) {
    MenuItem("ScanMenu")->setEnabled(false);
    TWAIN_SelectImageSource(NoWindow);
    TWAIN_AcquireImages(NoWindow, 0);
    MenuItem("ScanMenu")->setEnabled(true);
    const int count = TWAIN_ImageCount();
    if (count < 1) return;
    UpdateUndo();
    DIB_CopyToImage(TWAIN_ImageAt(0), ScannedImage);
    for (int i = 0; i < count; ++i) FreeBlock(TWAIN_ImageAt(i));
    ImageBitmap.SetSize(ScannedImage.Picture.Width(), ScannedImage.Picture.Height());
    ImageBitmap.Draw(ScannedImage.Picture, 0, 0);
    SelectAll();
    ReDraw();
    EnableImageMenus(false);
}

}  // namespace quorvane
