#include "platform/dsm/sane_source.h"

#include <cstddef>
#include <cstring>

#include "platform/dsm/dsm_host.h"
#include "platform/dsm/off_thread.h"
#include "platform/dsm/source_window.h"
#include "platform/memory_blocks.h"

namespace quorvane::dsm {
namespace {

constexpr int PreferredTypes[] = {TWPT_RGB, TWPT_GRAY, TWPT_BW};

// What the user reads when a page fails, in the source's window or, when it
// has none, in a message box (a cancelled page needs no box).
std::string Explain(SANE_Status status) {
    switch (status) {
        case SANE_STATUS_CANCELLED: return "The scan was cancelled.";
        case SANE_STATUS_JAMMED: return "The paper is jammed in the document feeder.";
        case SANE_STATUS_NO_DOCS: return "The document feeder has no paper.";
        case SANE_STATUS_COVER_OPEN: return "The scanner's cover is open.";
        case SANE_STATUS_DEVICE_BUSY: return "The scanner is busy. Try again in a moment.";
        case SANE_STATUS_ACCESS_DENIED: return "Access to the scanner was denied.";
        case SANE_STATUS_NO_MEM: return "There is not enough memory for the page.";
        default: return std::string("The scanner failed: ") + sane_strstatus(status) + ".";
    }
}

TW_UINT16 Condition(SANE_Status status) {
    switch (status) {
        case SANE_STATUS_JAMMED: return TWCC_PAPERJAM;
        case SANE_STATUS_NO_MEM: return TWCC_LOWMEMORY;
        case SANE_STATUS_ACCESS_DENIED: return TWCC_DENIED;
        case SANE_STATUS_DEVICE_BUSY:
        case SANE_STATUS_COVER_OPEN: return TWCC_CHECKDEVICEONLINE;
        default: return TWCC_OPERATIONERROR;
    }
}

// The pixel types a list container of the application names, as a mask;
// the container is checked against its block.
PixelTypeMask ListedTypes(const std::uint8_t* data, std::size_t size, TW_UINT16 containerType) {
    const std::size_t itemsAt =
        containerType == TWON_ENUMERATION ? offsetof(TW_ENUMERATION, ItemList) : offsetof(TW_ARRAY, ItemList);
    if (size < itemsAt) return 0;
    TW_UINT16 itemType;
    TW_UINT32 count;
    std::memcpy(&itemType, data, 2);
    std::memcpy(&count, data + 2, 4);
    if (itemType != TWTY_UINT16 && itemType != TWTY_INT16) return 0;
    PixelTypeMask mask = 0;
    for (TW_UINT32 i = 0; i < count && i < (size - itemsAt) / 2; ++i) {
        TW_UINT16 type;
        std::memcpy(&type, data + itemsAt + 2 * i, 2);
        if (type < 32) mask |= 1u << type;
    }
    return mask;
}

PixelTypeMask RequestedTypes(const TW_CAPABILITY& capability) {
    const BlockLock lock(capability.hContainer);
    const std::uint8_t* data = lock.Data();
    const std::size_t size = lock.Size();
    if (data == nullptr) return 0;
    PixelTypeMask mask = 0;
    if (capability.ConType == TWON_ENUMERATION || capability.ConType == TWON_ARRAY) {
        mask = ListedTypes(data, size, capability.ConType);
    } else if (capability.ConType == TWON_ONEVALUE && size >= sizeof(TW_ONEVALUE)) {
        TW_ONEVALUE value;
        std::memcpy(&value, data, sizeof value);
        if (value.Item < 32) mask = 1u << value.Item;
    }
    return mask;
}

}  // namespace

SaneSource::SaneSource(SANE_Handle device, std::string name, std::string description, TW_UINT16& condition)
    : device_(device), name_(std::move(name)), description_(std::move(description)), condition_(condition),
      options_(device) {}

SaneSource::~SaneSource() {
    window_.reset();
    Stop();
    if (ready_ != nullptr) QuorvaneFreeBlock(ready_);
    sane_close(device_);
}

TW_UINT16 SaneSource::Fail(TW_UINT16 condition) {
    condition_ = condition;
    return TWRC_FAILURE;
}

void SaneSource::Post(TW_UINT16 message) const {
    QuorvanePostMessage(application_, QUORVANE_SOURCE_MESSAGE, message, 0);
}

void SaneSource::Stop() {
    LetReaderExit();
    sane_cancel(device_);
    started_ = false;
}

TW_UINT16 SaneSource::GetPixelTypes(TW_CAPABILITY& capability, bool currentOnly) {
    const PixelTypeMask offered = options_.PixelTypes() & allowed_;
    const int current = options_.PixelType();
    if (currentOnly) {
        capability.ConType = TWON_ONEVALUE;
        capability.hContainer = AllocateBlock(sizeof(TW_ONEVALUE));
        const BlockLock lock(capability.hContainer);
        if (!lock) return Fail(TWCC_LOWMEMORY);
        const TW_ONEVALUE value{TWTY_UINT16, static_cast<TW_UINT32>(current)};
        std::memcpy(lock.Data(), &value, sizeof value);
        return TWRC_SUCCESS;
    }
    constexpr std::size_t itemsAt = offsetof(TW_ENUMERATION, ItemList);
    capability.ConType = TWON_ENUMERATION;
    capability.hContainer = AllocateBlock(itemsAt + 2 * 32);
    const BlockLock lock(capability.hContainer);
    if (!lock) return Fail(TWCC_LOWMEMORY);
    std::uint8_t* data = lock.Data();
    TW_UINT32 count = 0;
    TW_UINT32 currentIndex = 0;
    for (TW_UINT16 type = 0; type < 32; ++type) {
        if ((offered & 1u << type) == 0) continue;
        if (type == current) currentIndex = count;
        std::memcpy(data + itemsAt + 2 * count++, &type, 2);
    }
    const TW_UINT16 itemType = TWTY_UINT16;
    std::memcpy(data, &itemType, 2);
    std::memcpy(data + 2, &count, 4);
    std::memcpy(data + offsetof(TW_ENUMERATION, CurrentIndex), &currentIndex, 4);
    std::memcpy(data + offsetof(TW_ENUMERATION, DefaultIndex), &currentIndex, 4);
    return TWRC_SUCCESS;
}

// The application limits the types it takes; the source then delivers the
// current type if it is still allowed, else the richest allowed one.
TW_UINT16 SaneSource::SetPixelTypes(const TW_CAPABILITY& capability) {
    const PixelTypeMask allowed = RequestedTypes(capability) & options_.PixelTypes();
    if (allowed == 0) return Fail(TWCC_BADVALUE);
    allowed_ = allowed;
    if ((allowed & 1u << options_.PixelType()) != 0) return TWRC_SUCCESS;
    for (int type : PreferredTypes)
        if ((allowed & 1u << type) != 0) return options_.SetPixelType(type) == SANE_STATUS_GOOD ? TWRC_SUCCESS : Fail(TWCC_BADVALUE);
    return Fail(TWCC_BADVALUE);
}

TW_UINT16 SaneSource::Enable(const TW_USERINTERFACE& userInterface) {
    application_ = reinterpret_cast<std::uintptr_t>(userInterface.hParent);
    hidden_ = userInterface.ShowUI == 0 || QCoreApplication::instance() == nullptr;
    closing_ = false;
    pages_ = 0;
    if (hidden_) {
        Post(MSG_XFERREADY);
        return TWRC_SUCCESS;
    }
    window_ = std::make_unique<SourceWindow>(QString::fromStdString(description_), options_, allowed_,
                                             SourceWindow::Actions{[this] { ScanClicked(); }, [this] { CloseClicked(); }});
    window_->show();
    window_->activateWindow();
    return TWRC_SUCCESS;
}

TW_UINT16 SaneSource::Disable() {
    window_.reset();
    return TWRC_SUCCESS;
}

// Only this source's messages to the window it was enabled for are its
// events; one posted for an acquisition that is over is not.
TW_UINT16 SaneSource::ProcessEvent(TW_EVENT& event) const {
    const auto* message = static_cast<const QuorvaneMessage*>(event.pEvent);
    if (message == nullptr || message->message != QUORVANE_SOURCE_MESSAGE || message->window != application_) {
        event.TWMessage = MSG_NULL;
        return TWRC_NOTDSEVENT;
    }
    event.TWMessage = static_cast<TW_UINT16>(message->wParam);
    return TWRC_DSEVENT;
}

PageResult SaneSource::ReadNextPage() {
    reading_ = true;
    if (window_) window_->SetBusy(pages_ == 0 ? "Scanning..." : QString("Scanning page %1...").arg(pages_ + 1), progress_);
    const bool started = started_;
    started_ = false;
    const PageResult page = RunAndWait([this, started] {
        if (!started)
            if (const SANE_Status status = sane_start(device_); status != SANE_STATUS_GOOD) return PageResult{nullptr, status};
        return ReadPage(device_, progress_);
    });
    reading_ = false;
    // A failed page ends the scan first: a scanning device may not show its options.
    if (page.status == SANE_STATUS_GOOD)
        ++pages_;
    else
        Stop();
    const std::string status = page.status == SANE_STATUS_GOOD ? "Ready." : Explain(page.status);
    if (window_)
        window_->SetDone(QString::fromStdString(status));
    else if (page.status != SANE_STATUS_GOOD && page.status != SANE_STATUS_CANCELLED)
        QuorvaneShowMessage(status.c_str());
    return page;
}

void SaneSource::ScanClicked() {
    if (reading_ || ready_ != nullptr) return;
    const PageResult page = ReadNextPage();
    if (page.status == SANE_STATUS_GOOD) {
        ready_ = page.block;
        Post(MSG_XFERREADY);
    } else if (closing_) {
        Post(MSG_CLOSEDSREQ);
    }
}

void SaneSource::CloseClicked() {
    closing_ = true;
    if (reading_)
        sane_cancel(device_);
    else
        Post(MSG_CLOSEDSREQ);
}

TW_UINT16 SaneSource::Transfer(TW_HANDLE& image) {
    if (ready_ == nullptr) {
        const PageResult page = ReadNextPage();
        delivered_ = false;
        if (page.status == SANE_STATUS_CANCELLED) return TWRC_CANCEL;
        if (page.status != SANE_STATUS_GOOD) return Fail(Condition(page.status));
        ready_ = page.block;
    }
    image = ready_;
    ready_ = nullptr;
    delivered_ = true;
    return TWRC_XFERDONE;
}

// More pages are pending while the feeder has paper: the next page is
// started here, so an empty feeder ends the batch. The application stops
// waiting by itself once a page arrived; after a cancelled page a source
// with no window, or one the user closed, asks to be closed.
TW_UINT16 SaneSource::EndTransfer(TW_PENDINGXFERS& pending) {
    if (!closing_ && options_.FromFeeder()) {
        reading_ = true;
        started_ = RunAndWait([this] { return sane_start(device_); }) == SANE_STATUS_GOOD;
        reading_ = false;
    }
    pending.Count = started_ ? 1 : 0;
    if (started_) return TWRC_SUCCESS;
    Stop();
    if ((hidden_ || closing_) && !delivered_) Post(MSG_CLOSEDSREQ);
    return TWRC_SUCCESS;
}

// After a failed transfer: the window says why and stays for another try.
TW_UINT16 SaneSource::Reset(TW_PENDINGXFERS& pending) {
    Stop();
    pending.Count = 0;
    if (hidden_ || closing_) Post(MSG_CLOSEDSREQ);
    return TWRC_SUCCESS;
}

}  // namespace quorvane::dsm
