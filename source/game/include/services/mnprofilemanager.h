// MNProfileManager: the save block in memory with its four profiles, the active profile,
// the game language (its texts and puzzle bank) and the save file behind them. Init starts
// the load of "save.dat" through kStorageManager; until it completes, and whenever the
// file is missing, unreadable or damaged, the profiles are a fresh block. A damaged file is
// only replaced once the player chooses to; saves return false while they would lose it.
// Static, main thread only.
#pragma once

#include <services/mnprofile.h>

#include <framework/kdialog.h>

#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNProfileManager {
public:
    // Sets up the storage for the block (automatic saving) and starts loading it; a block
    // that holds no language gets defaultLanguage (an eLanguage).
    static void Init(int defaultLanguage = LANGUAGE_UK_ENGLISH);
    // Forgets the block, the language and the storage set-up.
    static void Deinit();

    // Null when no profile is active.
    static MNProfile* GetActiveProfile();
    static int GetActiveProfileIndex();
    // 0 to 3, or -1 for none; stored in the block's global settings.
    static void SetActiveProfile(int slot);
    // Null outside 0 to 3.
    static MNProfile* GetProfile(int slot);

    static int GetLanguage();
    static int GetLanguageUpdateID();
    // Loads the language's texts (and, with bLoadPuzzleData, its puzzle bank); a missing
    // file is logged and leaves none. With bSaveToProfile a new language is stored, every
    // profile's tournament, resume records and played puzzles are cleared and the block is
    // saved.
    static void SetLanguage(int language, bool bSaveToProfile, bool bLoadPuzzleData);
    // The disc path of a language's texts ("wii/uk_english.txz" for eLanguage 0) into name;
    // false for a language outside 0 to 7 or a name that does not fit.
    static bool GetTextFileName(int language, char* name, int size);

    // Hands the block to the storage manager and returns true; false, saving nothing, in
    // continue-without-saving mode (unless bOverride) and while a damaged save file is kept.
    static bool SaveData(bool bOverride);

    // The block as it is in memory.
    static const MNSaveData& GetSaveData();
};

// Listens to the storage manager: opens its dialogs, takes in loaded blocks and the
// player's answer about a damaged save file.
class ProfileEventHandler : public kHasSlots<> {
public:
    void OnDisplayDialog(kDialog* dialog);
    void OnLoadComplete(bool bSuccess, bool bCorrupt, bool bNewSave);
    void OnSaveComplete(bool bSuccess);
    void OnDialogClose(kDialog* dialog);
};

} // namespace Kelvo_lib
