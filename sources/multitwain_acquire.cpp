// The public steps: choosing a source and running one acquisition, with its
// wait for the source's events and the transfer loop.
#include "platform/message_queue.h"
#include "sources/multitwain_inner.h"

namespace quorvane {
namespace {

// The owner to use, and the proxy made for it when there was none.
struct Owner {
    WindowHandle window = NoWindow;
    WindowHandle proxy = NoWindow;
    ~Owner() {
        if (proxy != NoWindow) DestroyWindow(proxy);
    }
};

void CloseDown(WindowHandle owner) {
    TWAIN_StopSource();
    TWAIN_ReleaseSource();
    TWAIN_CloseManager(owner);
    TWAIN_UnloadManager();
}

bool SelectThroughManager(WindowHandle owner) {
    if (!TWAIN_LoadManager()) {
        TWAIN_WarningBox("Unable to load Source Manager (TWAIN_32.DLL)");
        return false;
    }
    bool picked = false;
    if (!TWAIN_OpenManager(owner)) {
        TWAIN_WarningBox("Unable to open Source Manager (TWAIN_32.DLL)");
    } else {
        TW_IDENTITY chosen{};
        picked = TWAIN_CallManager(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &chosen);
        TWAIN_CloseManager(owner);
    }
    TWAIN_UnloadManager();
    return picked;
}

// Steps up to the enabled source; false after telling the user what failed.
bool StartAcquisition(WindowHandle owner, std::uint32_t pixelTypeMask) {
    if (!TWAIN_LoadManager()) {
        TWAIN_WarningBox("Unable to load Source Manager (TWAIN_32.DLL)");
        return false;
    }
    if (!TWAIN_OpenManager(owner)) {
        TWAIN_WarningBox("Unable to open Source Manager (TWAIN_32.DLL)");
        return false;
    }
    if (!TWAIN_OpenChosenSource()) {
        TWAIN_ReportLastError("Unable to open default Data Source.");
        return false;
    }
    if (!TWAIN_LimitPixelTypes(pixelTypeMask)) {
        TWAIN_ReportLastError("Failed to negotiate Pixel Type.");
        return false;
    }
    if (!TWAIN_StartSource(owner)) {
        TWAIN_ReportLastError("Failed to enable Data Source.");
        return false;
    }
    return true;
}

// One native transfer from state 6: the image on success, and state 7 when
// the transfer ended done or cancelled; the pending transfers reset otherwise.
BlockHandle TransferOne() {
    TwainConnection& twain = Twain();
    TW_HANDLE image = nullptr;
    TWAIN_CallSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image);
    switch (twain.lastReturnCode) {
        case TWRC_XFERDONE:
            twain.state = 7;
            return image;
        case TWRC_CANCEL:
            twain.state = 7;
            return nullptr;
        default:
            if (TWAIN_CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &twain.pending)) twain.state = 5;
            return nullptr;
    }
}

void EndTransfer() {
    TwainConnection& twain = Twain();
    if (twain.state == 7 && TWAIN_CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &twain.pending))
        twain.state = twain.pending.Count != 0 ? 6 : 5;
}

}  // namespace

bool TWAIN_SelectImageSource(WindowHandle owner) {
    Owner chosen{owner};
    if (!IsWindow(owner)) {
        if (owner != NoWindow) {
            TWAIN_WarningBox("TWAIN_SelectImageSource: window handle is invalid");
            return false;
        }
        chosen.window = chosen.proxy = CreateProxyWindow();
        if (!IsWindow(chosen.window)) {
            TWAIN_WarningBox("TWAIN_SelectImageSource: Unable to create proxy window");
            return false;
        }
    }
    return SelectThroughManager(chosen.window);
}

BlockHandle TWAIN_AcquireImages(WindowHandle owner, std::uint32_t pixelTypeMask) {
    TwainConnection& twain = Twain();
    twain.lastImage = nullptr;
    twain.imageCount = 0;
    Owner chosen{owner};
    if (!IsWindow(owner)) chosen.window = chosen.proxy = CreateProxyWindow();
    if (!IsWindow(chosen.window)) {
        TWAIN_WarningBox("Unable to create proxy window");
    } else if (StartAcquisition(chosen.window, pixelTypeMask)) {
        EnableWindow(chosen.window, false);
        TWAIN_WaitForImages();
        EnableWindow(chosen.window, true);
    }
    CloseDown(chosen.window);
    return twain.lastImage;
}

void TWAIN_WaitForImages() {
    TwainConnection& twain = Twain();
    MessageQueue& queue = TheMessageQueue();
    while (twain.state >= 5 && twain.lastImage == nullptr) {
        const QuorvaneMessage message = queue.Wait();
        if (message.message == QUORVANE_QUIT_MESSAGE) break;
        if (!TWAIN_FilterMessage(message)) {
            queue.Translate(message);
            queue.Dispatch(message);
        }
    }
}

bool TWAIN_FilterMessage(const QuorvaneMessage& message) {
    TwainConnection& twain = Twain();
    if (twain.state < 5) return false;
    QuorvaneMessage copy = message;
    TW_EVENT event{&copy, MSG_NULL};
    TWAIN_CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    const bool claimed = twain.lastReturnCode == TWRC_DSEVENT;
    if (event.TWMessage == MSG_XFERREADY) {
        twain.state = 6;
        TWAIN_TransferImages();
    } else if (event.TWMessage == MSG_CLOSEDSREQ) {
        TWAIN_StopSource();
    }
    return claimed;
}

void TWAIN_TransferImages() {
    TwainConnection& twain = Twain();
    TWAIN_Check(twain.state == 6);
    do {
        twain.lastImage = TransferOne();
        if (twain.state != 7) return;
        if (twain.lastImage != nullptr) KeepImage(twain.lastImage);
        EndTransfer();
    } while (twain.state == 6);
}

void KeepImage(BlockHandle image) {
    TwainConnection& twain = Twain();
    if (twain.imageCount == MaxAcquiredImages) {
        FreeBlock(image);
        twain.lastImage = twain.images[MaxAcquiredImages - 1];
        return;
    }
    twain.images[twain.imageCount] = image;
    if (twain.notification != nullptr) twain.notification(image, twain.imageCount);
    ++twain.imageCount;
}

BlockHandle TWAIN_SingleTransfer() {
    TwainConnection& twain = Twain();
    if (twain.state != 6) return nullptr;
    BlockHandle image = TransferOne();
    if (twain.state == 7)
        EndTransfer();
    else if (twain.state == 6 && TWAIN_CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &twain.pending))
        twain.state = 5;
    return image;
}

int TWAIN_ImageCount() { return Twain().imageCount; }
BlockHandle TWAIN_ImageAt(int index) { return Twain().images.at(static_cast<std::size_t>(index)); }

void TWAIN_SetImageNotification(ImageNotification notification) { Twain().notification = notification; }

}  // namespace quorvane
