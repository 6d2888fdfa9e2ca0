// kStorageManager: loads and saves the game's one save block on flash memory as a
// numbered state machine over one storage dialog, in manual flows (states 1 to 15) or
// automatic ones (16 to 29, the game's), with 40 confirming the return to the console
// menu. It owns the dialog; a DisplayDialogSignal listener opens it, the player's choice
// closes it and moves the machine on. Each flow ends with one LoadCompleteSignal or
// SaveCompleteSignal, except in the dead ends 19, 20, 22 and 23 (a message with no way on,
// where IsSaving() turns false) and the return to the console menu. Static service, main
// thread only; calls while a flow runs, or before Init, are refused with a log line.
#pragma once

#include <framework/kdialog.h>

#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class kStorageManager {
public:
    static constexpr int kDialogPriority = 3;

    // Once (until Deinit): the block size, flash-memory set-up and banner (kstoragenand.h),
    // the storage dialog. The two texts are not used.
    static void Init(int dataSize, const char* unused1, const char* unused2);
    // Forgets everything Init made and every flag; the storage dialog is closed first.
    static void Deinit();

    // Starts a load into data, which must stay valid until the flow ends.
    static void LoadData(void* data);
    // Starts a save of data unless it equals the block last handed to a save.
    static void SaveData(void* data);

    static void SetAutoSave(bool bAutoSave);
    static bool IsSaving();
    static bool IsContinueWithoutSaving();
    static void SetConfirmSystemMenuWarning(bool bConfirm);

    // The current state (0: idle) and the storage dialog, for the dialog layer and tests.
    static int GetStorageState();
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
