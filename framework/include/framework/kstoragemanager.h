// kStorageManager: loads and saves the game's save block as a numbered state machine over
// one storage dialog it owns (manual flows 1-15, automatic 16-29, 40 confirming the return
// to the console menu); a DisplayDialogSignal listener opens the dialog and the player's
// choice moves the machine on. Each flow ends with one completion signal, in a dead end
// (19, 20, 22, 23: IsSaving() turns false) or at the console menu. Static, main thread
// only; starts while a flow runs, or before Init, are refused with a log line.
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
    // Starts a save of data unless it equals the block last handed to a save. Once the player
    // chose to continue without saving nothing is written at all.
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
