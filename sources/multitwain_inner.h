// The TWAIN layer's process-wide state and inner steps, shared by the
// layer's files. Each step acts only in its own state (see the comments).
#pragma once

#include <array>

#include "platform/dynamic_library.h"
#include "sources/multitwain.h"

namespace quorvane {

struct TwainConnection {
    int state = 1;
    LibraryHandle library = nullptr;
    DSMENTRYPROC entry = nullptr;
    TW_IDENTITY application{};
    TW_IDENTITY source{};
    TW_USERINTERFACE userInterface{};
    TW_PENDINGXFERS pending{};
    TW_UINT16 lastReturnCode = TWRC_SUCCESS;
    WindowHandle parent = NoWindow;
    BlockHandle lastImage = nullptr;
    std::array<BlockHandle, MaxAcquiredImages> images{};
    int imageCount = 0;
    bool hideInterface = false;
    ImageNotification notification = nullptr;
};

TwainConnection& Twain();
// The identity every triplet comes from, as the layer starts with it.
TW_IDENTITY DefaultApplicationIdentity();

inline constexpr const char* SourceManagerFile = "TWAIN_32.DLL";

bool TWAIN_LoadManager();                        // 1 -> 2
bool TWAIN_OpenManager(WindowHandle owner);      // -> 3
bool TWAIN_OpenChosenSource();                   // 3 -> 4
bool TWAIN_LimitPixelTypes(std::uint32_t mask);  // 4
bool TWAIN_StartSource(WindowHandle owner);      // 4 -> 5
void TWAIN_WaitForImages();                      // 5 and up
bool TWAIN_FilterMessage(const QuorvaneMessage& message);
void TWAIN_TransferImages();             // 6 -> 5 (or 7 when ending fails)
bool TWAIN_StopSource();                 // 5 -> 4
bool TWAIN_ReleaseSource();              // 4 -> 3
bool TWAIN_CloseManager(WindowHandle owner);  // 3 -> 2
bool TWAIN_UnloadManager();              // 2 -> 1
bool TWAIN_CallManager(TW_UINT32 group, TW_UINT16 argumentType, TW_UINT16 message, TW_MEMREF data);
bool TWAIN_CallSource(TW_UINT32 group, TW_UINT16 argumentType, TW_UINT16 message, TW_MEMREF data);
void TWAIN_WarningBox(const std::string& text);
void TWAIN_Check(bool condition);

// Puts a completed image into the list; beyond the list's room it is released.
void KeepImage(BlockHandle image);

}  // namespace quorvane
