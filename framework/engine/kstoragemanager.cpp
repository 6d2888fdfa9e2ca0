// The storage state machine: each state either runs flash-memory operations and moves
// on at once, or shows the storage dialog with its system messages and waits for the
// player's choice (or, without options, for the dialog to be on screen).
#include <framework/kstoragemanager.h>
#include <framework/kstoragenand.h>
#include <framework/ktext.h>

#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <console/os.h>
#include <console/vi.h>

#include <cstddef>
#include <cstring>

namespace Kelvo_lib {

kSignal1<kDialog*> kStorageManager::DisplayDialogSignal;
kSignal3<bool, bool, bool> kStorageManager::LoadCompleteSignal;
kSignal1<bool> kStorageManager::SaveCompleteSignal;

namespace {

constexpr const char* kLogSystem = "kStorage";
constexpr int kNoText = -1;
// A flash-memory error may pass (busy, a read error): the check or load is tried this often
// before the player is told.
constexpr int kFlashTries = 3;

// The machine's own states, named without the class.
using enum kStorageManager::eStorageState;

// What the shown storage dialog waits for before the machine moves on.
enum class Awaiting { Nothing, OnScreen, Choice };

kStorageManager::eStorageState s_storageState = STATE_IDLE;
kStorageManager::eStorageState s_lastStorageState = STATE_IDLE;
bool s_bAutoSave = false;
bool s_saving = false;
bool s_bContinueWithoutSaving = false;
bool s_bConfirmSystemMenuWarning = false;
unsigned char* s_dataLastBuf = nullptr;
kDialog* s_storageDialog = nullptr;
StorageEventHandler* s_eventHandler = nullptr;
Awaiting s_awaiting = Awaiting::Nothing;

void OpenStorageDialog();

// Closes the storage dialog without moving the machine on.
void CloseOwnDialog() {
    s_awaiting = Awaiting::Nothing;
    kDialogManager::Close(s_storageDialog);
}

bool IsDeadEnd(kStorageManager::eStorageState state) {
    return state == STATE_NO_MORE_BLOCKS || state == STATE_NO_MORE_FILES ||
           state == STATE_FLASH_CORRUPTED || state == STATE_FLASH_UNUSABLE;
}

// A dead end shows its message for good; a save that reaches one is over, so that
// IsSaving() never holds up a reset.
void GoTo(kStorageManager::eStorageState state) {
    s_storageState = state;
    if (IsDeadEnd(state) && s_saving) {
        kLogSys(kLogSystem, "SaveData: save abandoned in state %d\n", state);
        s_saving = false;
    }
    OpenStorageDialog();
}

// The state is idle before the signal, so that a listener may start the next flow.
void EndFlow() {
    s_storageState = STATE_IDLE;
    if (kDialogManager::IsOpen(s_storageDialog)) {
        CloseOwnDialog();
    }
}

void EndLoad(bool bSuccess, bool bNewSave) {
    EndFlow();
    kStorageManager::LoadCompleteSignal(bSuccess, false, bNewSave);
}

void EndSave(bool bSuccess) {
    EndFlow();
    s_saving = false;
    kStorageManager::SaveCompleteSignal(bSuccess);
}

void ContinueWithoutSaving() {
    s_bContinueWithoutSaving = true;
}

// The player goes on without the save file, ending the flow that is running.
void EndWithoutData() {
    ContinueWithoutSaving();
    if (s_saving) {
        EndSave(false);
    } else {
        EndLoad(false, false);
    }
}

[[noreturn]] void BlackScreenAndReturnToMenu() {
    VISetBlack(TRUE);
    VIFlush();
    VIWaitForRetrace();
    OSReturnToMenu();
}

void ReturnToMenuOrConfirm() {
    if (s_bConfirmSystemMenuWarning) {
        s_lastStorageState = s_storageState;
        GoTo(STATE_CONFIRM_RETURN_TO_MENU);
    } else {
        BlackScreenAndReturnToMenu();
    }
}

// The state that a failed operation's result leads to; anything unlisted goes to the state
// StateAfter is given.
struct ResultChoice {
    int result;
    kStorageManager::eStorageState state;
};
// "No such file" from a create says nothing of the data: the flash memory was not written.
constexpr ResultChoice kAfterCreate[] = {
    {NAND_RESULT_CORRUPT, STATE_FLASH_CORRUPTED}, {NAND_RESULT_MAXFILES, STATE_NO_MORE_FILES},
    {NAND_RESULT_BUSY, STATE_FLASH_UNUSABLE},     {NAND_RESULT_ALLOC_FAILED, STATE_FLASH_UNUSABLE},
    {NAND_RESULT_NOEXISTS, STATE_FLASH_ERROR},
};
constexpr ResultChoice kAfterWrite[] = {
    {NAND_RESULT_CORRUPT, STATE_FLASH_CORRUPTED},     {NAND_RESULT_MAXBLOCKS, STATE_NO_MORE_BLOCKS},
    {NAND_RESULT_MAXFILES, STATE_NO_MORE_FILES},      {NAND_RESULT_BUSY, STATE_FLASH_UNUSABLE},
    {NAND_RESULT_ALLOC_FAILED, STATE_FLASH_UNUSABLE},
};
// A file that could not be read after every try; its data is not known to be damaged.
constexpr ResultChoice kAfterLoad[] = {
    {NAND_RESULT_CORRUPT, STATE_FLASH_CORRUPTED},
};

template <size_t N>
kStorageManager::eStorageState
StateAfter(const ResultChoice (&choices)[N],
           kStorageManager::eStorageState otherwise = STATE_DATA_CORRUPTED) {
    for (const ResultChoice& choice : choices) {
        if (choice.result == NandLastError()) {
            return choice.state;
        }
    }
    return otherwise;
}

// Not enough space: the space check's answer says whether the title's blocks ran out.
void GoToNotEnoughSpace() {
    const bool bBlocks = (static_cast<u32>(NandLastError()) & NAND_CHECK_HOME_BLOCKS) != 0;
    GoTo(bBlocks ? STATE_NOT_ENOUGH_SPACE_BLOCKS : STATE_NOT_ENOUGH_SPACE);
}

// Whether the save file is there, trying again while it is not found: a single "no such
// file" may pass like any other answer. False with NandLastError() NAND_RESULT_NOEXISTS when
// it is missing every time.
bool FindFileRetried() {
    for (int attempt = 1;; ++attempt) {
        if (NandFindFile()) {
            return true;
        }
        if (attempt == kFlashTries) {
            return false;
        }
        kLogSys(kLogSystem, "NandFindFile: trying again\n");
    }
}

// Loads the block, trying again while the file could not be read; a damaged file is not
// read again.
bool LoadRetried() {
    for (int attempt = 1;; ++attempt) {
        if (NandLoad()) {
            return true;
        }
        if (NandLoadFoundDamage() || attempt == kFlashTries) {
            return false;
        }
        kLogSys(kLogSystem, "NandLoad: trying again\n");
    }
}

// A banner lost before it was first written whole is written again.
void RestoreMissingBanner() {
    if (!NandFindBanner() && !NandSaveBanner()) {
        kLogSys(kLogSystem, "banner.bin is missing and could not be written\n");
    }
}

// Creates the save file and writes the banner; on failure moves to the state the
// result leads to. A save file that was not found but is there when it is created is
// loaded after all: it is neither called damaged nor replaced.
bool CreateFilesOrFail() {
    if (!NandCreate()) {
        const bool bThere = NandLastError() == NAND_RESULT_EXISTS;
        if (bThere) {
            kLogSys(kLogSystem, "save.dat is there after all\n");
        }
        GoTo(bThere ? STATE_AUTO_LOADING : StateAfter(kAfterCreate));
        return false;
    }
    if (!NandSaveBanner()) {
        GoTo(StateAfter(kAfterWrite));
        return false;
    }
    return true;
}

// What each state does when the machine moves on; option is the dialog's current option.
void ManualLoad(int) {
    if (NandFindFile()) {
        GoTo(STATE_LOADING);
    } else {
        GoTo(NandSpace() ? STATE_LOAD_CREATING : STATE_LOAD_NO_SPACE);
    }
}

void GiveUpLoad(int) {
    ContinueWithoutSaving();
    EndLoad(false, false);
}

void CreateForLoad(int) {
    if (NandCreate() && NandSaveBanner()) {
        EndLoad(true, false);
    } else {
        GoTo(STATE_LOAD_CREATE_FAILED);
    }
}

void Load(int) {
    if (NandLoad()) {
        EndLoad(true, false);
    } else {
        GoTo(STATE_LOAD_FAILED);
    }
}

void LoadFailed(int option) {
    if (option != 1) {
        GiveUpLoad(option);
        return;
    }
    NandDeleteSave();
    GoTo(STATE_MANUAL_LOAD);
}

void ManualSave(int) {
    GoTo(NandFindFile() ? STATE_SAVING : STATE_SAVE_CREATING);
}

void Save(int) {
    if (NandSave()) {
        EndSave(true);
    } else {
        GoTo(STATE_SAVE_FAILED);
    }
}

void GiveUpSave(int) {
    ContinueWithoutSaving();
    EndSave(false);
}

void SaveFailed(int option) {
    if (option != 1) {
        kLogSys(kLogSystem, "continue without saving\n");
        GiveUpSave(option);
        return;
    }
    NandDeleteSave();
    GoTo(STATE_SAVE_CREATING);
}

void CreateForSave(int) {
    if (!NandSpace()) {
        GoTo(STATE_SAVE_NO_SPACE);
    } else if (!NandCreate() || !NandSaveBanner()) {
        GoTo(STATE_SAVE_CREATE_FAILED);
    } else {
        GoTo(STATE_MANUAL_SAVE);
    }
}

// A file that could not be checked or read is not damaged data: the player is told, and
// offered no delete.
void AutoLoad(int) {
    if (FindFileRetried()) {
        GoTo(STATE_AUTO_LOADING);
    } else if (NandLastError() != NAND_RESULT_NOEXISTS) {
        GoTo(STATE_FLASH_ERROR);
    } else if (NandSpace()) {
        GoTo(STATE_AUTO_CREATE);
    } else {
        GoToNotEnoughSpace();
    }
}

void NotEnoughSpace(int option) {
    if (option == 1) {
        ReturnToMenuOrConfirm();
    } else {
        EndWithoutData();
    }
}

// Only a load reaches damaged data. "Delete file" replaces the file with the block through a
// safe file, so that the damaged file stays until the new block is committed whole, and
// loads again; with no file there the load makes one. A file that cannot be replaced (a
// directory in its place) is told as a flash error rather than asked about again.
void DataCorrupted(int option) {
    if (option != 1) {
        EndWithoutData();
        return;
    }
    if (!NandSave() && NandLastError() != NAND_RESULT_NOEXISTS) {
        GoTo(STATE_FLASH_ERROR);
        return;
    }
    GoTo(STATE_AUTO_LOAD);
}

void AutoCreate(int) {
    if (CreateFilesOrFail()) {
        EndLoad(false, true);
    }
}

void AutoLoading(int) {
    if (LoadRetried()) {
        RestoreMissingBanner();
        EndLoad(true, false);
    } else if (NandLoadFoundDamage()) {
        GoTo(STATE_DATA_CORRUPTED);
    } else {
        GoTo(StateAfter(kAfterLoad, STATE_FLASH_ERROR));
    }
}

// A save file that cannot be found or written during play is a flash error, never damaged
// data: the player is offered no delete, and the file on flash memory stays as it was.
void AutoSave(int) {
    if (FindFileRetried()) {
        GoTo(STATE_AUTO_SAVING);
    } else if (NandLastError() != NAND_RESULT_NOEXISTS || NandSpace()) {
        GoTo(STATE_FLASH_ERROR);
    } else {
        GoToNotEnoughSpace();
    }
}

void AutoSaving(int) {
    if (NandSave()) {
        EndSave(true);
    } else {
        GoTo(StateAfter(kAfterWrite, STATE_FLASH_ERROR));
    }
}

void FlashError(int) {
    EndWithoutData();
}

void ConfirmReturnToMenu(int option) {
    if (option == 1) {
        GoTo(s_lastStorageState);
    } else {
        BlackScreenAndReturnToMenu();
    }
}

// The storage dialog of a state: system message ids of title, body and options.
struct DialogText {
    int titleId;
    int bodyId;
    int optionIds[2];
    int numOptions;
};

struct StateRow {
    kStorageManager::eStorageState state;
    bool bRunsAtOnce; // shows no dialog and moves on at once
    DialogText dialog;
    void (*next)(int option); // null: a dead end
};

constexpr DialogText kNoDialog{kNoText, kNoText, {}, 0};

constexpr StateRow kStates[] = {
    {STATE_MANUAL_LOAD, true, kNoDialog, ManualLoad},
    {STATE_LOAD_NO_SPACE, false, {59, 60, {48}, 1}, GiveUpLoad},
    {STATE_LOAD_CREATING, false, {69, 70, {}, 0}, CreateForLoad},
    {STATE_LOAD_CREATE_FAILED, false, {61, 62, {48}, 1}, GiveUpLoad},
    {STATE_LOADING, false, {71, 72, {}, 0}, Load},
    {STATE_LOAD_FAILED, false, {63, 64, {48, 50}, 2}, LoadFailed},
    {STATE_MANUAL_SAVE, true, kNoDialog, ManualSave},
    {STATE_SAVING, false, {73, 74, {}, 0}, Save},
    {STATE_SAVE_FAILED, false, {65, 66, {48, 50}, 2}, SaveFailed},
    {STATE_SAVE_CREATING, false, {69, 70, {}, 0}, CreateForSave},
    {STATE_SAVE_CREATE_FAILED, false, {61, 62, {48}, 1}, GiveUpSave},
    {STATE_SAVE_NO_SPACE, false, {59, 60, {48}, 1}, GiveUpSave},
    {STATE_AUTO_LOAD, true, kNoDialog, AutoLoad},
    {STATE_NOT_ENOUGH_SPACE_BLOCKS, false, {76, kNoText, {78, 79}, 2}, NotEnoughSpace},
    {STATE_NOT_ENOUGH_SPACE, false, {80, kNoText, {81, 82}, 2}, NotEnoughSpace},
    {STATE_NO_MORE_BLOCKS, false, {kNoText, 83, {}, 0}, nullptr},
    {STATE_NO_MORE_FILES, false, {kNoText, 84, {}, 0}, nullptr},
    {STATE_DATA_CORRUPTED, false, {kNoText, 85, {86, 87}, 2}, DataCorrupted},
    {STATE_FLASH_CORRUPTED, false, {kNoText, 88, {}, 0}, nullptr},
    {STATE_FLASH_UNUSABLE, false, {kNoText, 91, {}, 0}, nullptr},
    {STATE_AUTO_CREATE, true, kNoDialog, AutoCreate},
    {STATE_AUTO_LOADING, true, kNoDialog, AutoLoading},
    {STATE_FLASH_ERROR, false, {kNoText, 91, {86}, 1}, FlashError},
    {STATE_AUTO_SAVE, true, kNoDialog, AutoSave},
    {STATE_AUTO_SAVING, true, kNoDialog, AutoSaving},
    {STATE_CONFIRM_RETURN_TO_MENU, false, {143, 144, {127, 128}, 2}, ConfirmReturnToMenu},
};

const StateRow* FindRow(kStorageManager::eStorageState state) {
    for (const StateRow& row : kStates) {
        if (row.state == state) {
            return &row;
        }
    }
    return nullptr;
}

void NextState() {
    const StateRow* row = FindRow(s_storageState);
    if (row != nullptr && row->next != nullptr) {
        row->next(s_storageDialog->m_currentOption);
    }
}

const char* MessageText(int id, int language) {
    return id == kNoText ? "" : kText::SystemText(id, language);
}

// Literal texts of the current language; with no language, the message ids as well.
void FillDialog(const DialogText& text) {
    const int language = kText::GetLanguage();
    kDialog& dialog = *s_storageDialog;
    dialog.m_title = MessageText(text.titleId, language);
    dialog.m_body = MessageText(text.bodyId, language);
    dialog.m_optionList.Empty();
    dialog.m_optionScriptIdList.Empty();
    for (int i = 0; i < text.numOptions; ++i) {
        dialog.m_optionList.Push(kString(MessageText(text.optionIds[i], language)));
    }
    dialog.m_currentOption = 0;
    dialog.m_priority = kStorageManager::kDialogPriority;
    const bool bScriptIds = language == KTEXT_NONE;
    dialog.m_titleScriptId = bScriptIds ? text.titleId : kNoText;
    dialog.m_bodyScriptId = bScriptIds ? text.bodyId : kNoText;
    for (int i = 0; bScriptIds && i < text.numOptions; ++i) {
        dialog.m_optionScriptIdList.Push(text.optionIds[i]);
    }
}

void OpenStorageDialog() {
    if (kDialogManager::IsOpen(s_storageDialog)) {
        CloseOwnDialog();
    }
    const StateRow* row = FindRow(s_storageState);
    if (row == nullptr) {
        return;
    }
    if (row->bRunsAtOnce) {
        NextState();
        return;
    }
    FillDialog(row->dialog);
    s_awaiting = row->dialog.numOptions > 0 ? Awaiting::Choice : Awaiting::OnScreen;
    kStorageManager::DisplayDialogSignal(s_storageDialog);
}

bool CanStartFlow(const char* call, const void* data) {
    if (s_storageDialog == nullptr) {
        kLogSys(kLogSystem, "%s: refused, storage is not set up\n", call);
        return false;
    }
    if (data == nullptr) {
        kLogSys(kLogSystem, "%s: refused, no block\n", call);
        return false;
    }
    if (s_storageState != STATE_IDLE) {
        kLogSys(kLogSystem, "%s: refused, a storage flow is running (state %d)\n", call,
                s_storageState);
        return false;
    }
    return true;
}

} // namespace

void kStorageManager::Init(int dataSize, const char*, const char*) {
    if (s_storageDialog != nullptr) {
        kLogSys(kLogSystem, "Init: already set up\n");
        return;
    }
    NandInit(dataSize);
    s_dataLastBuf = static_cast<unsigned char*>(
        kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, static_cast<u32>(dataSize)));
    std::memset(s_dataLastBuf, 0, static_cast<size_t>(dataSize));
    s_storageDialog = new kDialog("", "", 0);
    s_eventHandler = new StorageEventHandler();
    kDialogManager::DialogOnScreenSignal.Connect(s_eventHandler, &StorageEventHandler::OnScreen);
    kDialogManager::DialogCloseSignal.Connect(s_eventHandler, &StorageEventHandler::Close);
}

void kStorageManager::Deinit() {
    if (s_storageDialog != nullptr && kDialogManager::IsOpen(s_storageDialog)) {
        CloseOwnDialog();
    }
    delete s_eventHandler;
    delete s_storageDialog;
    if (s_dataLastBuf != nullptr) {
        kPlatform_ReleaseFree(s_dataLastBuf);
    }
    s_eventHandler = nullptr;
    s_storageDialog = nullptr;
    s_dataLastBuf = nullptr;
    s_storageState = STATE_IDLE;
    s_lastStorageState = STATE_IDLE;
    s_bAutoSave = false;
    s_saving = false;
    s_bContinueWithoutSaving = false;
    s_bConfirmSystemMenuWarning = false;
    s_awaiting = Awaiting::Nothing;
    NandDeinit();
}

void kStorageManager::LoadData(void* data) {
    if (!CanStartFlow("LoadData", data)) {
        return;
    }
    NandSetDataBlock(data);
    s_storageState = s_bAutoSave ? STATE_AUTO_LOAD : STATE_MANUAL_LOAD;
    OpenStorageDialog();
}

void kStorageManager::SaveData(void* data) {
    if (!CanStartFlow("SaveData", data)) {
        return;
    }
    if (s_bContinueWithoutSaving) {
        kLogSys(kLogSystem, "SaveData: continuing without saving - nothing written\n");
        return;
    }
    const size_t size = static_cast<size_t>(NandDataSize());
    if (std::memcmp(data, s_dataLastBuf, size) == 0) {
        kLogSys(kLogSystem, "SaveData: No changes - nothing to save\n");
        return;
    }
    kLogSys(kLogSystem, "SaveData: Saving\n");
    std::memcpy(s_dataLastBuf, data, size);
    s_saving = true;
    NandSetDataBlock(data);
    s_storageState = s_bAutoSave ? STATE_AUTO_SAVE : STATE_MANUAL_SAVE;
    OpenStorageDialog();
}

void kStorageManager::SetAutoSave(bool bAutoSave) {
    s_bAutoSave = bAutoSave;
}

bool kStorageManager::IsSaving() {
    return s_saving;
}

bool kStorageManager::IsContinueWithoutSaving() {
    return s_bContinueWithoutSaving;
}

void kStorageManager::SetConfirmSystemMenuWarning(bool bConfirm) {
    s_bConfirmSystemMenuWarning = bConfirm;
}

kStorageManager::eStorageState kStorageManager::GetStorageState() {
    return s_storageState;
}

kDialog* kStorageManager::GetStorageDialog() {
    return s_storageDialog;
}

void StorageEventHandler::OnScreen(kDialog* dialog) {
    if (dialog != s_storageDialog || dialog->m_optionList.Size() != 0 ||
        s_awaiting != Awaiting::OnScreen) {
        return;
    }
    s_awaiting = Awaiting::Nothing;
    NextState();
}

void StorageEventHandler::Close(kDialog* dialog) {
    if (dialog != s_storageDialog || dialog->m_optionList.Size() == 0 ||
        s_awaiting != Awaiting::Choice) {
        return;
    }
    s_awaiting = Awaiting::Nothing;
    NextState();
}

} // namespace Kelvo_lib
