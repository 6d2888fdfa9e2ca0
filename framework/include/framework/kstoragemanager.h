// kStorageManager: loads and saves the game's save block as a state machine (eStorageState)
// over one storage dialog it owns; a DisplayDialogSignal listener opens the dialog and the
// player's choice moves the machine on. Each flow ends with one completion signal, in a dead
// end (no more blocks or files, flash memory corrupted or unusable: IsSaving() turns false)
// or at the console menu. Static, main thread only; starts while a flow runs, or before
// Init, are refused with a log line.
#pragma once

#include <framework/kdialog.h>

#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class kStorageManager {
public:
    static constexpr int kDialogPriority = 3;

    // The machine's states: the manual flows, the automatic ones, and the confirmation of
    // the return to the console menu. The numbers show in the log.
    enum eStorageState : int {
        STATE_IDLE = 0,
        STATE_MANUAL_LOAD = 1,
        STATE_LOAD_NO_SPACE = 2,
        STATE_LOAD_CREATING = 3,
        STATE_LOAD_CREATE_FAILED = 4,
        STATE_LOADING = 5,
        STATE_LOAD_FAILED = 6,
        STATE_MANUAL_SAVE = 10,
        STATE_SAVING = 11,
        STATE_SAVE_FAILED = 12,
        STATE_SAVE_CREATING = 13,
        STATE_SAVE_CREATE_FAILED = 14,
        STATE_SAVE_NO_SPACE = 15,
        STATE_AUTO_LOAD = 16,
        STATE_NOT_ENOUGH_SPACE_BLOCKS = 17,
        STATE_NOT_ENOUGH_SPACE = 18,
        STATE_NO_MORE_BLOCKS = 19,
        STATE_NO_MORE_FILES = 20,
        STATE_DATA_CORRUPTED = 21,
        STATE_FLASH_CORRUPTED = 22,
        STATE_FLASH_UNUSABLE = 23,
        STATE_AUTO_CREATE = 24,
        STATE_AUTO_LOADING = 26,
        STATE_FLASH_ERROR = 27, // not read or not written: continue only
        STATE_AUTO_SAVE = 28,
        STATE_AUTO_SAVING = 29,
        STATE_CONFIRM_RETURN_TO_MENU = 40,
    };

    // Once (until Deinit): the block size, flash-memory set-up and banner (kstoragenand.h),
    // the storage dialog. The two texts are not used.
    static void Init(int dataSize, const char* unused1, const char* unused2);
    // Forgets everything Init made and every flag; the storage dialog is closed first.
    static void Deinit();

    // Starts a load into data, which must stay valid until the flow ends.
    static void LoadData(void* data);
    // Starts a save of data unless it equals the block last handed to a save. Once the player
    // chose to continue without saving nothing is written at all.
    static void SaveData(void* data);

    static void SetAutoSave(bool bAutoSave);
    static bool IsSaving();
    static bool IsContinueWithoutSaving();
    static void SetConfirmSystemMenuWarning(bool bConfirm);

    // The current state and the storage dialog, for the dialog layer and tests.
    static eStorageState GetStorageState();
    static kDialog* GetStorageDialog();

    static kSignal1<kDialog*> DisplayDialogSignal;
    // success, corrupt (always false), newSave.
    static kSignal3<bool, bool, bool> LoadCompleteSignal;
    static kSignal1<bool> SaveCompleteSignal;
};

// Moves the machine on from the dialog manager's signals: a storage dialog with options
// when the player closes it, one without options when it is on screen.
class StorageEventHandler : public kHasSlots<> {
public:
    void OnScreen(kDialog* dialog);
    void Close(kDialog* dialog);
};

} // namespace Kelvo_lib
