// A scripted source manager for the TWAIN layer's tests. The library
// (twain_fake_dsm.cpp, built as TWAIN_32.DLL) keeps nothing of its own: it
// reads its script from, and logs every triplet to, the test program through
// FakeDsmScript(), so both outlive each load and unload of the library.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sources/twain.h"

namespace quorvane::testing {

struct FakeTransfer {
    TW_UINT16 returnCode = TWRC_XFERDONE;
    int width = 2;
    int height = 1;
};

struct FakeScript {
    // Return codes other than the usual answer, by (data argument type, message).
    std::map<std::pair<TW_UINT16, TW_UINT16>, TW_UINT16> answers;
    bool userSelectCancels = false;
    // Each batch is announced with MSG_XFERREADY; after the last the source
    // asks to be closed when closeAfterBatches is set.
    std::vector<std::vector<FakeTransfer>> batches;
    bool closeAfterBatches = true;
    // What MSG_GET of ICAP_PIXELTYPE hands back.
    TW_UINT16 pixelContainer = TWON_ENUMERATION;
    TW_UINT16 pixelItemType = TWTY_UINT16;
    std::vector<TW_UINT16> pixelTypes = {TWPT_BW, TWPT_GRAY, TWPT_RGB};
    bool noPixelContainer = false;

    // Filled by the fake.
    std::vector<std::string> log;
    std::vector<TW_UINT16> pixelTypesSet;
    TW_UINT32 currentIndexSet = 0;
    TW_USERINTERFACE enabledWith{};
    std::size_t batch = 0;
    std::size_t transfer = 0;
};

}  // namespace quorvane::testing

// Defined by the test program, which exports it to the library.
quorvane::testing::FakeScript& FakeDsmScript();
