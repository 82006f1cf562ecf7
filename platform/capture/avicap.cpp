#include "platform/capture/avicap.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace quorvane {

namespace {

void CopyText(const std::string& text, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace

bool capGetDriverDescriptionA(UINT wDriverIndex, char* lpszName, int cbName, char* lpszVer, int cbVer) {
    if (wDriverIndex >= static_cast<UINT>(CaptureSlotCount)) return false;
    const auto description = TheCaptureDevices().Describe(static_cast<int>(wDriverIndex));
    if (!description) return false;
    CopyText(description->name, lpszName, cbName);
    CopyText(description->version, lpszVer, cbVer);
    return true;
}

HWND capCreateCaptureWindowA(const char* lpszWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                             CaptureParent* hwndParent, int nID) {
    if (hwndParent == nullptr) return nullptr;
    auto window = std::make_unique<CaptureServiceWindow>(lpszWindowName != nullptr ? lpszWindowName : "");
    auto host = hwndParent->CreateCaptureHost(*window);
    if (!host) return nullptr;
    window->AttachHost(std::move(host), (dwStyle & WS_VISIBLE) != 0);
    window->Move(x, y, nWidth, nHeight, true);
    return window.release();
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return window != nullptr ? window->Handle(message, wParam, lParam) : 0;
}

bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) {
    if (window == nullptr) return false;
    window->Move(x, y, width, height, repaint);
    return true;
}

bool DestroyWindow(HWND window) {
    if (window == nullptr) return false;
    delete window;
    return true;
}

}  // namespace quorvane
