// The options lists' volume selectors: the active profile's levels shown as bars, a change
// stored in range in the profile and played by the sound table with the volume sound, one
// save on leaving the list, and without an active profile nothing shown or kept; the
// chosen profile's levels played; the clamp that every setter and the save reader share.
#include "frontend_fixture.h"
#include "log_capture.h"

#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mnvolume.h>
#include <services/mnvolumeoptions.h>
#include <tui/menunodedata.h>

#include <framework/kmenu.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;
using test_support::LogCapture;

class VolumeOptionsTest : public frontend_test::FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        m_menu.SetNode(m_nodes.GetNode(MENU_OPTIONS));
        MNProfileManager::SetActiveProfile(0);
        Profile().SetSoundVolume(2);
        Profile().SetMusicVolume(4);
    }

    static MNProfile& Profile() { return *MNProfileManager::GetProfile(0); }
    kMenuNode* Node(int id) { return m_nodes.GetNode(id); }

    MenuNodeData m_nodes;
    kMenu m_menu;
    MNVolumeOptions m_options{MENU_OPTIONS, MENU_EFFECTS_VOLUME, MENU_MUSIC_VOLUME};
};

TEST_F(VolumeOptionsTest, TheSelectorsShowTheActiveProfilesLevelsAsBars) {
    m_options.Show(&m_menu);
    EXPECT_EQ(Node(MENU_EFFECTS_VOLUME)->m_currentState, 2);
    EXPECT_EQ(Node(MENU_MUSIC_VOLUME)->m_currentState, 4);
    EXPECT_TRUE(Node(MENU_EFFECTS_VOLUME)->m_bVolumeBars && Node(MENU_MUSIC_VOLUME)->m_bVolumeBars);

    MenuNodeData fresh;
    m_menu.SetNode(fresh.GetNode(MENU_OPTIONS));
    MNProfileManager::SetActiveProfile(-1);
    LogCapture log;
    m_options.Show(&m_menu);
    EXPECT_EQ(log.CountContaining("no active profile for the volumes"), 1);
    EXPECT_FALSE(fresh.GetNode(MENU_MUSIC_VOLUME)->m_bVolumeBars);
}

TEST_F(VolumeOptionsTest, AChangeIsStoredInRangePlayedAndConfirmed) {
    MNSound::SetSoundEffectVolume(0);
    MNSound::SetMusicVolume(0);
    LogCapture log;
    EXPECT_TRUE(m_options.Change(MENU_EFFECTS_VOLUME, 9));
    EXPECT_EQ(log.CountContaining("outside 0 to 5"), 1);
    EXPECT_EQ(Profile().GetSoundVolume(), MN_MAX_VOLUME);
    EXPECT_EQ(MNSound::GetSoundEffectVolume(), MN_MAX_VOLUME);
    EXPECT_EQ(MNSound::GetMusicVolume(), 4) << "the profile's levels play together";
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_VOLUME);

    EXPECT_TRUE(m_options.Change(MENU_MUSIC_VOLUME, 1));
    EXPECT_EQ(Profile().GetMusicVolume(), 1);
    EXPECT_EQ(MNSound::GetMusicVolume(), 1);

    MNSound::PlaySoundEffect(SFX_BACK);
    EXPECT_FALSE(m_options.Change(MENU_PAUSE_MUSIC_VOLUME, 3)) << "another list's selector";
    EXPECT_EQ(Profile().GetMusicVolume(), 1);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_BACK);
}

TEST_F(VolumeOptionsTest, WithoutAnActiveProfileAChangeIsLoggedAndKeptNowhere) {
    Profile().ApplyVolumes();
    MNProfileManager::SetActiveProfile(-1);
    const MNSaveData before = MNProfileManager::GetSaveData();
    LogCapture log;
    EXPECT_TRUE(m_options.Change(MENU_MUSIC_VOLUME, 0));
    EXPECT_EQ(log.CountContaining("no active profile to keep volume 0 in"), 1);
    EXPECT_EQ(std::memcmp(&before, &MNProfileManager::GetSaveData(), sizeof(before)), 0);
    EXPECT_EQ(MNSound::GetMusicVolume(), 4);
}

TEST_F(VolumeOptionsTest, LeavingTheListSavesOnceAndAForgottenVisitNever) {
    LogCapture log;
    m_options.Track(MENU_OPTIONS);
    m_options.Track(MENU_OPTIONS);
    EXPECT_TRUE(m_options.IsOnOptions());
    EXPECT_EQ(log.Count("Saving as we were on options menu"), 0);
    m_options.Track(MENU_MAIN);
    m_options.Track(MENU_MAIN);
    EXPECT_EQ(log.Count("Saving as we were on options menu"), 1);
    EXPECT_FALSE(m_options.IsOnOptions());

    m_options.Track(MENU_OPTIONS);
    m_options.Forget();
    m_options.Track(MENU_MAIN);
    EXPECT_EQ(log.Count("Saving as we were on options menu"), 1);
}

TEST_F(VolumeOptionsTest, AProfilesLevelsPlayWhenApplied) {
    MNProfile& other = *MNProfileManager::GetProfile(3);
    other.SetSoundVolume(1);
    other.SetMusicVolume(0);
    other.ApplyVolumes();
    EXPECT_EQ(MNSound::GetSoundEffectVolume(), 1);
    EXPECT_EQ(MNSound::GetMusicVolume(), 0);
}

TEST(VolumeTest, LevelsOutsideTheRangeAreLoggedAndBroughtIn) {
    LogCapture log;
    EXPECT_EQ(ClampVolume(-3, "Music"), 0);
    EXPECT_EQ(ClampVolume(MN_MAX_VOLUME + 1, "Effect"), MN_MAX_VOLUME);
    EXPECT_EQ(log.CountContaining("Music volume -3 is outside 0 to 5"), 1);
    EXPECT_EQ(log.CountContaining("Effect volume 6 is outside"), 1);
    for (int level = 0; level <= MN_MAX_VOLUME; ++level) {
        EXPECT_EQ(ClampVolume(level, "Music"), level);
    }
    EXPECT_EQ(log.lines.size(), 2u);
}

} // namespace
