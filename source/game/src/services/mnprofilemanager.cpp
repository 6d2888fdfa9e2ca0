#include <services/mnprofilemanager.h>

#include <services/mnsaveranges.h>
#include <services/puzzlebank.h>

#include <framework/kstoragemanager.h>
#include <framework/ktext.h>

#include <kelvo/io/kfileiostream.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

// The language files on the disc, by eLanguage.
const char* const kTextFiles[LANGUAGE_COUNT] = {"uk_english", "french",          "italian",
                                                "german",     "spanish",         "dutch",
                                                "us_english", "canadian_english"};

// The storage dialog's texts for damaged data: body, "Continue without saving/loading",
// "Delete file".
constexpr int kDamagedBody = 85;
constexpr int kDamagedOptions[] = {86, 87};
constexpr int kOptionReplaceFile = 1;

MNSaveData FreshData() {
    MNSaveData data;
    data.Clear();
    return data;
}

MNSaveData s_data = FreshData();
alignas(32) u8 s_block[MN_SAVE_DATA_SIZE];
MNProfile s_profiles[MN_NUM_PROFILES] = {
    MNProfile(&s_data.profiles[0]), MNProfile(&s_data.profiles[1]), MNProfile(&s_data.profiles[2]),
    MNProfile(&s_data.profiles[3])};
int s_language = LANGUAGE_UK_ENGLISH;
int s_languageUpdateId = 0;
ProfileEventHandler* s_handler = nullptr;
kDialog* s_damagedDialog = nullptr;
// The save file could not be read and the player has not chosen to replace it.
bool s_bKeepDamagedFile = false;
// A save asked for while a storage flow ran, made when it ends.
bool s_bSavePending = false;
bool s_bPendingOverride = false;

// The language a save block without one starts in, as the world gave it.
int s_defaultLanguage = LANGUAGE_UK_ENGLISH;

void LoadTexts(int language) {
    char path[64];
    if (!MNProfileManager::GetTextFileName(language, path, sizeof(path))) {
        kLogFmt("MNProfileManager: no language texts for language %d\n", language);
        return;
    }
    SysFileHandle* handle = kPlatform_FileOpen(path, K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    if (handle == nullptr) {
        kLogFmt("MNProfileManager: no language texts %s, keeping the texts loaded\n", path);
        return;
    }
    kFileIOStream stream(handle);
    if (!kText::Load(&stream)) {
        kLogFmt("MNProfileManager: language texts %s not loaded\n", path);
    }
    stream.Close();
}

// The storage dialog's texts in the current text language; without one, the message ids
// for the dialog layer to fill in.
void FillDamagedFileDialog() {
    const int language = kText::GetLanguage();
    const bool bScriptIds = language == KTEXT_NONE;
    kDialog& dialog = *s_damagedDialog;
    dialog.m_title = "";
    dialog.m_body = kText::SystemText(kDamagedBody, language);
    dialog.m_titleScriptId = -1;
    dialog.m_bodyScriptId = bScriptIds ? kDamagedBody : -1;
    dialog.m_optionList.Empty();
    dialog.m_optionScriptIdList.Empty();
    for (int option : kDamagedOptions) {
        dialog.m_optionList.Push(kString(kText::SystemText(option, language)));
        if (bScriptIds) {
            dialog.m_optionScriptIdList.Push(option);
        }
    }
    dialog.m_currentOption = 0;
}

void KeepDamagedFileAndAsk(const char* reason) {
    kLogFmt("MNProfileManager: save file not used (%s); playing with new profiles\n", reason);
    s_data.Clear();
    s_bKeepDamagedFile = true;
    FillDamagedFileDialog();
    kDialogManager::Open(s_damagedDialog);
}

void MakePendingSave() {
    if (s_bSavePending) {
        s_bSavePending = false;
        MNProfileManager::SaveData(s_bPendingOverride);
        s_bPendingOverride = false;
    }
}

} // namespace

void MNProfileManager::Init(int defaultLanguage) {
    if (s_handler != nullptr) {
        kLogFmt("MNProfileManager::Init: already set up\n");
        return;
    }
    s_defaultLanguage = defaultLanguage;
    kStorageManager::Init(MN_SAVE_DATA_SIZE, "", "");
    kStorageManager::SetAutoSave(true);
    s_data.Clear();
    s_damagedDialog = new kDialog("", "", kStorageManager::kDialogPriority);
    s_handler = new ProfileEventHandler();
    kStorageManager::DisplayDialogSignal.Connect(s_handler, &ProfileEventHandler::OnDisplayDialog);
    kStorageManager::LoadCompleteSignal.Connect(s_handler, &ProfileEventHandler::OnLoadComplete);
    kStorageManager::SaveCompleteSignal.Connect(s_handler, &ProfileEventHandler::OnSaveComplete);
    kDialogManager::DialogCloseSignal.Connect(s_handler, &ProfileEventHandler::OnDialogClose);
    // A save file the load has to create holds fresh profiles from its first byte on.
    WriteSaveData(s_data, s_block);
    kStorageManager::LoadData(s_block);
}

void MNProfileManager::Deinit() {
    if (s_handler == nullptr) {
        return;
    }
    kDialogManager::Close(s_damagedDialog);
    delete s_handler;
    delete s_damagedDialog;
    s_handler = nullptr;
    s_damagedDialog = nullptr;
    kStorageManager::Deinit();
    MNProfile::GetPuzzlebank()->Unload();
    s_data.Clear();
    s_language = LANGUAGE_UK_ENGLISH;
    s_languageUpdateId = 0;
    s_bKeepDamagedFile = false;
    s_bSavePending = false;
    s_bPendingOverride = false;
}

MNProfile* MNProfileManager::GetActiveProfile() {
    return GetProfile(s_data.activeProfile);
}

int MNProfileManager::GetActiveProfileIndex() {
    return s_data.activeProfile;
}

void MNProfileManager::SetActiveProfile(int slot) {
    if (slot < -1 || slot >= MN_NUM_PROFILES) {
        kLogFmt("MNProfileManager::SetActiveProfile: no slot %d\n", slot);
        return;
    }
    s_data.activeProfile = static_cast<s8>(slot);
}

MNProfile* MNProfileManager::GetProfile(int slot) {
    return slot >= 0 && slot < MN_NUM_PROFILES ? &s_profiles[slot] : nullptr;
}

int MNProfileManager::GetLanguage() {
    return s_language;
}

int MNProfileManager::GetLanguageUpdateID() {
    return s_languageUpdateId;
}

void MNProfileManager::SetLanguage(int language, bool bSaveToProfile, bool bLoadPuzzleData) {
    if (language < 0 || language >= LANGUAGE_COUNT) {
        kLogFmt("SetLanguage: unknown language %d\n", language);
        return;
    }
    s_language = language;
    ++s_languageUpdateId;
    LoadTexts(language);
    if (bLoadPuzzleData && !MNProfile::GetPuzzlebank()->Load(language)) {
        kLogFmt("SetLanguage: no puzzle bank for language %d\n", language);
    }
    if (!bSaveToProfile) {
        return;
    }
    if (s_data.language == language) {
        kLogFmt("SetLanguage: New language same as last (%d)\n", language);
        return;
    }
    s_data.language = static_cast<u8>(language);
    for (MNSaveProfileData& profile : s_data.profiles) {
        profile.ClearLanguageData();
    }
    SaveData(false);
}

bool MNProfileManager::GetTextFileName(int language, char* name, int size) {
    if (language < 0 || language >= LANGUAGE_COUNT || name == nullptr || size <= 0) {
        return false;
    }
    const int wanted =
        std::snprintf(name, static_cast<size_t>(size), "wii/%s.txz", kTextFiles[language]);
    return wanted >= 0 && wanted < size;
}

bool MNProfileManager::SaveData(bool bOverride) {
    if (s_handler == nullptr) {
        kLogFmt("MNProfileManager::SaveData: not set up\n");
        return false;
    }
    if (s_bKeepDamagedFile) {
        kLogFmt("MNProfileManager::SaveData: keeping the damaged save file, not saving\n");
        return false;
    }
    if (kStorageManager::IsContinueWithoutSaving() && !bOverride) {
        return false;
    }
    if (kStorageManager::GetStorageState() != kStorageManager::STATE_IDLE) {
        kLogFmt("MNProfileManager::SaveData: storage busy, saving when it is done\n");
        s_bSavePending = true;
        s_bPendingOverride = s_bPendingOverride || bOverride;
        return true;
    }
    WriteSaveData(s_data, s_block);
    kStorageManager::SaveData(s_block);
    return true;
}

const MNSaveData& MNProfileManager::GetSaveData() {
    return s_data;
}

void ProfileEventHandler::OnDisplayDialog(kDialog* dialog) {
    kDialogManager::Open(dialog);
}

void ProfileEventHandler::OnLoadComplete(bool bSuccess, bool, bool bNewSave) {
    if (bSuccess) {
        if (const char* reason = ReadSaveData(s_block, MN_SAVE_DATA_SIZE, s_data)) {
            KeepDamagedFileAndAsk(reason);
        } else {
            kLogFmt("MNProfileManager: save file loaded\n");
        }
    } else {
        kLogFmt("MNProfileManager: %s\n",
                bNewSave ? "new save file" : "playing without the save file");
        s_data.Clear();
    }
    const int stored = s_data.language;
    MNProfileManager::SetLanguage(stored != LANGUAGE_NONE ? stored : s_defaultLanguage, false,
                                  true);
    BringLaddersIntoBank(s_data, *MNProfile::GetPuzzlebank(), s_language);
    if (bNewSave) {
        MNProfileManager::SaveData(false);
    }
    MakePendingSave();
}

void ProfileEventHandler::OnSaveComplete(bool bSuccess) {
    kLogFmt("MNProfileManager: save %s\n", bSuccess ? "written" : "not written");
    MakePendingSave();
}

void ProfileEventHandler::OnDialogClose(kDialog* dialog) {
    if (dialog != s_damagedDialog || !s_bKeepDamagedFile) {
        return;
    }
    if (dialog->m_currentOption != kOptionReplaceFile) {
        kLogFmt("MNProfileManager: keeping the damaged save file; playing without saving\n");
        return;
    }
    kLogFmt("MNProfileManager: replacing the damaged save file\n");
    s_bKeepDamagedFile = false;
    MNProfileManager::SaveData(true);
}

} // namespace Kelvo_lib
