// The MultiTWAIN unit: the application's one connection to scanners and
// cameras through a TWAIN source manager, as plain functions over
// process-wide state. The layer reports its own failures in warning boxes;
// its caller learns how many images arrived. Each image is a DIB in a
// movable memory block (sources/multitwain_dib.h) that belongs to the caller.
#pragma once

#include <cstdint>
#include <string>

#include "platform/memory_blocks.h"
#include "platform/window_handles.h"
#include "sources/twain.h"

namespace quorvane {

// The most images one acquisition keeps; further ones are released.
inline constexpr int MaxAcquiredImages = 999;

// Shows the manager's source-selection dialog; true when the user picked a
// source, which becomes the manager's default.
bool TWAIN_SelectImageSource(WindowHandle owner);
// Runs one acquisition from the default source and fills the image list.
// `pixelTypeMask` has bit n for TWAIN pixel type n; 0 accepts any. Returns
// the last image, or null.
BlockHandle TWAIN_AcquireImages(WindowHandle owner, std::uint32_t pixelTypeMask);
int TWAIN_ImageCount();
BlockHandle TWAIN_ImageAt(int index);
void TWAIN_ReportLastError(const std::string& text);

// Operations no command calls.
void TWAIN_RegisterApp(int majorVersion, int minorVersion, int language, int country, const std::string& version,
                       const std::string& manufacturer, const std::string& family, const std::string& product);
// Acquires and puts the last image on the clipboard; true when placed. The
// image is released either way, as the clipboard keeps its own copy.
bool TWAIN_AcquireToClipboard(WindowHandle owner, std::uint32_t pixelTypeMask);
// Acquires and writes the last image with DIB_WriteFile; -1 when no image
// arrived, else DIB_WriteFile's result. The image is released afterwards.
int TWAIN_AcquireToFilename(WindowHandle owner, const std::string& name);
// Called after each completed image with its handle and its index in the list.
using ImageNotification = void (*)(BlockHandle image, int index);
void TWAIN_SetImageNotification(ImageNotification notification);
// Whether the source manager can be loaded; found out once per process.
bool TWAIN_IsAvailable();
int TWAIN_LayerVersion();
int TWAIN_State();
// When set, enabling a source asks it not to show its interface.
void TWAIN_SetHideInterface(bool hide);
bool TWAIN_HideInterface();
// One native transfer from state 6 without the loop: the image or null.
BlockHandle TWAIN_SingleTransfer();
// CAP_XFERCOUNT, ICAP_UNITS, ICAP_BITDEPTH and ICAP_PIXELTYPE, in state 4.
bool TWAIN_SetCapability(TW_UINT16 capability, std::int32_t value);
// ICAP_UNITS, ICAP_BITDEPTH and ICAP_PIXELTYPE, from state 4.
bool TWAIN_GetCapabilityValue(TW_UINT16 capability, TW_UINT16 itemType, std::uint32_t& value);
TW_UINT16 TWAIN_ResultCode();
// The condition code of the source (from state 4) or the manager (state 3);
// -1 when there is nothing to ask or the question failed.
int TWAIN_ConditionCode();

}  // namespace quorvane
