// The services through which the engine talks to the user.
//
// The editor installs Qt implementations (platform/qt/), the tests a scripted
// double, quorvane-batch a console one. Texts are the system's own, "\r\n"
// line breaks included; only a display turns them into line breaks.
#pragma once

#include <optional>
#include <string>

#include "platform/bitmap.h"

namespace quorvane {

class MessageService {
public:
    virtual ~MessageService() = default;
    // An information box with one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A confirmation box with Yes and No; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // The top-level error box, titled with the application title.
    virtual void ShowError(const std::string& text) = 0;
    virtual void Beep() = 0;
};

// A file dialog as the system describes one: filter in the form
// "Description|*.a;*.b|Other|*.c", default extension without the dot.
struct FileDialogRequest {
    std::string filter;
    std::string defaultExtension;
    bool previewPicture = false;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen path, or nothing when the user cancelled. Each dialog opens
    // with an empty file name.
    virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
    // The save dialog appends the default extension to a name typed without one.
    virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
};

class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    // Replaces the clipboard's content with the picture.
    virtual void SetImage(const Bitmap& image) = 0;
    // The clipboard's picture, or nothing when it holds none.
    virtual std::optional<Bitmap> Image() = 0;
};

class CursorService {
public:
    virtual ~CursorService() = default;
    virtual void SetBusy(bool busy) = 0;
};

struct Services {
    MessageService* messages = nullptr;
    FileDialogService* fileDialogs = nullptr;
    ClipboardService* clipboard = nullptr;
    CursorService* cursor = nullptr;
};

// The services in force. Until a program installs its own, messages go to
// standard error, questions are answered No, and there is no clipboard.
Services& TheServices();

// Shows the busy cursor for its lifetime, also when the work throws.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The application's title: the caption of the main window and of the error box.
inline constexpr const char* ApplicationTitle = "Quorvane";

// The error box's text for a message: the message with a full stop added when
// it does not end in one.
std::string ErrorBoxText(const std::string& message);

// Runs one command; an exception it does not handle ends it and is shown in
// the error box. Returns false when the command ended in an error.
template <typename Command>
bool RunGuarded(Command&& command);

void ReportError(const std::exception& error);
void ReportUnknownError();

template <typename Command>
bool RunGuarded(Command&& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        ReportError(error);
    } catch (...) {
        ReportUnknownError();
    }
    return false;
}

}  // namespace quorvane
