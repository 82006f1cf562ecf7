// The source manager over SANE, loaded by the TWAIN layer as TWAIN_32.DLL:
// every SANE device is a source. The default source is the one the user
// picked last in this run, else the first device SANE lists; each device
// keeps the settings of its window for the rest of the run. The library is
// linked never to be unloaded, so that both outlive the layer's unloading.
#include <sane/sane.h>

#include <QCoreApplication>

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dsm/dsm_host.h"
#include "platform/dsm/sane_source.h"
#include "platform/dsm/select_source_dialog.h"
#include "sources/twain.h"

namespace quorvane::dsm {
namespace {

struct Manager {
    bool open = false;
    std::unique_ptr<SaneSource> source;
    std::optional<DeviceEntry> chosen;  // the device the user picked
    std::map<std::string, SaneOptions::Saved> settings;
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

std::string Describe(const SANE_Device& device) {
    return std::string(device.vendor) + " " + device.model + " (" + device.name + ")";
}

std::vector<DeviceEntry> Devices() {
    const SANE_Device** devices = nullptr;
    std::vector<DeviceEntry> entries;
    if (sane_get_devices(&devices, SANE_FALSE) != SANE_STATUS_GOOD || devices == nullptr) return entries;
    for (; *devices != nullptr; ++devices) entries.push_back({(*devices)->name, Describe(**devices)});
    return entries;
}

void Copy(TW_STR32& target, const std::string& text) {
    std::memset(target, 0, sizeof target);
    std::strncpy(target, text.c_str(), sizeof target - 2);
}

TW_UINT16 OpenManager() {
    Manager& manager = TheManager();
    if (manager.open) return TWRC_SUCCESS;
    SANE_Int version = 0;
    if (sane_init(&version, nullptr) != SANE_STATUS_GOOD) return Fail(TWCC_BUMMER);
    manager.open = true;
    return TWRC_SUCCESS;
}

TW_UINT16 CloseManager() {
    Manager& manager = TheManager();
    if (manager.source) return Fail(TWCC_SEQERROR);
    if (manager.open) sane_exit();
    manager.open = false;
    return TWRC_SUCCESS;
}

// The user's pick among SANE's devices; it needs the program's windows.
TW_UINT16 UserSelect(TW_IDENTITY& identity) {
    Manager& manager = TheManager();
    if (!manager.open) return Fail(TWCC_SEQERROR);
    if (QCoreApplication::instance() == nullptr) return Fail(TWCC_BUMMER);
    const std::vector<DeviceEntry> devices = Devices();
    const std::optional<std::size_t> picked = SelectSource(devices, manager.chosen ? manager.chosen->name : "");
    if (!picked) return TWRC_CANCEL;
    manager.chosen = devices[*picked];
    Copy(identity.ProductName, manager.chosen->name);
    return TWRC_SUCCESS;
}

// The open source for a device: the settings it had earlier in the run.
TW_UINT16 Opened(const DeviceEntry& device, SANE_Handle handle, TW_IDENTITY& identity) {
    Manager& manager = TheManager();
    manager.source = std::make_unique<SaneSource>(handle, device.name, device.description, manager.condition);
    if (const auto saved = manager.settings.find(device.name); saved != manager.settings.end())
        manager.source->Options().Restore(saved->second);
    identity.Id = 1;
    Copy(identity.Manufacturer, "SANE");
    Copy(identity.ProductFamily, "Scanner");
    Copy(identity.ProductName, device.name);
    return TWRC_SUCCESS;
}

// The default source: the user's pick, opened without listing the devices
// again (a network search can take seconds), else the first device listed.
TW_UINT16 OpenSource(TW_IDENTITY& identity) {
    Manager& manager = TheManager();
    if (!manager.open) return Fail(TWCC_SEQERROR);
    if (manager.source) return Fail(TWCC_MAXCONNECTIONS);
    SANE_Handle handle = nullptr;
    if (manager.chosen && sane_open(manager.chosen->name.c_str(), &handle) == SANE_STATUS_GOOD)
        return Opened(*manager.chosen, handle, identity);
    const std::vector<DeviceEntry> devices = Devices();
    const DeviceEntry* device = devices.empty() ? nullptr : &devices.front();
    for (const DeviceEntry& entry : devices)
        if (manager.chosen && entry.name == manager.chosen->name) device = &entry;
    if (device == nullptr) return Fail(TWCC_NODS);
    if (sane_open(device->name.c_str(), &handle) != SANE_STATUS_GOOD) return Fail(TWCC_OPERATIONERROR);
    return Opened(*device, handle, identity);
}

TW_UINT16 CloseSource() {
    Manager& manager = TheManager();
    if (!manager.source) return Fail(TWCC_SEQERROR);
    manager.settings[manager.source->Name()] = manager.source->Options().Save();
    manager.source.reset();
    return TWRC_SUCCESS;
}

TW_UINT16 Status(TW_STATUS& status) {
    status.ConditionCode = TheManager().condition;
    TheManager().condition = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

TW_UINT16 Capability(TW_CAPABILITY& capability, TW_UINT16 message) {
    SaneSource& source = *TheManager().source;
    if (capability.Cap != ICAP_PIXELTYPE) return Fail(TWCC_CAPUNSUPPORTED);
    if (message == MSG_SET) return source.SetPixelTypes(capability);
    return source.GetPixelTypes(capability, message != MSG_GET);
}

TW_UINT16 SourceEntry(TW_UINT32 group, TW_UINT16 argumentType, TW_UINT16 message, TW_MEMREF data) {
    SaneSource& source = *TheManager().source;
    if (group == DG_IMAGE)
        return argumentType == DAT_IMAGENATIVEXFER && message == MSG_GET ? source.Transfer(*static_cast<TW_HANDLE*>(data))
                                                                         : Fail(TWCC_BADPROTOCOL);
    switch (argumentType << 16 | message) {
        case DAT_USERINTERFACE << 16 | MSG_ENABLEDS: return source.Enable(*static_cast<TW_USERINTERFACE*>(data));
        case DAT_USERINTERFACE << 16 | MSG_DISABLEDS: return source.Disable();
        case DAT_EVENT << 16 | MSG_PROCESSEVENT: return source.ProcessEvent(*static_cast<TW_EVENT*>(data));
        case DAT_PENDINGXFERS << 16 | MSG_ENDXFER: return source.EndTransfer(*static_cast<TW_PENDINGXFERS*>(data));
        case DAT_PENDINGXFERS << 16 | MSG_RESET: return source.Reset(*static_cast<TW_PENDINGXFERS*>(data));
        case DAT_STATUS << 16 | MSG_GET: return Status(*static_cast<TW_STATUS*>(data));
        case DAT_CAPABILITY << 16 | MSG_GET:
        case DAT_CAPABILITY << 16 | MSG_GETCURRENT:
        case DAT_CAPABILITY << 16 | MSG_GETDEFAULT:
        case DAT_CAPABILITY << 16 | MSG_SET: return Capability(*static_cast<TW_CAPABILITY*>(data), message);
    }
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 Entry(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 argumentType, TW_UINT16 message,
                TW_MEMREF data) {
    if (destination != nullptr) {
        if (!TheManager().source) return Fail(TWCC_BADDEST);
        return SourceEntry(group, argumentType, message, data);
    }
    if (group != DG_CONTROL) return Fail(TWCC_BADPROTOCOL);
    switch (argumentType << 16 | message) {
        case DAT_PARENT << 16 | MSG_OPENDSM: return OpenManager();
        case DAT_PARENT << 16 | MSG_CLOSEDSM: return CloseManager();
        case DAT_IDENTITY << 16 | MSG_USERSELECT: return UserSelect(*static_cast<TW_IDENTITY*>(data));
        case DAT_IDENTITY << 16 | MSG_OPENDS: return OpenSource(*static_cast<TW_IDENTITY*>(data));
        case DAT_IDENTITY << 16 | MSG_CLOSEDS: return CloseSource();
        case DAT_STATUS << 16 | MSG_GET: return Status(*static_cast<TW_STATUS*>(data));
    }
    return Fail(TWCC_BADPROTOCOL);
}

}  // namespace
}  // namespace quorvane::dsm

extern "C" __attribute__((visibility("default"))) TW_UINT16 DSM_Entry(TW_IDENTITY*, TW_IDENTITY* destination,
                                                                      TW_UINT32 group, TW_UINT16 argumentType,
                                                                      TW_UINT16 message, TW_MEMREF data) {
    if (data == nullptr && argumentType != DAT_PARENT) return quorvane::dsm::Fail(TWCC_BADVALUE);
    return quorvane::dsm::Entry(destination, group, argumentType, message, data);
}
