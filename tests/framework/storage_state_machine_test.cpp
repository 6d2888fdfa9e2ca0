// The storage state machine, flow by flow: for each start (load or save, automatic or
// manual), save file, injected flash-memory result and choice of the player, the dialogs
// shown (state, title, body and option ids), the choices made and the completion signals,
// as one trace. Every flow ends with exactly one completion signal, in a dead end, or
// waiting for its dialog to be on screen; IsSaving() never stays set after a save ends.
#include "storage_test_support.h"

#include <cstring>

using namespace Kelvo_lib;
using namespace storage_test;

namespace {

using enum kStorageManager::eStorageState;

enum class FileState { Good, None, Damaged };

struct FlowCase {
    const char* name;
    bool bAuto;
    bool bSave; // SaveData, else LoadData
    FileState file;
    const char* rules;
    std::vector<int> choices;
    bool bOnScreen;
    std::string trace;
    kStorageManager::eStorageState finalState;
};

std::ostream& operator<<(std::ostream& out, const FlowCase& flowCase) {
    return out << flowCase.name;
}

class StorageFlowTest : public StorageTest, public testing::WithParamInterface<FlowCase> {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        kStorageManager::Init(kBlockSize, "", "");
    }

    void Prepare(const FlowCase& flowCase) {
        kStorageManager::SetAutoSave(flowCase.bAuto);
        if (flowCase.file == FileState::Good) {
            WriteFile(SaveFile(), SaveFileOf(m_old));
        } else if (flowCase.file == FileState::Damaged) {
            WriteFile(SaveFile(), std::vector<u8>(100, 0xDD));
        }
        FaultReset();
        ASSERT_TRUE(FaultAddText(flowCase.rules));
    }

    void Start(const FlowCase& flowCase) {
        if (flowCase.bSave) {
            kStorageManager::SaveData(m_block.data());
        } else {
            kStorageManager::LoadData(m_loaded.data());
        }
        m_flow.Play(flowCase.choices, flowCase.bOnScreen);
    }

    std::vector<u8> m_old = Block(7);
    std::vector<u8> m_block = Block(9);
    std::vector<u8> m_loaded = std::vector<u8>(kBlockSize, 0);
    FlowTrace m_flow;
};

TEST_P(StorageFlowTest, ShowsTheDialogsAndSignalsOfItsFlow) {
    const FlowCase& flowCase = GetParam();
    Prepare(flowCase);
    Start(flowCase);
    EXPECT_EQ(m_flow.m_trace, flowCase.trace);
    const kStorageManager::eStorageState state = kStorageManager::GetStorageState();
    EXPECT_EQ(state, flowCase.finalState);
    EXPECT_EQ(m_flow.m_completions, state == STATE_IDLE ? 1 : 0);
    const bool bWaitingForScreen = !flowCase.bOnScreen && !IsDeadEnd(state) && state != STATE_IDLE;
    EXPECT_EQ(kStorageManager::IsSaving(), flowCase.bSave && bWaitingForScreen);
    if (m_flow.m_trace.find("save(1)") != std::string::npos) {
        EXPECT_EQ(ReadFile(SaveFile()), SaveFileOf(m_block));
    }
    if (m_flow.m_trace.find("load(1") != std::string::npos && flowCase.file == FileState::Good) {
        EXPECT_EQ(m_loaded, m_old);
    }
    const bool bWritten = m_flow.m_trace.find("save(1)") != std::string::npos;
    if (flowCase.file == FileState::Good && !bWritten) {
        EXPECT_EQ(ReadFile(SaveFile()), SaveFileOf(m_old)) << "a good save is never lost";
    }
    if (state == STATE_IDLE) {
        EXPECT_FALSE(kDialogManager::IsOpen()) << "an ended flow leaves no dialog open";
    }
}

// Automatic flows: the game's own.
const FlowCase kAutomaticFlows[] = {
    {"LoadGoodFile", true, false, FileState::Good, "", {}, false, "load(1,0,0)", STATE_IDLE},
    {"LoadCreatesMissingFile",
     true,
     false,
     FileState::None,
     "",
     {},
     false,
     "load(0,0,1)",
     STATE_IDLE},
    {"LoadNoSpaceForBlocks",
     true,
     false,
     FileState::None,
     "nand-check:home-blocks@1",
     {0},
     false,
     "17:76/-1[78,79] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadNoSpaceForFiles",
     true,
     false,
     FileState::None,
     "nand-check:home-inodes@1",
     {0},
     false,
     "18:80/-1[81,82] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadSpaceCheckFails",
     true,
     false,
     FileState::None,
     "nand-check:fatal@1",
     {0},
     false,
     "18:80/-1[81,82] choose0 load(0,0,0)",
     STATE_IDLE},
    // "Delete file" replaces the damaged file with the block, which is loaded again.
    {"LoadDamagedFileDeleted",
     true,
     false,
     FileState::Damaged,
     "",
     {1},
     false,
     "21:-1/85[86,87] choose1 load(1,0,0)",
     STATE_IDLE},
    {"LoadDamagedFileKept",
     true,
     false,
     FileState::Damaged,
     "",
     {0},
     false,
     "21:-1/85[86,87] choose0 load(0,0,0)",
     STATE_IDLE},
    // A flash error while the file is checked or read is tried again; one that persists is
    // told as such, with no offer to delete the file.
    {"LoadCheckBusyOnce",
     true,
     false,
     FileState::Good,
     "nand-open:busy@1",
     {},
     false,
     "load(1,0,0)",
     STATE_IDLE},
    {"LoadReadBusyOnce",
     true,
     false,
     FileState::Good,
     "nand-read:busy@1",
     {},
     false,
     "load(1,0,0)",
     STATE_IDLE},
    {"LoadReadEccErrorOnce",
     true,
     false,
     FileState::Good,
     "nand-read:ecc-crit@1",
     {},
     false,
     "load(1,0,0)",
     STATE_IDLE},
    {"LoadReadShortOnce",
     true,
     false,
     FileState::Good,
     "nand-read:short@1",
     {},
     false,
     "load(1,0,0)",
     STATE_IDLE},
    {"LoadOpenAccessOnce",
     true,
     false,
     FileState::Good,
     "nand-open:access@2",
     {},
     false,
     "load(1,0,0)",
     STATE_IDLE},
    // "No such file" for a file that is there passes like the others; while it persists,
    // making the file finds it there, and it is read after all or told as unreadable.
    {"LoadCheckNoSuchFileOnce",
     true,
     false,
     FileState::Good,
     "nand-open:noexists@1",
     {},
     false,
     "load(1,0,0)",
     STATE_IDLE},
    {"LoadCheckNoSuchFileThrice",
     true,
     false,
     FileState::Good,
     "nand-open:noexists@1x3",
     {},
     false,
     "load(1,0,0)",
     STATE_IDLE},
    {"LoadNoSuchFilePersists",
     true,
     false,
     FileState::Good,
     "nand-open:noexists@1x6",
     {0},
     false,
     "27:-1/91[86] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadCheckBusyPersists",
     true,
     false,
     FileState::Good,
     "nand-open:busy@1x3",
     {0},
     false,
     "27:-1/91[86] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadReadEccErrorPersists",
     true,
     false,
     FileState::Good,
     "nand-read:ecc-crit@1x3",
     {0},
     false,
     "27:-1/91[86] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadReadAllocFailedPersists",
     true,
     false,
     FileState::Good,
     "nand-read:alloc-failed@1x3",
     {0},
     false,
     "27:-1/91[86] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadReadShortPersists",
     true,
     false,
     FileState::Good,
     "nand-read:short@1x3",
     {0},
     false,
     "27:-1/91[86] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadReadCorruptPersists",
     true,
     false,
     FileState::Good,
     "nand-read:corrupt@1x3",
     {},
     false,
     "22:-1/88[]",
     STATE_FLASH_CORRUPTED},
    {"LoadDamagedFileNotReplaceable",
     true,
     false,
     FileState::Damaged,
     "nand-safe-open:access@1",
     {1, 0},
     false,
     "21:-1/85[86,87] choose1 27:-1/91[86] choose0 load(0,0,0)",
     STATE_IDLE},
    {"CreateCorrupt",
     true,
     false,
     FileState::None,
     "nand-create:corrupt@1",
     {},
     false,
     "22:-1/88[]",
     STATE_FLASH_CORRUPTED},
    {"CreateMaxFiles",
     true,
     false,
     FileState::None,
     "nand-create:maxfiles@1",
     {},
     false,
     "20:-1/84[]",
     STATE_NO_MORE_FILES},
    {"CreateBusy",
     true,
     false,
     FileState::None,
     "nand-create:busy@1",
     {},
     false,
     "23:-1/91[]",
     STATE_FLASH_UNUSABLE},
    {"CreateAllocFailed",
     true,
     false,
     FileState::None,
     "nand-create:alloc-failed@1",
     {},
     false,
     "23:-1/91[]",
     STATE_FLASH_UNUSABLE},
    {"CreateMaxBlocksIsOther",
     true,
     false,
     FileState::None,
     "nand-create:maxblocks@1",
     {0},
     false,
     "21:-1/85[86,87] choose0 load(0,0,0)",
     STATE_IDLE},
    {"BannerMaxBlocks",
     true,
     false,
     FileState::None,
     "nand-write:maxblocks@2",
     {},
     false,
     "19:-1/83[]",
     STATE_NO_MORE_BLOCKS},
    {"BannerCorrupt",
     true,
     false,
     FileState::None,
     "nand-write:corrupt@1",
     {},
     false,
     "22:-1/88[]",
     STATE_FLASH_CORRUPTED},
    {"BannerMaxFiles",
     true,
     false,
     FileState::None,
     "nand-write:maxfiles@1",
     {},
     false,
     "20:-1/84[]",
     STATE_NO_MORE_FILES},
    // The save file is looked for three times before it is made.
    {"BannerBusy",
     true,
     false,
     FileState::None,
     "nand-open:busy@4",
     {},
     false,
     "23:-1/91[]",
     STATE_FLASH_UNUSABLE},
    {"BannerShort",
     true,
     false,
     FileState::None,
     "nand-write:short@1",
     {0},
     false,
     "21:-1/85[86,87] choose0 load(0,0,0)",
     STATE_IDLE},
    {"SaveGoodFile", true, true, FileState::Good, "", {}, false, "save(1)", STATE_IDLE},
    {"SaveCheckBusyOnce",
     true,
     true,
     FileState::Good,
     "nand-open:busy@1",
     {},
     false,
     "save(1)",
     STATE_IDLE},
    {"SaveCheckNoSuchFileOnce",
     true,
     true,
     FileState::Good,
     "nand-open:noexists@1",
     {},
     false,
     "save(1)",
     STATE_IDLE},
    {"SaveCheckBusyPersists",
     true,
     true,
     FileState::Good,
     "nand-open:busy@1x3",
     {0},
     false,
     "27:-1/91[86] choose0 save(0)",
     STATE_IDLE},
    // A save file that cannot be found or written during play is a flash error with no
    // offer to delete: a good file stays as it was.
    {"SaveNoSuchFilePersists",
     true,
     true,
     FileState::Good,
     "nand-open:noexists@1x6",
     {0},
     false,
     "27:-1/91[86] choose0 save(0)",
     STATE_IDLE},
    {"SaveMissingFileContinues",
     true,
     true,
     FileState::None,
     "",
     {0},
     false,
     "27:-1/91[86] choose0 save(0)",
     STATE_IDLE},
    {"SaveNoSpace",
     true,
     true,
     FileState::None,
     "nand-check:home-blocks@1",
     {0},
     false,
     "17:76/-1[78,79] choose0 save(0)",
     STATE_IDLE},
    {"SaveWriteAccessDenied",
     true,
     true,
     FileState::Good,
     "nand-write:access@1x2",
     {0},
     false,
     "27:-1/91[86] choose0 save(0)",
     STATE_IDLE},
    {"SaveWriteMaxBlocks",
     true,
     true,
     FileState::Good,
     "nand-write:maxblocks@1",
     {},
     false,
     "19:-1/83[]",
     STATE_NO_MORE_BLOCKS},
    {"SaveWriteMaxFiles",
     true,
     true,
     FileState::Good,
     "nand-write:maxfiles@1",
     {},
     false,
     "20:-1/84[]",
     STATE_NO_MORE_FILES},
    {"SaveWriteBusy",
     true,
     true,
     FileState::Good,
     "nand-write:busy@1",
     {},
     false,
     "23:-1/91[]",
     STATE_FLASH_UNUSABLE},
    {"SaveWriteAllocFailed",
     true,
     true,
     FileState::Good,
     "nand-write:alloc-failed@1",
     {},
     false,
     "23:-1/91[]",
     STATE_FLASH_UNUSABLE},
    {"SaveWriteCorrupt",
     true,
     true,
     FileState::Good,
     "nand-write:corrupt@1",
     {},
     false,
     "22:-1/88[]",
     STATE_FLASH_CORRUPTED},
    {"SaveWriteShort",
     true,
     true,
     FileState::Good,
     "nand-write:short@1",
     {0},
     false,
     "27:-1/91[86] choose0 save(0)",
     STATE_IDLE},
    {"SaveCommitFails",
     true,
     true,
     FileState::Good,
     "nand-safe-close:access@1",
     {0},
     false,
     "27:-1/91[86] choose0 save(0)",
     STATE_IDLE},
};
INSTANTIATE_TEST_SUITE_P(Automatic, StorageFlowTest, testing::ValuesIn(kAutomaticFlows),
                         [](const auto& info) { return std::string(info.param.name); });

// Manual flows: dialogs without options move on once the dialog layer has them on screen.
const FlowCase kManualFlows[] = {
    {"LoadGoodFile",
     false,
     false,
     FileState::Good,
     "",
     {},
     true,
     "5:71/72[] load(1,0,0)",
     STATE_IDLE},
    {"LoadWaitsForTheScreen",
     false,
     false,
     FileState::Good,
     "",
     {},
     false,
     "5:71/72[]",
     STATE_LOADING},
    {"LoadCreatesMissingFile",
     false,
     false,
     FileState::None,
     "",
     {},
     true,
     "3:69/70[] load(1,0,0)",
     STATE_IDLE},
    {"LoadNoSpace",
     false,
     false,
     FileState::None,
     "nand-check:home-blocks@1",
     {0},
     true,
     "2:59/60[48] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadCreateFails",
     false,
     false,
     FileState::None,
     "nand-create:corrupt@1",
     {0},
     true,
     "3:69/70[] 4:61/62[48] choose0 load(0,0,0)",
     STATE_IDLE},
    {"LoadDamagedFileDeleted",
     false,
     false,
     FileState::Damaged,
     "",
     {1},
     true,
     "5:71/72[] 6:63/64[48,50] choose1 3:69/70[] load(1,0,0)",
     STATE_IDLE},
    {"LoadDamagedFileKept",
     false,
     false,
     FileState::Damaged,
     "",
     {0},
     true,
     "5:71/72[] 6:63/64[48,50] choose0 load(0,0,0)",
     STATE_IDLE},
    {"SaveGoodFile", false, true, FileState::Good, "", {}, true, "11:73/74[] save(1)", STATE_IDLE},
    {"SaveWaitsForTheScreen",
     false,
     true,
     FileState::Good,
     "",
     {},
     false,
     "11:73/74[]",
     STATE_SAVING},
    {"SaveCreatesMissingFile",
     false,
     true,
     FileState::None,
     "",
     {},
     true,
     "13:69/70[] 11:73/74[] save(1)",
     STATE_IDLE},
    {"SaveNoSpace",
     false,
     true,
     FileState::None,
     "nand-check:home-blocks@1",
     {0},
     true,
     "13:69/70[] 15:59/60[48] choose0 save(0)",
     STATE_IDLE},
    {"SaveCreateFails",
     false,
     true,
     FileState::None,
     "nand-create:corrupt@1",
     {0},
     true,
     "13:69/70[] 14:61/62[48] choose0 save(0)",
     STATE_IDLE},
    {"SaveFailedFileDeleted",
     false,
     true,
     FileState::Good,
     "nand-write:corrupt@1",
     {1},
     true,
     "11:73/74[] 12:65/66[48,50] choose1 13:69/70[] 11:73/74[] save(1)",
     STATE_IDLE},
    {"SaveFailedContinues",
     false,
     true,
     FileState::Good,
     "nand-write:corrupt@1",
     {0},
     true,
     "11:73/74[] 12:65/66[48,50] choose0 save(0)",
     STATE_IDLE},
};
INSTANTIATE_TEST_SUITE_P(Manual, StorageFlowTest, testing::ValuesIn(kManualFlows),
                         [](const auto& info) { return std::string(info.param.name); });

class StorageMachineTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        InitGameStorage();
    }

    std::vector<u8> m_block = Block(11);
    FlowTrace m_flow;
};

TEST_F(StorageMachineTest, ConfirmationDeclinedShowsTheNoSpaceDialogAgain) {
    kStorageManager::SetConfirmSystemMenuWarning(true);
    ASSERT_TRUE(FaultAddText("nand-check:home-blocks@1"));
    kStorageManager::LoadData(m_block.data());
    m_flow.Play({1, 1, 0}, false);
    EXPECT_EQ(m_flow.m_trace, "17:76/-1[78,79] choose1 40:143/144[127,128] choose1 "
                              "17:76/-1[78,79] choose0 load(0,0,0)");
    EXPECT_TRUE(kStorageManager::IsContinueWithoutSaving());
}

// The child process of a death test plays the flow up to the console menu.
TEST_F(StorageMachineTest, ReturningToTheMenuBlacksTheScreenAndEndsTheProgram) {
    for (const bool bConfirm : {false, true}) {
        EXPECT_EXIT(
            {
                kStorageManager::SetConfirmSystemMenuWarning(bConfirm);
                FaultAddText("nand-check:home-inodes@1");
                kStorageManager::LoadData(m_block.data());
                m_flow.Play(bConfirm ? std::vector<int>{1, 0} : std::vector<int>{1}, false);
            },
            testing::ExitedWithCode(0), "return to the console menu")
            << bConfirm;
    }
}

TEST_F(StorageMachineTest, DialogsCarryLiteralTextsInALanguage) {
    SetTextLanguage("UK_ENGLISH");
    ASSERT_TRUE(FaultAddText("nand-check:home-blocks@1"));
    kStorageManager::LoadData(m_block.data());
    const kDialog* dialog = kStorageManager::GetStorageDialog();
    ASSERT_TRUE(kDialogManager::IsOpen(kStorageManager::GetStorageDialog()));
    EXPECT_STREQ(dialog->m_title.CStr(), kText::SystemText(76, KTEXT_UK_ENGLISH));
    EXPECT_STREQ(dialog->m_body.CStr(), "");
    ASSERT_EQ(dialog->m_optionList.Size(), 2);
    EXPECT_STREQ(dialog->m_optionList(1).CStr(), kText::SystemText(79, KTEXT_UK_ENGLISH));
    EXPECT_EQ(dialog->m_titleScriptId, -1);
    EXPECT_EQ(dialog->m_bodyScriptId, -1);
    EXPECT_EQ(dialog->m_optionScriptIdList.Size(), 0);
    EXPECT_EQ(dialog->m_priority, kStorageManager::kDialogPriority);
}

TEST_F(StorageMachineTest, StartsDuringAFlowAreRefused) {
    WriteFile(SaveFile(), std::vector<u8>(10, 1));
    LogCapture log;
    kStorageManager::LoadData(m_block.data());
    ASSERT_EQ(kStorageManager::GetStorageState(), STATE_DATA_CORRUPTED);
    kStorageManager::SaveData(m_block.data());
    kStorageManager::LoadData(m_block.data());
    EXPECT_EQ(log.CountContaining("refused, a storage flow is running"), 2);
    EXPECT_EQ(kStorageManager::GetStorageState(), STATE_DATA_CORRUPTED);
    EXPECT_FALSE(kStorageManager::IsSaving());
    m_flow.Play({0}, false);
    EXPECT_EQ(m_flow.m_trace, "21:-1/85[86,87] choose0 load(0,0,0)");
    kStorageManager::LoadData(nullptr);
    EXPECT_EQ(log.CountContaining("LoadData: refused, no block"), 1);
}

// A dialog layer that opens the storage dialog again as it closes keeps it open when the
// machine moves on; the machine's own close of it must not move the machine a second time.
class StickyDialogLayer : public kHasSlots<> {
public:
    StickyDialogLayer() {
        kDialogManager::DialogCloseSignal.Connect(this, &StickyDialogLayer::Closed);
    }
    void Closed(kDialog* dialog) {
        if (m_bSticky && dialog == kStorageManager::GetStorageDialog()) {
            m_bSticky = false;
            kDialogManager::Open(dialog);
        }
    }
    bool m_bSticky = true;
};

class StorageDialogOrderTest : public StorageTest {};

TEST_F(StorageDialogOrderTest, ClosingItsStillOpenDialogDoesNotMoveTheMachineTwice) {
    StickyDialogLayer layer; // connected before the machine's own handler
    InitGameStorage();
    WriteFile(SaveFile(), std::vector<u8>(100, 0xDD));
    FlowTrace flow;
    std::vector<u8> block = Block(12);
    kStorageManager::LoadData(block.data());
    flow.Play({1}, false);
    EXPECT_EQ(flow.m_trace, "21:-1/85[86,87] choose1 load(1,0,0)");
    EXPECT_EQ(flow.m_completions, 1);
    EXPECT_EQ(ReadFile(SaveFile()), SaveFileOf(block));
}

TEST_F(StorageMachineTest, IdenticalSaveWritesNothingAndAChangedBlockWritesOnce) {
    WriteFile(SaveFile(), SaveFileOf(Block(1)));
    LogCapture log;
    std::vector<u8> zeros(kBlockSize, 0);
    kStorageManager::SaveData(zeros.data());
    EXPECT_EQ(log.CountContaining("No changes - nothing to save"), 1)
        << "all zeros before any save";

    std::vector<u8> loaded(kBlockSize, 0);
    kStorageManager::LoadData(loaded.data());
    kStorageManager::SaveData(loaded.data());
    EXPECT_EQ(log.CountContaining("WriteData: attempting"), 1)
        << "a load does not fill the saved copy";
    kStorageManager::SaveData(loaded.data());
    EXPECT_EQ(log.CountContaining("WriteData: attempting"), 1);
    EXPECT_EQ(log.CountContaining("No changes - nothing to save"), 2);
    loaded[100] ^= 1;
    kStorageManager::SaveData(loaded.data());
    kStorageManager::SaveData(loaded.data());
    EXPECT_EQ(log.CountContaining("WriteData: attempting"), 2);
    EXPECT_EQ(ReadFile(SaveFile()), SaveFileOf(loaded));
    EXPECT_EQ(m_flow.m_trace, "load(1,0,0) save(1) save(1)");
}

// Once the player goes on without a save file the machine writes nothing of any kind.
TEST_F(StorageMachineTest, ContinuingWithoutSavingWritesNothingAfterwards) {
    const std::vector<u8> damaged(100, 0xDD);
    WriteFile(SaveFile(), damaged);
    std::vector<u8> loaded(kBlockSize, 0);
    kStorageManager::LoadData(loaded.data());
    m_flow.Play({0}, false);
    ASSERT_TRUE(kStorageManager::IsContinueWithoutSaving());
    LogCapture log;
    std::vector<u8> block = Block(5);
    kStorageManager::SaveData(block.data());
    EXPECT_EQ(log.CountContaining("continuing without saving - nothing written"), 1);
    EXPECT_EQ(kStorageManager::GetStorageState(), STATE_IDLE);
    EXPECT_FALSE(kStorageManager::IsSaving());
    EXPECT_EQ(ReadFile(SaveFile()), damaged);
    EXPECT_EQ(m_flow.m_trace, "21:-1/85[86,87] choose0 load(0,0,0)");
}

// A banner lost (a power cut before it was first written whole) is written at the next load.
TEST_F(StorageMachineTest, LoadWritesAMissingBannerAgain) {
    WriteFile(SaveFile(), SaveFileOf(Block(3)));
    std::vector<u8> loaded(kBlockSize, 0);
    kStorageManager::LoadData(loaded.data());
    EXPECT_EQ(m_flow.m_trace, "load(1,0,0)");
    const std::vector<u8> banner = ReadFile(BannerFile());
    ASSERT_EQ(banner.size(), sizeof(NANDBanner));
    EXPECT_EQ(std::memcmp(banner.data(), &NandBanner(), banner.size()), 0);
}

} // namespace
