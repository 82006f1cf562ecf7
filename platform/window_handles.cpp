#include "platform/window_handles.h"

#include <map>

#include "platform/services.h"

namespace quorvane {
namespace {

struct Window {
    std::string title;
    bool enabled = true;
    WindowProcedure procedure;
};

// Touched on the user-interface thread only.
std::map<WindowHandle, Window>& Windows() {
    static std::map<WindowHandle, Window> windows;
    return windows;
}
WindowHandle LastHandle = 0;

WarningBoxPresenter& Presenter() {
    static WarningBoxPresenter presenter;
    return presenter;
}

}  // namespace

WindowHandle CreateWindowHandle(const std::string& title) {
    const WindowHandle window = ++LastHandle;
    Windows().emplace(window, Window{title, true, {}});
    return window;
}

WindowHandle CreateProxyWindow() { return CreateWindowHandle("Acquire Proxy"); }

bool IsWindow(WindowHandle window) { return Windows().contains(window); }

void EnableWindow(WindowHandle window, bool enabled) {
    const auto found = Windows().find(window);
    if (found != Windows().end()) found->second.enabled = enabled;
}

bool IsWindowEnabled(WindowHandle window) {
    const auto found = Windows().find(window);
    return found != Windows().end() && found->second.enabled;
}

std::string WindowTitle(WindowHandle window) {
    const auto found = Windows().find(window);
    return found == Windows().end() ? std::string() : found->second.title;
}

void DestroyWindow(WindowHandle window) { Windows().erase(window); }

void SetWindowProcedure(WindowHandle window, WindowProcedure procedure) {
    const auto found = Windows().find(window);
    if (found != Windows().end()) found->second.procedure = std::move(procedure);
}

void DispatchToWindow(const QuorvaneMessage& message) {
    const auto found = Windows().find(message.window);
    if (found == Windows().end() || !found->second.procedure) return;
    const WindowProcedure procedure = found->second.procedure;
    procedure(message);
}

void ShowWarningBox(const WarningBox& box) {
    if (Presenter()) {
        Presenter()(box);
        return;
    }
    if (TheServices().messages != nullptr) TheServices().messages->ShowMessage(box.text);
}

void SetWarningBoxPresenter(WarningBoxPresenter presenter) { Presenter() = std::move(presenter); }

}  // namespace quorvane

extern "C" int QuorvaneIsWindow(uintptr_t window) { return quorvane::IsWindow(window) ? 1 : 0; }
