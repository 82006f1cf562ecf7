// The scripted source manager; see twain_fake_dsm.h.
#include "sources/twain_fake_dsm.h"

#include <cstddef>
#include <cstring>

#include "platform/dsm/dsm_host.h"

using quorvane::testing::FakeScript;
using quorvane::testing::FakeTransfer;

namespace {

const std::map<std::pair<TW_UINT16, TW_UINT16>, const char*> Names = {
    {{DAT_PARENT, MSG_OPENDSM}, "OPENDSM"},         {{DAT_PARENT, MSG_CLOSEDSM}, "CLOSEDSM"},
    {{DAT_IDENTITY, MSG_USERSELECT}, "USERSELECT"}, {{DAT_IDENTITY, MSG_OPENDS}, "OPENDS"},
    {{DAT_IDENTITY, MSG_CLOSEDS}, "CLOSEDS"},       {{DAT_CAPABILITY, MSG_GET}, "CAP GET"},
    {{DAT_CAPABILITY, MSG_SET}, "CAP SET"},         {{DAT_CAPABILITY, MSG_GETCURRENT}, "CAP GETCURRENT"},
    {{DAT_USERINTERFACE, MSG_ENABLEDS}, "ENABLEDS"}, {{DAT_USERINTERFACE, MSG_DISABLEDS}, "DISABLEDS"},
    {{DAT_EVENT, MSG_PROCESSEVENT}, "EVENT"},       {{DAT_IMAGENATIVEXFER, MSG_GET}, "NATIVEXFER"},
    {{DAT_PENDINGXFERS, MSG_ENDXFER}, "ENDXFER"},   {{DAT_PENDINGXFERS, MSG_RESET}, "RESET"},
    {{DAT_STATUS, MSG_GET}, "STATUS"},
};

void PostNextEvent(FakeScript& script) {
    const auto window = reinterpret_cast<uintptr_t>(script.enabledWith.hParent);
    if (script.batch < script.batches.size())
        QuorvanePostMessage(window, QUORVANE_SOURCE_MESSAGE, MSG_XFERREADY, 0);
    else if (script.closeAfterBatches)
        QuorvanePostMessage(window, QUORVANE_SOURCE_MESSAGE, MSG_CLOSEDSREQ, 0);
}

void EndBatch(FakeScript& script) {
    ++script.batch;
    script.transfer = 0;
    PostNextEvent(script);
}

// A 24-bit DIB whose every byte is the page's number.
void* Page(const FakeTransfer& page, int number) {
    const std::size_t stride = (static_cast<std::size_t>(page.width) * 3 + 3) & ~std::size_t{3};
    const std::size_t size = 40 + stride * page.height;
    void* block = QuorvaneAllocateBlock(size);
    auto* data = static_cast<std::uint8_t*>(QuorvaneLockBlock(block));
    std::memset(data + 40, number, size - 40);
    const std::uint32_t header[] = {40, std::uint32_t(page.width), std::uint32_t(page.height)};
    std::memcpy(data, header, sizeof header);
    const std::uint16_t planesAndBits[] = {1, 24};
    std::memcpy(data + 12, planesAndBits, sizeof planesAndBits);
    QuorvaneUnlockBlock(block);
    return block;
}

void* PixelTypeContainer(const FakeScript& script) {
    const std::size_t count = script.pixelTypes.size();
    if (script.pixelContainer == TWON_ONEVALUE) {
        void* block = QuorvaneAllocateBlock(sizeof(TW_ONEVALUE));
        TW_ONEVALUE value{script.pixelItemType, count > 0 ? script.pixelTypes[0] : 0u};
        std::memcpy(QuorvaneLockBlock(block), &value, sizeof value);
        QuorvaneUnlockBlock(block);
        return block;
    }
    const std::size_t itemsAt =
        script.pixelContainer == TWON_ARRAY ? offsetof(TW_ARRAY, ItemList) : offsetof(TW_ENUMERATION, ItemList);
    void* block = QuorvaneAllocateBlock(itemsAt + 2 * count);
    auto* data = static_cast<std::uint8_t*>(QuorvaneLockBlock(block));
    const auto items = static_cast<TW_UINT32>(count);
    std::memcpy(data, &script.pixelItemType, 2);
    std::memcpy(data + 2, &items, 4);
    std::memcpy(data + itemsAt, script.pixelTypes.data(), 2 * count);
    QuorvaneUnlockBlock(block);
    return block;
}

void RecordPixelTypesSet(FakeScript& script, const TW_CAPABILITY& capability) {
    const auto* data = static_cast<const std::uint8_t*>(QuorvaneLockBlock(capability.hContainer));
    TW_UINT32 count;
    std::memcpy(&count, data + 2, 4);
    const std::size_t itemsAt =
        capability.ConType == TWON_ARRAY ? offsetof(TW_ARRAY, ItemList) : offsetof(TW_ENUMERATION, ItemList);
    script.pixelTypesSet.assign(count, 0);
    std::memcpy(script.pixelTypesSet.data(), data + itemsAt, 2 * count);
    if (capability.ConType == TWON_ENUMERATION)
        std::memcpy(&script.currentIndexSet, data + offsetof(TW_ENUMERATION, CurrentIndex), 4);
    QuorvaneUnlockBlock(capability.hContainer);
}

TW_UINT16 Transfer(FakeScript& script, TW_MEMREF data) {
    const std::vector<FakeTransfer>& pages = script.batches.at(script.batch);
    const FakeTransfer& page = pages.at(script.transfer);
    if (page.returnCode == TWRC_XFERDONE)
        *static_cast<TW_HANDLE*>(data) = Page(page, static_cast<int>(script.batch * 16 + script.transfer + 1));
    return page.returnCode;
}

TW_UINT16 Answer(FakeScript& script, TW_UINT16 argumentType, TW_UINT16 message, TW_MEMREF data) {
    switch (argumentType) {
        case DAT_IDENTITY:
            if (message == MSG_USERSELECT && script.userSelectCancels) return TWRC_CANCEL;
            if (message == MSG_OPENDS) std::strcpy(static_cast<TW_IDENTITY*>(data)->ProductName, "Fake source");
            return TWRC_SUCCESS;
        case DAT_CAPABILITY: {
            auto* capability = static_cast<TW_CAPABILITY*>(data);
            if (message == MSG_GET) {
                capability->ConType = script.pixelContainer;
                capability->hContainer = script.noPixelContainer ? nullptr : PixelTypeContainer(script);
            } else if (message == MSG_SET) {
                RecordPixelTypesSet(script, *capability);
            }
            return TWRC_SUCCESS;
        }
        case DAT_USERINTERFACE:
            if (message == MSG_ENABLEDS) {
                script.enabledWith = *static_cast<TW_USERINTERFACE*>(data);
                PostNextEvent(script);
            }
            return TWRC_SUCCESS;
        case DAT_EVENT: {
            auto* event = static_cast<TW_EVENT*>(data);
            const auto* posted = static_cast<const QuorvaneMessage*>(event->pEvent);
            if (posted->message != QUORVANE_SOURCE_MESSAGE) return TWRC_NOTDSEVENT;
            event->TWMessage = static_cast<TW_UINT16>(posted->wParam);
            return TWRC_DSEVENT;
        }
        case DAT_IMAGENATIVEXFER:
            return Transfer(script, data);
        case DAT_PENDINGXFERS: {
            auto* pending = static_cast<TW_PENDINGXFERS*>(data);
            if (message == MSG_RESET) {
                pending->Count = 0;
                EndBatch(script);
                return TWRC_SUCCESS;
            }
            ++script.transfer;
            pending->Count = static_cast<TW_UINT16>(script.batches.at(script.batch).size() - script.transfer);
            if (pending->Count == 0) EndBatch(script);
            return TWRC_SUCCESS;
        }
        default:
            return TWRC_SUCCESS;
    }
}

}  // namespace

extern "C" TW_UINT16 DSM_Entry(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16 argumentType, TW_UINT16 message,
                               TW_MEMREF data) {
    FakeScript& script = FakeDsmScript();
    const auto name = Names.find({argumentType, message});
    script.log.push_back(name != Names.end() ? name->second : "?");
    const auto answer = script.answers.find({argumentType, message});
    if (answer != script.answers.end()) return answer->second;
    return Answer(script, argumentType, message, data);
}
