// The connection to the source manager: loading it, sending triplets,
// opening and closing the manager and the source, and the layer's boxes.
#include <algorithm>
#include <cstring>

#include "sources/multitwain_inner.h"

namespace quorvane {
namespace {

void CopyText(TW_STR32& target, const std::string& text) {
    std::memset(target, 0, sizeof target);
    std::strncpy(target, text.c_str(), sizeof target - 2);
}

bool Send(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 argumentType, TW_UINT16 message,
          TW_MEMREF data) {
    TwainConnection& twain = Twain();
    twain.lastReturnCode = TWRC_FAILURE;
    if (twain.entry != nullptr)
        twain.lastReturnCode = twain.entry(&twain.application, destination, group, argumentType, message, data);
    return twain.lastReturnCode == TWRC_SUCCESS;
}

// Everything of the application's identity but the Id the source manager gives it.
void DescribeApplication(TW_IDENTITY& identity, int majorVersion, int minorVersion, int language, int country,
                         const std::string& version, const std::string& manufacturer, const std::string& family,
                         const std::string& product) {
    identity.Version.MajorNum = static_cast<TW_UINT16>(majorVersion);
    identity.Version.MinorNum = static_cast<TW_UINT16>(minorVersion);
    identity.Version.Language = static_cast<TW_UINT16>(language);
    identity.Version.Country = static_cast<TW_UINT16>(country);
    CopyText(identity.Version.Info, version);
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 6;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(identity.Manufacturer, manufacturer);
    CopyText(identity.ProductFamily, family);
    CopyText(identity.ProductName, product);
}

}  // namespace

TW_IDENTITY DefaultApplicationIdentity() {
    TW_IDENTITY identity{};
    DescribeApplication(identity, 1, 0, TWLG_USA, TWCY_USA, "<?>", "<?>", "<?>", "<?>");
    return identity;
}

TwainConnection& Twain() {
    static TwainConnection connection{.application = DefaultApplicationIdentity()};
    return connection;
}

void TWAIN_RegisterApp(int majorVersion, int minorVersion, int language, int country, const std::string& version,
                       const std::string& manufacturer, const std::string& family, const std::string& product) {
    DescribeApplication(Twain().application, majorVersion, minorVersion, language, country, version, manufacturer,
                        family, product);
}

void TWAIN_WarningBox(const std::string& text) { ShowWarningBox({"TWAIN Error", text, true}); }

void TWAIN_ReportLastError(const std::string& text) { TWAIN_WarningBox(text); }

void TWAIN_Check(bool condition) {
    if (!condition) ShowWarningBox({"MultiTWAIN", "Assertion failed", false});
}

bool TWAIN_CallManager(TW_UINT32 group, TW_UINT16 argumentType, TW_UINT16 message, TW_MEMREF data) {
    return Send(nullptr, group, argumentType, message, data);
}

bool TWAIN_CallSource(TW_UINT32 group, TW_UINT16 argumentType, TW_UINT16 message, TW_MEMREF data) {
    TWAIN_Check(Twain().state >= 4);
    return Send(&Twain().source, group, argumentType, message, data);
}

bool TWAIN_LoadManager() {
    TwainConnection& twain = Twain();
    if (twain.state >= 2) return true;
    std::string path = SourceManagerFolder();
    if (!path.empty() && path.back() != '/') path += '/';
    path += SourceManagerFile;
    LibraryHandle library = FileExists(path) ? LoadDynamicLibrary(path) : nullptr;
    if (library != nullptr) {
        auto* entry = reinterpret_cast<DSMENTRYPROC>(FindExport(library, "DSM_Entry"));
        if (entry != nullptr) {
            twain.library = library;
            twain.entry = entry;
            twain.state = 2;
        } else {
            FreeDynamicLibrary(library);
        }
    }
    return twain.state >= 2;
}

bool TWAIN_OpenManager(WindowHandle owner) {
    TwainConnection& twain = Twain();
    twain.parent = owner;
    if (TWAIN_LoadManager() && TWAIN_CallManager(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &twain.parent))
        twain.state = std::max(twain.state, 3);
    return twain.state >= 3;
}

bool TWAIN_OpenChosenSource() {
    TwainConnection& twain = Twain();
    if (twain.state != 3) return false;
    twain.source.Id = 0;
    twain.source.ProductName[0] = '\0';
    if (TWAIN_CallManager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &twain.source)) twain.state = 4;
    return twain.state == 4;
}

bool TWAIN_StartSource(WindowHandle owner) {
    TwainConnection& twain = Twain();
    if (twain.state != 4) return false;
    twain.userInterface.ShowUI = twain.hideInterface ? 0 : 1;
    twain.userInterface.ModalUI = 0;
    twain.userInterface.hParent = reinterpret_cast<TW_HANDLE>(owner);
    TWAIN_CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &twain.userInterface);
    if (twain.lastReturnCode == TWRC_FAILURE) return false;
    twain.state = 5;
    return true;
}

bool TWAIN_StopSource() {
    TwainConnection& twain = Twain();
    if (twain.state == 5 && TWAIN_CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &twain.userInterface))
        twain.state = 4;
    return twain.state <= 4;
}

bool TWAIN_ReleaseSource() {
    TwainConnection& twain = Twain();
    if (twain.state == 5) TWAIN_StopSource();
    if (twain.state == 4 && TWAIN_CallManager(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &twain.source)) twain.state = 3;
    return twain.state <= 3;
}

bool TWAIN_CloseManager(WindowHandle owner) {
    TwainConnection& twain = Twain();
    TWAIN_ReleaseSource();
    twain.parent = owner;
    if (twain.state <= 3 && TWAIN_CallManager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &twain.parent)) twain.state = 2;
    return twain.state <= 2;
}

bool TWAIN_UnloadManager() {
    TwainConnection& twain = Twain();
    if (twain.state == 2) {
        FreeDynamicLibrary(twain.library);
        twain.library = nullptr;
        twain.entry = nullptr;
        twain.state = 1;
    }
    return twain.state == 1;
}

int TWAIN_State() { return Twain().state; }
TW_UINT16 TWAIN_ResultCode() { return Twain().lastReturnCode; }
int TWAIN_LayerVersion() { return 106; }
void TWAIN_SetHideInterface(bool hide) { Twain().hideInterface = hide; }
bool TWAIN_HideInterface() { return Twain().hideInterface; }

int TWAIN_ConditionCode() {
    TW_STATUS status{};
    const int state = Twain().state;
    if (state >= 4) return TWAIN_CallSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status) ? status.ConditionCode : -1;
    if (state == 3) return TWAIN_CallManager(DG_CONTROL, DAT_STATUS, MSG_GET, &status) ? status.ConditionCode : -1;
    return -1;
}

}  // namespace quorvane
