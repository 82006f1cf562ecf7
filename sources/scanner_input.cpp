#include "sources/scanner_input.h"

#include "app/document.h"
#include "platform/services.h"
#include "sources/multitwain.h"
#include "sources/multitwain_dib.h"

namespace quorvane {

bool OpenScanner() {
    const bool hidden = TWAIN_HideInterface();
    TWAIN_SetHideInterface(true);
    TWAIN_AcquireImages(NoWindow, 0);
    TWAIN_SetHideInterface(hidden);
    const int count = TWAIN_ImageCount();
    if (count < 1) {
        TheServices().messages->ShowMessage("No image arrived from the scanner.");
        return false;
    }
    PictureHolder holder;
    DIB_CopyToImage(TWAIN_ImageAt(0), holder);
    for (int i = 0; i < count; ++i) FreeBlock(TWAIN_ImageAt(i));
    ImageBitmap = std::move(holder.Picture);
    SelectAll();
    ReDraw();
    EnableImageMenus(false);
    return true;
}

}  // namespace quorvane
