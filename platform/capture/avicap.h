// The capture service as its clients see it: driver descriptions by number,
// capture windows bound to a driver, and the capture messages sent to them.
//
// A result whose low byte is not 0 means success. Pointers and functions
// travel in lParam, as the messages define. Frames reach a client's video
// stream function with the picture in Bitmap layout (rows from the top,
// blue-green-red, rows padded to four bytes); the wave stream never fires, as
// there is no sound capture.
#pragma once

#include <cstdint>

#include "platform/capture/capture_window.h"

namespace quorvane {

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using BOOL = std::int32_t;
using DWORD = std::uint32_t;
using HWND = CaptureServiceWindow*;

inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;

inline constexpr UINT WM_CAP_SET_CALLBACK_STATUSA = 1027;
inline constexpr UINT WM_CAP_SET_CALLBACK_VIDEOSTREAM = 1030;
inline constexpr UINT WM_CAP_SET_CALLBACK_WAVESTREAM = 1031;
inline constexpr UINT WM_CAP_GET_USER_DATA = 1032;
inline constexpr UINT WM_CAP_SET_USER_DATA = 1033;
inline constexpr UINT WM_CAP_DRIVER_CONNECT = 1034;
inline constexpr UINT WM_CAP_DRIVER_DISCONNECT = 1035;
inline constexpr UINT WM_CAP_DRIVER_GET_CAPS = 1038;
inline constexpr UINT WM_CAP_FILE_SAVEDIBA = 1049;
inline constexpr UINT WM_CAP_SET_PREVIEW = 1074;
inline constexpr UINT WM_CAP_SET_OVERLAY = 1075;
inline constexpr UINT WM_CAP_SET_PREVIEWRATE = 1076;
inline constexpr UINT WM_CAP_SET_SCALE = 1077;
inline constexpr UINT WM_CAP_GET_STATUS = 1078;
inline constexpr UINT WM_CAP_GRAB_FRAME = 1084;

// The status callback's nID when the connected device disappears; the
// preview has then ended and the window holds the last frame.
inline constexpr int CaptureStatusDeviceLost = 1;
inline constexpr const char* CaptureStatusDeviceLostText = "The capture device has been disconnected";

// The driver's capabilities (44 bytes, handles held in 32 bits).
struct CAPDRIVERCAPS {
    UINT wDeviceIndex;
    BOOL fHasOverlay;
    BOOL fHasDlgVideoSource;
    BOOL fHasDlgVideoFormat;
    BOOL fHasDlgVideoDisplay;
    BOOL fCaptureInitialized;
    BOOL fDriverSuppliesPalettes;
    std::uint32_t hVideoIn;
    std::uint32_t hVideoOut;
    std::uint32_t hVideoExtIn;
    std::uint32_t hVideoExtOut;
};
static_assert(sizeof(CAPDRIVERCAPS) == 44);

struct CaptureScrollPoint {
    std::int32_t x;
    std::int32_t y;
};

// The capture window's status (76 bytes, the palette handle held in 32 bits).
struct CAPSTATUS {
    UINT uiImageWidth;
    UINT uiImageHeight;
    BOOL fLiveWindow;
    BOOL fOverlayWindow;
    BOOL fScale;
    CaptureScrollPoint ptScroll;
    BOOL fUsingDefaultPalette;
    BOOL fAudioHardware;
    BOOL fCapFileExists;
    DWORD dwCurrentVideoFrame;
    DWORD dwCurrentVideoFramesDropped;
    DWORD dwCurrentWaveSamples;
    DWORD dwCurrentTimeElapsedMS;
    std::uint32_t hPalCurrent;
    BOOL fCapturingNow;
    DWORD dwReturn;
    UINT wNumVideoAllocated;
    UINT wNumAudioAllocated;
};
static_assert(sizeof(CAPSTATUS) == 76);

// The header of a frame handed to the video stream function.
struct VIDEOHDR {
    std::uint8_t* lpData;
    DWORD dwBufferLength;
    DWORD dwBytesUsed;
    DWORD dwTimeCaptured;  // milliseconds since the driver connected
    std::uintptr_t dwUser;
    DWORD dwFlags;
    std::uintptr_t dwReserved[4];
};
using PVIDEOHDR = VIDEOHDR*;

// The header of a sound buffer handed to the wave stream function.
struct WAVEHDR {
    char* lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    std::uintptr_t dwUser;
    DWORD dwFlags;
    DWORD dwLoops;
    WAVEHDR* lpNext;
    std::uintptr_t reserved;
};
using PWaveHdr = WAVEHDR*;

using CapStatusCallback = LRESULT (*)(HWND window, int nID, const char* text);
using CapVideoStreamCallback = LRESULT (*)(HWND window, PVIDEOHDR header);
using CapWaveStreamCallback = LRESULT (*)(HWND window, PWaveHdr header);

// Driver 0 to 9: its description and version text, each cut to fit its
// buffer (size counted with the terminating zero). False for an empty slot;
// the buffers are then left alone.
bool capGetDriverDescriptionA(UINT wDriverIndex, char* lpszName, int cbName, char* lpszVer, int cbVer);

// A capture window inside `hwndParent`, not yet bound to a driver; nothing
// when the parent cannot hold one.
HWND capCreateCaptureWindowA(const char* lpszWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                             CaptureParent* hwndParent, int nID);

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint);
// Disconnects the window's driver and frees the window.
bool DestroyWindow(HWND window);

}  // namespace quorvane
