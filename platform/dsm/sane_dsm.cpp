// The source manager over SANE, loaded by the TWAIN layer as TWAIN_32.DLL:
// every SANE device is a source, the default one is the first device SANE
// lists. A source posts its events to the application's queue and reads
// each page by native transfer (sane_page.h).
#include <sane/sane.h>

#include <cstring>
#include <string>

#include "platform/dsm/dsm_host.h"
#include "platform/dsm/sane_page.h"
#include "sources/twain.h"

namespace quorvane::dsm {
namespace {

struct Manager {
    bool open = false;
    SANE_Handle device = nullptr;
    bool started = false;  // sane_start succeeded for the page to transfer next
    uintptr_t window = 0;
    TW_UINT16 condition = TWCC_SUCCESS;
};

Manager& TheManager() {
    static Manager manager;
    return manager;
}

TW_UINT16 Fail(TW_UINT16 condition) {
    TheManager().condition = condition;
    return TWRC_FAILURE;
}

TW_UINT16 Condition(SANE_Status status) {
    switch (status) {
        case SANE_STATUS_JAMMED: return TWCC_PAPERJAM;
        case SANE_STATUS_NO_MEM: return TWCC_LOWMEMORY;
        case SANE_STATUS_DEVICE_BUSY:
        case SANE_STATUS_COVER_OPEN: return TWCC_CHECKDEVICEONLINE;
        default: return TWCC_OPERATIONERROR;
    }
}

void Post(TW_UINT16 message) {
    QuorvanePostMessage(TheManager().window, QUORVANE_SOURCE_MESSAGE, message, 0);
}

void Stop() {
    Manager& manager = TheManager();
    if (manager.device != nullptr) sane_cancel(manager.device);
    manager.started = false;
}

TW_UINT16 OpenManager() {
    SANE_Int version = 0;
    if (sane_init(&version, nullptr) != SANE_STATUS_GOOD) return Fail(TWCC_BUMMER);
    TheManager().open = true;
    return TWRC_SUCCESS;
}

TW_UINT16 CloseManager() {
    Manager& manager = TheManager();
    if (manager.device != nullptr) return Fail(TWCC_SEQERROR);
    sane_exit();
    manager.open = false;
    return TWRC_SUCCESS;
}

TW_UINT16 OpenSource(TW_IDENTITY& identity) {
    Manager& manager = TheManager();
    const SANE_Device** devices = nullptr;
    if (manager.device != nullptr) return Fail(TWCC_MAXCONNECTIONS);
    if (sane_get_devices(&devices, SANE_TRUE) != SANE_STATUS_GOOD || devices == nullptr || devices[0] == nullptr)
        return Fail(TWCC_NODS);
    const SANE_Device& device = *devices[0];
    if (sane_open(device.name, &manager.device) != SANE_STATUS_GOOD) {
        manager.device = nullptr;
        return Fail(TWCC_OPERATIONERROR);
    }
    identity.Id = 1;
    std::strncpy(identity.Manufacturer, device.vendor, sizeof identity.Manufacturer - 1);
    std::strncpy(identity.ProductFamily, device.model, sizeof identity.ProductFamily - 1);
    std::strncpy(identity.ProductName, device.name, sizeof identity.ProductName - 1);
    return TWRC_SUCCESS;
}

TW_UINT16 CloseSource() {
    Manager& manager = TheManager();
    if (manager.device == nullptr) return Fail(TWCC_SEQERROR);
    Stop();
    sane_close(manager.device);
    manager.device = nullptr;
    return TWRC_SUCCESS;
}

// Without a window of its own yet, the source scans at once either way.
TW_UINT16 Enable(const TW_USERINTERFACE& userInterface) {
    TheManager().window = reinterpret_cast<uintptr_t>(userInterface.hParent);
    Post(MSG_XFERREADY);
    return TWRC_SUCCESS;
}

TW_UINT16 ProcessEvent(TW_EVENT& event) {
    const auto* message = static_cast<const QuorvaneMessage*>(event.pEvent);
    if (message == nullptr || message->message != QUORVANE_SOURCE_MESSAGE) {
        event.TWMessage = MSG_NULL;
        return TWRC_NOTDSEVENT;
    }
    event.TWMessage = static_cast<TW_UINT16>(message->wParam);
    return TWRC_DSEVENT;
}

TW_UINT16 Transfer(TW_HANDLE& image) {
    Manager& manager = TheManager();
    if (!manager.started) {
        const SANE_Status status = sane_start(manager.device);
        if (status == SANE_STATUS_CANCELLED) return TWRC_CANCEL;
        if (status != SANE_STATUS_GOOD) return Fail(Condition(status));
        manager.started = true;
    }
    const PageResult page = ReadPage(manager.device);
    manager.started = false;
    if (page.status == SANE_STATUS_CANCELLED) return TWRC_CANCEL;
    if (page.status != SANE_STATUS_GOOD) return Fail(Condition(page.status));
    image = page.block;
    return TWRC_XFERDONE;
}

// More pages are pending while the device starts another one (a feeder with paper).
TW_UINT16 EndTransfer(TW_PENDINGXFERS& pending) {
    Manager& manager = TheManager();
    manager.started = sane_start(manager.device) == SANE_STATUS_GOOD;
    pending.Count = manager.started ? 1 : 0;
    if (!manager.started) {
        Stop();
        Post(MSG_CLOSEDSREQ);
    }
    return TWRC_SUCCESS;
}

TW_UINT16 Reset(TW_PENDINGXFERS& pending) {
    Stop();
    pending.Count = 0;
    Post(MSG_CLOSEDSREQ);
    return TWRC_SUCCESS;
}

TW_UINT16 Status(TW_STATUS& status) {
    status.ConditionCode = TheManager().condition;
    TheManager().condition = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

TW_UINT16 Entry(TW_UINT32 group, TW_UINT16 argumentType, TW_UINT16 message, TW_MEMREF data) {
    const bool sourceOpen = TheManager().device != nullptr;
    if (group == DG_IMAGE && argumentType == DAT_IMAGENATIVEXFER && message == MSG_GET && sourceOpen)
        return Transfer(*static_cast<TW_HANDLE*>(data));
    if (group != DG_CONTROL) return Fail(TWCC_BADPROTOCOL);
    switch (argumentType << 16 | message) {
        case DAT_PARENT << 16 | MSG_OPENDSM: return OpenManager();
        case DAT_PARENT << 16 | MSG_CLOSEDSM: return CloseManager();
        case DAT_IDENTITY << 16 | MSG_USERSELECT: return TWRC_CANCEL;
        case DAT_IDENTITY << 16 | MSG_OPENDS: return OpenSource(*static_cast<TW_IDENTITY*>(data));
        case DAT_IDENTITY << 16 | MSG_CLOSEDS: return CloseSource();
        case DAT_STATUS << 16 | MSG_GET: return Status(*static_cast<TW_STATUS*>(data));
    }
    if (!sourceOpen) return Fail(TWCC_SEQERROR);
    switch (argumentType << 16 | message) {
        case DAT_USERINTERFACE << 16 | MSG_ENABLEDS: return Enable(*static_cast<TW_USERINTERFACE*>(data));
        case DAT_USERINTERFACE << 16 | MSG_DISABLEDS: return TWRC_SUCCESS;
        case DAT_EVENT << 16 | MSG_PROCESSEVENT: return ProcessEvent(*static_cast<TW_EVENT*>(data));
        case DAT_PENDINGXFERS << 16 | MSG_ENDXFER: return EndTransfer(*static_cast<TW_PENDINGXFERS*>(data));
        case DAT_PENDINGXFERS << 16 | MSG_RESET: return Reset(*static_cast<TW_PENDINGXFERS*>(data));
        case DAT_CAPABILITY << 16 | MSG_GET:
        case DAT_CAPABILITY << 16 | MSG_SET: return Fail(TWCC_CAPUNSUPPORTED);
    }
    return Fail(TWCC_BADPROTOCOL);
}

}  // namespace
}  // namespace quorvane::dsm

extern "C" __attribute__((visibility("default"))) TW_UINT16 DSM_Entry(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32 group,
                                                                      TW_UINT16 argumentType, TW_UINT16 message,
                                                                      TW_MEMREF data) {
    if (data == nullptr && argumentType != DAT_PARENT) return quorvane::dsm::Fail(TWCC_BADVALUE);
    return quorvane::dsm::Entry(group, argumentType, message, data);
}
