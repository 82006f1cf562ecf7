#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "platform/message_queue.h"
#include "sources/multitwain_dib.h"
#include "sources/multitwain_inner.h"
#include "sources/twain_fake_dsm.h"

namespace quorvane::testing {
namespace {

using Log = std::vector<std::string>;
const std::string LoadFailed = "Unable to load Source Manager (TWAIN_32.DLL)";

class TwainLayer : public ::testing::Test {
protected:
    void SetUp() override {
        UseManager(FAKE_DSM_DIR);
        FakeDsmScript() = FakeScript{};
        ThePlainMessageQueue().Clear();
        SetWarningBoxPresenter([this](const WarningBox& box) {
            boxes.push_back((box.warningIcon ? box.caption + " (warning): " : box.caption + ": ") + box.text);
        });
        blocksBefore = LiveBlockCount();
    }
    void TearDown() override {
        SetWarningBoxPresenter({});
        ReleaseImages();
        if (Twain().library != nullptr) FreeDynamicLibrary(Twain().library);
        Twain() = TwainConnection{.application = DefaultApplicationIdentity()};
        EXPECT_EQ(LiveBlockCount(), blocksBefore) << "images or containers leaked";
        ::unsetenv(SourceManagerFolderVariable);
    }
    static void UseManager(const char* folder) { ::setenv(SourceManagerFolderVariable, folder, 1); }
    static void ReleaseImages() {
        for (int i = 0; i < TWAIN_ImageCount(); ++i) FreeBlock(TWAIN_ImageAt(i));
        Twain().imageCount = 0;
    }
    static FakeScript& Script() { return FakeDsmScript(); }
    // The triplets sent, without the events offered to the source.
    static Log Sent() {
        Log sent;
        for (const std::string& entry : Script().log)
            if (entry != "EVENT") sent.push_back(entry);
        return sent;
    }
    std::vector<std::string> boxes;
    std::size_t blocksBefore = 0;
};

std::string Warning(const std::string& text) { return "TWAIN Error (warning): " + text; }

const Log ClosedWithoutScan = {"OPENDSM", "OPENDS", "ENABLEDS", "DISABLEDS", "CLOSEDS", "CLOSEDSM"};

TEST_F(TwainLayer, WithoutAUsableManagerBothStepsSayItCannotBeLoaded) {
    for (const char* folder : {"/nonexistent-folder", NO_ENTRY_DSM_DIR}) {
        UseManager(folder);
        boxes.clear();
        EXPECT_FALSE(TWAIN_SelectImageSource(NoWindow));
        EXPECT_EQ(TWAIN_AcquireImages(NoWindow, 0), nullptr);
        EXPECT_EQ(boxes, (std::vector<std::string>{Warning(LoadFailed), Warning(LoadFailed)})) << folder;
        EXPECT_EQ(TWAIN_State(), 1);
        EXPECT_FALSE(TWAIN_IsAvailable());
    }
}

TEST_F(TwainLayer, ManagerThatWillNotOpenIsUnloadedAgain) {
    Script().answers[{DAT_PARENT, MSG_OPENDSM}] = TWRC_FAILURE;
    EXPECT_FALSE(TWAIN_SelectImageSource(NoWindow));
    EXPECT_EQ(TWAIN_AcquireImages(NoWindow, 0), nullptr);
    const std::string openFailed = Warning("Unable to open Source Manager (TWAIN_32.DLL)");
    EXPECT_EQ(boxes, (std::vector<std::string>{openFailed, openFailed}));
    EXPECT_EQ(TWAIN_State(), 1);
    EXPECT_EQ(Twain().library, nullptr);
}

TEST_F(TwainLayer, SelectionAsksTheManagerAndClosesIt) {
    EXPECT_TRUE(TWAIN_SelectImageSource(NoWindow));
    Script().userSelectCancels = true;
    EXPECT_FALSE(TWAIN_SelectImageSource(NoWindow));
    EXPECT_EQ(Sent(), (Log{"OPENDSM", "USERSELECT", "CLOSEDSM", "OPENDSM", "USERSELECT", "CLOSEDSM"}));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(TwainLayer, SelectionRefusesAnOwnerThatIsNoWindow) {
    EXPECT_FALSE(TWAIN_SelectImageSource(WindowHandle{987654}));
    EXPECT_EQ(boxes, (std::vector<std::string>{Warning("TWAIN_SelectImageSource: window handle is invalid")}));
    EXPECT_TRUE(Script().log.empty());
}

TEST_F(TwainLayer, SourceThatWillNotOpen) {
    Script().answers[{DAT_IDENTITY, MSG_OPENDS}] = TWRC_FAILURE;
    EXPECT_EQ(TWAIN_AcquireImages(NoWindow, 0), nullptr);
    EXPECT_EQ(boxes, (std::vector<std::string>{Warning("Unable to open default Data Source.")}));
    EXPECT_EQ(Sent(), (Log{"OPENDSM", "OPENDS", "CLOSEDSM"}));
    EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(TwainLayer, SourceThatWillNotEnableIsClosed) {
    Script().answers[{DAT_USERINTERFACE, MSG_ENABLEDS}] = TWRC_FAILURE;
    EXPECT_EQ(TWAIN_AcquireImages(NoWindow, 0), nullptr);
    EXPECT_EQ(boxes, (std::vector<std::string>{Warning("Failed to enable Data Source.")}));
    EXPECT_EQ(Sent(), (Log{"OPENDSM", "OPENDS", "ENABLEDS", "CLOSEDS", "CLOSEDSM"}));
}

TEST_F(TwainLayer, EnablingAnswersOtherThanFailureCountAsEnabled) {
    Script().answers[{DAT_USERINTERFACE, MSG_ENABLEDS}] = TWRC_CHECKSTATUS;
    EXPECT_EQ(TWAIN_AcquireImages(NoWindow, 0), nullptr);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Sent(), (Log{"OPENDSM", "OPENDS", "ENABLEDS", "DISABLEDS", "CLOSEDS", "CLOSEDSM"}));
}

struct PixelTypeCase {
    const char* name;
    std::uint32_t mask;
    TW_UINT16 container;
    TW_UINT16 itemType;
    std::vector<TW_UINT16> offered;
    bool passes;
    std::vector<TW_UINT16> setTo;  // empty: no MSG_SET
};

TEST_F(TwainLayer, PixelTypeNegotiation) {
    constexpr std::uint32_t Gray = 1u << TWPT_GRAY, Colour = 1u << TWPT_RGB, BlackWhite = 1u << TWPT_BW;
    const PixelTypeCase cases[] = {
        {"enumeration narrowed", Colour | BlackWhite, TWON_ENUMERATION, TWTY_UINT16, {2, 1, 0}, true, {0, 2}},
        {"array narrowed", Gray, TWON_ARRAY, TWTY_INT16, {0, 1}, true, {1}},
        {"nothing in common", Colour, TWON_ENUMERATION, TWTY_UINT16, {0, 1}, false, {}},
        {"no items", Colour, TWON_ENUMERATION, TWTY_UINT16, {}, false, {}},
        {"items of another type", Colour, TWON_ENUMERATION, TWTY_UINT32, {2}, false, {}},
        {"one value in the mask", Colour, TWON_ONEVALUE, TWTY_UINT16, {2}, true, {}},
        {"one value outside it", Gray, TWON_ONEVALUE, TWTY_UINT16, {2}, false, {}},
        {"a range", Gray, TWON_RANGE, TWTY_UINT16, {1}, false, {}},
    };
    for (const PixelTypeCase& c : cases) {
        FakeDsmScript() = FakeScript{};
        Script().pixelContainer = c.container;
        Script().pixelItemType = c.itemType;
        Script().pixelTypes = c.offered;
        boxes.clear();
        TWAIN_AcquireImages(NoWindow, c.mask);
        EXPECT_EQ(boxes.empty(), c.passes) << c.name;
        if (!c.passes) {
            EXPECT_EQ(boxes, (std::vector<std::string>{Warning("Failed to negotiate Pixel Type.")})) << c.name;
        }
        const Log sent = Sent();
        const bool setSent = std::find(sent.begin(), sent.end(), "CAP SET") != sent.end();
        EXPECT_EQ(setSent, !c.setTo.empty()) << c.name;
        EXPECT_EQ(Script().pixelTypesSet, c.setTo) << c.name;
        if (c.container == TWON_ENUMERATION && c.passes) {
            EXPECT_EQ(Script().currentIndexSet, 0xffffffffu) << c.name;
        }
        EXPECT_EQ(sent.back(), "CLOSEDSM") << c.name;
    }
}

TEST_F(TwainLayer, PixelTypeNegotiationFailures) {
    Script().noPixelContainer = true;
    TWAIN_AcquireImages(NoWindow, 4);
    Script() = FakeScript{};
    Script().answers[{DAT_CAPABILITY, MSG_SET}] = TWRC_FAILURE;
    TWAIN_AcquireImages(NoWindow, 4);
    const std::string failed = Warning("Failed to negotiate Pixel Type.");
    EXPECT_EQ(boxes, (std::vector<std::string>{failed, failed}));
}

TEST_F(TwainLayer, MaskZeroSendsNoCapabilityAndClosingWithoutScanIsQuiet) {
    EXPECT_EQ(TWAIN_AcquireImages(NoWindow, 0), nullptr);
    EXPECT_EQ(Sent(), ClosedWithoutScan);
    EXPECT_EQ(TWAIN_ImageCount(), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(TwainLayer, FeederBatchKeepsEveryPageInArrivalOrder) {
    Script().batches = {{{TWRC_XFERDONE, 1, 1}, {TWRC_XFERDONE, 2, 1}, {TWRC_XFERDONE, 3, 1}}};
    Script().closeAfterBatches = false;
    const BlockHandle last = TWAIN_AcquireImages(NoWindow, 0);
    ASSERT_EQ(TWAIN_ImageCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(DIB_Width(TWAIN_ImageAt(i)), i + 1);
    EXPECT_EQ(last, TWAIN_ImageAt(2));
    EXPECT_EQ(Sent(), (Log{"OPENDSM", "OPENDS", "ENABLEDS", "NATIVEXFER", "ENDXFER", "NATIVEXFER", "ENDXFER",
                           "NATIVEXFER", "ENDXFER", "DISABLEDS", "CLOSEDS", "CLOSEDSM"}));
    EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(TwainLayer, CancelledOrFailedTransfersKeepTheWaitGoing) {
    Script().batches = {{{TWRC_CANCEL}}, {{TWRC_FAILURE}}, {{TWRC_XFERDONE, 4, 4}}};
    Script().closeAfterBatches = false;
    const BlockHandle last = TWAIN_AcquireImages(NoWindow, 0);
    ASSERT_EQ(TWAIN_ImageCount(), 1);
    EXPECT_EQ(last, TWAIN_ImageAt(0));
    EXPECT_EQ(DIB_Width(last), 4);
    EXPECT_EQ(Sent(), (Log{"OPENDSM", "OPENDS", "ENABLEDS", "NATIVEXFER", "ENDXFER", "NATIVEXFER", "RESET",
                           "NATIVEXFER", "ENDXFER", "DISABLEDS", "CLOSEDS", "CLOSEDSM"}));
}

TEST_F(TwainLayer, RefusedEndOfTransferLeavesStateSevenAndTheNextAcquisitionStops) {
    Script().batches = {{{TWRC_XFERDONE}}};
    Script().answers[{DAT_PENDINGXFERS, MSG_ENDXFER}] = TWRC_FAILURE;
    EXPECT_NE(TWAIN_AcquireImages(NoWindow, 0), nullptr);
    EXPECT_EQ(TWAIN_State(), 7);
    EXPECT_TRUE(boxes.empty());
    ReleaseImages();
    EXPECT_EQ(TWAIN_AcquireImages(NoWindow, 0), nullptr);
    EXPECT_EQ(boxes, (std::vector<std::string>{Warning("Unable to open default Data Source.")}));
    EXPECT_EQ(TWAIN_State(), 7);
}

TEST_F(TwainLayer, ImagesBeyondTheListsRoomAreReleased) {
    Script().batches = {std::vector<FakeTransfer>(MaxAcquiredImages + 3, FakeTransfer{TWRC_XFERDONE, 1, 1})};
    const BlockHandle last = TWAIN_AcquireImages(NoWindow, 0);
    EXPECT_EQ(TWAIN_ImageCount(), MaxAcquiredImages);
    EXPECT_EQ(last, TWAIN_ImageAt(MaxAcquiredImages - 1));
    EXPECT_EQ(LiveBlockCount(), blocksBefore + MaxAcquiredImages);
}

TEST_F(TwainLayer, OwnerIsDisabledWhileWaitingAndTheQuitMessageEndsTheWait) {
    const WindowHandle owner = CreateWindowHandle("owner");
    std::vector<bool> enabledWhileWaiting;
    SetWindowProcedure(owner, [&](const QuorvaneMessage&) { enabledWhileWaiting.push_back(IsWindowEnabled(owner)); });
    Script().closeAfterBatches = false;
    ThePlainMessageQueue().Post({owner, 0x400, 0, 0});
    EXPECT_EQ(TWAIN_AcquireImages(owner, 0), nullptr);
    EXPECT_EQ(enabledWhileWaiting, std::vector<bool>{false});
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(reinterpret_cast<WindowHandle>(Script().enabledWith.hParent), owner);
    EXPECT_EQ(Script().enabledWith.ShowUI, 1);
    EXPECT_EQ(Sent(), ClosedWithoutScan);
    DestroyWindow(owner);
}

TEST_F(TwainLayer, HideFlagAsksForNoInterface) {
    TWAIN_SetHideInterface(true);
    TWAIN_AcquireImages(NoWindow, 0);
    EXPECT_EQ(Script().enabledWith.ShowUI, 0);
    EXPECT_EQ(Script().enabledWith.ModalUI, 0);
}

TEST_F(TwainLayer, PerImageNotificationSeesEachImageWithItsIndex) {
    static std::vector<std::pair<BlockHandle, int>> seen;
    seen.clear();
    TWAIN_SetImageNotification([](BlockHandle image, int index) { seen.emplace_back(image, index); });
    Script().batches = {{{}, {}}};
    TWAIN_AcquireImages(NoWindow, 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(TWAIN_ImageAt(0), 0));
    EXPECT_EQ(seen[1], std::make_pair(TWAIN_ImageAt(1), 1));
}

TEST_F(TwainLayer, AcquireToFileWritesTheLastImageAndReleasesIt) {
    const std::string path = ::testing::TempDir() + "/quorvane-acquired.bmp";
    Script().batches = {{{TWRC_XFERDONE, 3, 2}}};
    EXPECT_EQ(TWAIN_AcquireToFilename(NoWindow, path), DibWritten);
    Twain().imageCount = 0;
    const BlockHandle back = DIB_ReadFile(path);
    EXPECT_EQ(DIB_Width(back), 3);
    FreeBlock(back);
    Script() = FakeScript{};
    EXPECT_EQ(TWAIN_AcquireToFilename(NoWindow, path), -1);
    std::remove(path.c_str());
}

TEST_F(TwainLayer, CapabilitiesOnlyInStateFour) {
    std::uint32_t value = 0;
    EXPECT_FALSE(TWAIN_SetCapability(ICAP_PIXELTYPE, TWPT_GRAY));
    EXPECT_FALSE(TWAIN_GetCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, value));
    EXPECT_EQ(boxes, (std::vector<std::string>{Warning("Attempt to set capability outside State 4."),
                                               Warning("Attempt to get capability value below State 4.")}));
    EXPECT_TRUE(Script().log.empty());
}

TEST_F(TwainLayer, CallingTheSourceBelowStateFourFailsTheCheck) {
    EXPECT_FALSE(TWAIN_CallSource(DG_CONTROL, DAT_STATUS, MSG_GET, nullptr));
    EXPECT_EQ(boxes, (std::vector<std::string>{"MultiTWAIN: Assertion failed"}));
    EXPECT_EQ(TWAIN_ResultCode(), TWRC_FAILURE);
    EXPECT_EQ(TWAIN_ConditionCode(), -1);
    EXPECT_EQ(TWAIN_LayerVersion(), 106);
}

TEST_F(TwainLayer, ApplicationIdentityIsFixed) {
    const TW_IDENTITY identity = Twain().application;
    EXPECT_EQ(identity.Id, 0u);
    EXPECT_EQ(identity.Version.MajorNum, 1);
    EXPECT_EQ(identity.Version.MinorNum, 0);
    EXPECT_EQ(identity.Version.Language, TWLG_USA);
    EXPECT_EQ(identity.Version.Country, TWCY_USA);
    EXPECT_EQ(identity.ProtocolMajor, 1);
    EXPECT_EQ(identity.ProtocolMinor, 6);
    EXPECT_EQ(TW_UINT32{identity.SupportedGroups}, 3u);
    for (const char* text : {identity.Version.Info, identity.Manufacturer, identity.ProductFamily, identity.ProductName})
        EXPECT_STREQ(text, "<?>");
}

}  // namespace
}  // namespace quorvane::testing
