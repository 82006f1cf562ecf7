// Capability negotiation: limiting the pixel types a source delivers, and
// setting or reading one capability. Containers come from the source and are
// hostile input: their item counts are checked against their blocks.
#include <cstddef>
#include <cstring>

#include "sources/multitwain_inner.h"

namespace quorvane {
namespace {

constexpr std::size_t EnumerationItems = offsetof(TW_ENUMERATION, ItemList);
constexpr std::size_t ArrayItems = offsetof(TW_ARRAY, ItemList);
constexpr TW_UINT32 NoIndex = 0xffffffffu;

std::size_t ItemSize(TW_UINT16 itemType) {
    switch (itemType) {
        case TWTY_INT8:
        case TWTY_UINT8:
            return 1;
        case TWTY_INT16:
        case TWTY_UINT16:
        case TWTY_BOOL:
            return 2;
        case TWTY_INT32:
        case TWTY_UINT32:
        case TWTY_FIX32:
            return 4;
        default:
            return 0;
    }
}

// Keeps in a list of 16-bit pixel types only those in the mask, ascending.
// Returns how many are left; the list must have room for `count` items.
std::uint32_t KeepMaskedTypes(std::uint8_t* items, std::uint32_t count, std::uint32_t mask) {
    std::uint32_t offered = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        TW_UINT16 type;
        std::memcpy(&type, items + 2 * i, 2);
        if (type < 32) offered |= 1u << type;
    }
    const std::uint32_t kept = offered & mask;
    std::uint32_t written = 0;
    for (TW_UINT16 type = 0; type < 32; ++type) {
        if ((kept & 1u << type) == 0) continue;
        std::memcpy(items + 2 * written, &type, 2);
        ++written;
    }
    return written;
}

// Rewrites a list container to the masked types; false when it cannot be.
bool LimitList(std::uint8_t* data, std::size_t size, TW_UINT16 containerType, std::uint32_t mask) {
    const std::size_t itemsAt = containerType == TWON_ENUMERATION ? EnumerationItems : ArrayItems;
    if (size < itemsAt) return false;
    TW_UINT16 itemType;
    TW_UINT32 count;
    std::memcpy(&itemType, data, 2);
    std::memcpy(&count, data + 2, 4);
    if (count == 0 || (itemType != TWTY_UINT16 && itemType != TWTY_INT16)) return false;
    if (count > (size - itemsAt) / 2) return false;
    const std::uint32_t kept = KeepMaskedTypes(data + itemsAt, count, mask);
    if (kept == 0) return false;
    std::memcpy(data + 2, &kept, 4);
    if (containerType == TWON_ENUMERATION) {
        std::memcpy(data + offsetof(TW_ENUMERATION, CurrentIndex), &NoIndex, 4);
        std::memcpy(data + offsetof(TW_ENUMERATION, DefaultIndex), &NoIndex, 4);
    }
    return true;
}

// Whether the pixel types offered fit the mask, and whether the container
// has to go back to the source.
struct Limited {
    bool passed = false;
    bool sendBack = false;
};

Limited LimitContainer(const TW_CAPABILITY& capability, std::uint32_t mask) {
    const BlockLock lock(capability.hContainer);
    if (!lock) return {};
    switch (capability.ConType) {
        case TWON_ENUMERATION:
        case TWON_ARRAY: {
            const bool passed = LimitList(lock.Data(), lock.Size(), capability.ConType, mask);
            return {passed, passed};
        }
        case TWON_ONEVALUE: {
            if (lock.Size() < sizeof(TW_ONEVALUE)) return {};
            TW_ONEVALUE value;
            std::memcpy(&value, lock.Data(), sizeof value);
            return {value.Item < 32 && (mask & 1u << value.Item) != 0, false};
        }
        default:
            return {};
    }
}

TW_UINT16 CapabilityItemType(TW_UINT16 capability) {
    return capability == CAP_XFERCOUNT ? TWTY_INT16 : TWTY_UINT16;
}

bool IsSettable(TW_UINT16 capability) {
    return capability == CAP_XFERCOUNT || capability == ICAP_UNITS || capability == ICAP_BITDEPTH ||
           capability == ICAP_PIXELTYPE;
}

// The current item of a one-value or enumeration container, if its type fits.
bool CurrentItem(const TW_CAPABILITY& capability, TW_UINT16 itemType, std::uint32_t& value) {
    const BlockLock lock(capability.hContainer);
    if (!lock || lock.Size() < 2) return false;
    TW_UINT16 type;
    std::memcpy(&type, lock.Data(), 2);
    const std::size_t size = ItemSize(type);
    if (size == 0 || (type != itemType && size != ItemSize(itemType))) return false;
    std::size_t at = offsetof(TW_ONEVALUE, Item);
    if (capability.ConType == TWON_ENUMERATION) {
        if (lock.Size() < EnumerationItems) return false;
        TW_UINT32 count;
        TW_UINT32 current;
        std::memcpy(&count, lock.Data() + 2, 4);
        std::memcpy(&current, lock.Data() + offsetof(TW_ENUMERATION, CurrentIndex), 4);
        if (current >= count) return false;
        at = EnumerationItems + std::size_t{current} * size;
    } else if (capability.ConType != TWON_ONEVALUE) {
        return false;
    }
    if (at + size > lock.Size()) return false;
    value = 0;
    std::memcpy(&value, lock.Data() + at, size);
    return true;
}

}  // namespace

bool TWAIN_LimitPixelTypes(std::uint32_t mask) {
    if (Twain().state != 4) return false;
    if (mask == 0) return true;
    TW_CAPABILITY capability{ICAP_PIXELTYPE, TWON_ENUMERATION, nullptr};
    if (!TWAIN_CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability) || capability.hContainer == nullptr)
        return false;
    const Limited limited = LimitContainer(capability, mask);
    const bool passed =
        limited.passed && (!limited.sendBack || TWAIN_CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability));
    FreeBlock(capability.hContainer);
    return passed;
}

bool TWAIN_SetCapability(TW_UINT16 capability, std::int32_t value) {
    if (Twain().state != 4) {
        TWAIN_WarningBox("Attempt to set capability outside State 4.");
        return false;
    }
    if (!IsSettable(capability)) return false;
    TW_CAPABILITY request{capability, TWON_ONEVALUE, AllocateBlock(sizeof(TW_ONEVALUE))};
    const BlockLock lock(request.hContainer);
    if (!lock) {
        FreeBlock(request.hContainer);
        TWAIN_WarningBox("Insufficient Memory");
        return false;
    }
    const TW_ONEVALUE item{CapabilityItemType(capability), static_cast<TW_UINT32>(value)};
    std::memcpy(lock.Data(), &item, sizeof item);
    const bool set = TWAIN_CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &request);
    FreeBlock(request.hContainer);
    return set;
}

bool TWAIN_GetCapabilityValue(TW_UINT16 capability, TW_UINT16 itemType, std::uint32_t& value) {
    if (Twain().state < 4) {
        TWAIN_WarningBox("Attempt to get capability value below State 4.");
        return false;
    }
    TW_CAPABILITY request{capability, TWON_ONEVALUE, nullptr};
    if (!TWAIN_CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &request) || request.hContainer == nullptr)
        return false;
    const bool found = CurrentItem(request, itemType, value);
    FreeBlock(request.hContainer);
    return found;
}

}  // namespace quorvane
