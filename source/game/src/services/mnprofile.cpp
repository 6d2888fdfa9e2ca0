#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mnvolume.h>
#include <services/puzzlebank.h>

#include <kelvo/input/kinputsystem.h>
#include <kelvo/math/kmrandom.h>
#include <kelvo/platform/kplatform.h>

#include <cstring>

namespace Kelvo_lib {

namespace {

// The debug key: remote 0's 2 button (the key "2" in the window).
constexpr kInputType kCheatKey = KI_WII_PAD1_BUTTON_2;

bool s_bCheatKeyHeld = false;

bool IsDebugProfile(const MNProfile* profile) {
    return profile != nullptr && std::strcmp(profile->GetName(), MNProfile::kDebugName) == 0;
}

} // namespace

void MNProfile::SetSoundVolume(int level) {
    m_data->soundVolume = static_cast<u8>(ClampVolume(level, "Profile effect"));
}

void MNProfile::SetMusicVolume(int level) {
    m_data->musicVolume = static_cast<u8>(ClampVolume(level, "Profile music"));
}

void MNProfile::ApplyVolumes() const {
    MNSound::SetSoundEffectVolume(GetSoundVolume());
    MNSound::SetMusicVolume(GetMusicVolume());
}

void MNProfile::Clear() {
    m_data->Clear();
}

bool MNProfile::CheatKeyPressed() {
    const bool bDown = kInput != nullptr && kInput->GetInputState(kCheatKey, 0) != 0.0f;
    const bool bPressed = bDown && !s_bCheatKeyHeld;
    s_bCheatKeyHeld = bDown;
    return bPressed && IsDebugProfile(MNProfileManager::GetActiveProfile());
}

kmRandomMersenneTwister* MNProfile::GetRandomGen() {
    static kmRandomMersenneTwister s_random(kPlatform_TickCount());
    return &s_random;
}

PuzzleBank* MNProfile::GetPuzzlebank() {
    static PuzzleBank s_bank;
    return &s_bank;
}

} // namespace Kelvo_lib
