// Acquiring straight to the clipboard or a file, and whether a source manager
// is there at all.
#include <optional>

#include "platform/error.h"
#include "platform/services.h"
#include "sources/multitwain_dib.h"
#include "sources/multitwain_inner.h"

namespace quorvane {

bool TWAIN_AcquireToClipboard(WindowHandle owner, std::uint32_t pixelTypeMask) {
    BlockHandle image = TWAIN_AcquireImages(owner, pixelTypeMask);
    if (image == nullptr) return false;
    bool placed = false;
    ClipboardService* clipboard = TheServices().clipboard;
    if (clipboard != nullptr) {
        try {
            PictureHolder holder;
            DIB_CopyToImage(image, holder);
            clipboard->SetImage(holder.Picture);
            placed = true;
        } catch (const Error&) {
            placed = false;
        }
    }
    FreeBlock(image);
    return placed;
}

int TWAIN_AcquireToFilename(WindowHandle owner, const std::string& name) {
    BlockHandle image = TWAIN_AcquireImages(owner, 0);
    if (image == nullptr) return -1;
    const int result = DIB_WriteFile(image, name);
    FreeBlock(image);
    return result;
}

bool TWAIN_IsAvailable() {
    static std::optional<bool> available;
    if (!available) {
        available = TWAIN_LoadManager();
        TWAIN_UnloadManager();
    }
    return *available;
}

}  // namespace quorvane
