// Window handles for the image sources: small numbers naming windows the
// TWAIN layer and the source manager pass around (the layer's proxy window,
// a parent for a source's dialogs). A window can be tested, enabled,
// disabled and destroyed, and receives the messages dispatched to it.
// Also the warning boxes without an owner that the TWAIN layer shows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/dsm/dsm_host.h"

namespace quorvane {

using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle NoWindow = 0;

WindowHandle CreateWindowHandle(const std::string& title);
// The visible pop-up "Acquire Proxy" the TWAIN layer uses when it is given no owner.
WindowHandle CreateProxyWindow();
bool IsWindow(WindowHandle window);
void EnableWindow(WindowHandle window, bool enabled);
bool IsWindowEnabled(WindowHandle window);
std::string WindowTitle(WindowHandle window);
void DestroyWindow(WindowHandle window);

// What a window does with a message dispatched to it.
using WindowProcedure = std::function<void(const QuorvaneMessage&)>;
void SetWindowProcedure(WindowHandle window, WindowProcedure procedure);
// Hands the message to its window's procedure; nothing for other windows.
void DispatchToWindow(const QuorvaneMessage& message);

// A box without owner window: caption, text, a warning icon or none, an OK
// button. Shown through the message service until a program installs its own.
struct WarningBox {
    std::string caption;
    std::string text;
    bool warningIcon;
};
using WarningBoxPresenter = std::function<void(const WarningBox&)>;
void ShowWarningBox(const WarningBox& box);
// Installs a presenter; an empty one goes back to the message service.
void SetWarningBoxPresenter(WarningBoxPresenter presenter);

}  // namespace quorvane
