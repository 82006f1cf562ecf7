#include "platform/services.h"

#include <cstdio>
#include <new>

#include "platform/dsm/dsm_host.h"

namespace quorvane {

namespace {

class ConsoleMessages final : public MessageService {
public:
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool Confirm(const std::string& text) override {
        std::fprintf(stderr, "%s (answered No)\n", text.c_str());
        return false;
    }
    void ShowError(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void Beep() override {}
};

class NoFileDialogs final : public FileDialogService {
public:
    std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }
};

class NoClipboard final : public ClipboardService {
public:
    void SetImage(const Bitmap&) override {}
    std::optional<Bitmap> Image() override { return std::nullopt; }
};

class NoCursor final : public CursorService {
public:
    void SetBusy(bool) override {}
};

Services& Defaults() {
    static ConsoleMessages messages;
    static NoFileDialogs dialogs;
    static NoClipboard clipboard;
    static NoCursor cursor;
    static Services services{&messages, &dialogs, &clipboard, &cursor};
    return services;
}

}  // namespace

Services& TheServices() {
    static Services& services = Defaults();
    return services;
}

BusyCursor::BusyCursor() { TheServices().cursor->SetBusy(true); }
BusyCursor::~BusyCursor() { TheServices().cursor->SetBusy(false); }

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && message.back() == '.') return message;
    return message + ".";
}

void ReportError(const std::exception& error) {
    const bool outOfMemory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
    TheServices().messages->ShowError(ErrorBoxText(outOfMemory ? "Out of memory" : error.what()));
}

void ReportUnknownError() { TheServices().messages->ShowError(ErrorBoxText("Unknown error")); }

}  // namespace quorvane

extern "C" void QuorvaneShowMessage(const char* text) {
    quorvane::TheServices().messages->ShowMessage(text != nullptr ? text : "");
}
