// An open source: one SANE device with its window, its pages and its
// capabilities. Pages are read off the caller's thread (off_thread.h) so the
// program's windows stay live, and Close cancels a page being read.
#pragma once

#include <sane/sane.h>

#include <atomic>
#include <memory>
#include <string>

#include "platform/dsm/sane_options.h"
#include "platform/dsm/sane_page.h"
#include "sources/twain.h"

namespace quorvane::dsm {

class SourceWindow;

class SaneSource {
public:
    // `condition` is where a failing operation leaves its condition code.
    SaneSource(SANE_Handle device, std::string name, std::string description, TW_UINT16& condition);
    ~SaneSource();
    SaneSource(const SaneSource&) = delete;
    SaneSource& operator=(const SaneSource&) = delete;

    const std::string& Name() const { return name_; }
    SaneOptions& Options() { return options_; }

    TW_UINT16 GetPixelTypes(TW_CAPABILITY& capability, bool currentOnly);
    TW_UINT16 SetPixelTypes(const TW_CAPABILITY& capability);
    TW_UINT16 Enable(const TW_USERINTERFACE& userInterface);
    TW_UINT16 Disable();
    TW_UINT16 ProcessEvent(TW_EVENT& event) const;
    TW_UINT16 Transfer(TW_HANDLE& image);
    TW_UINT16 EndTransfer(TW_PENDINGXFERS& pending);
    TW_UINT16 Reset(TW_PENDINGXFERS& pending);

private:
    TW_UINT16 Fail(TW_UINT16 condition);
    void Post(TW_UINT16 message) const;
    PageResult ReadNextPage();
    void ScanClicked();
    void CloseClicked();
    void Stop();

    SANE_Handle device_;
    std::string name_;
    std::string description_;
    TW_UINT16& condition_;
    SaneOptions options_;
    PixelTypeMask allowed_ = ~0u;
    std::unique_ptr<SourceWindow> window_;
    std::uintptr_t application_ = 0;  // the window the source's messages go to
    bool hidden_ = false;
    void* ready_ = nullptr;  // a page the Scan button read, waiting for its transfer
    bool started_ = false;   // sane_start succeeded for the next page
    bool reading_ = false;
    bool closing_ = false;    // Close was asked for while a page was read
    bool delivered_ = false;  // the last transfer gave the application a page
    int pages_ = 0;
    std::atomic<int> progress_{0};  // of the page being read, for the window
};

}  // namespace quorvane::dsm
