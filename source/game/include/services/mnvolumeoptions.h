// MNVolumeOptions: the volume selectors of an options list (the main menu's and the pause
// screen's). They show the active profile's two levels as volume bars; a new level is stored
// in the active profile, played and confirmed with the volume sound; the block is saved once
// when the player leaves the list. Main thread only; without an active profile the selectors
// are left as they are and a change is logged and kept nowhere.
#pragma once

namespace Kelvo_lib {

class kMenu;

class MNVolumeOptions {
public:
    // The menu node ids of the options list and of its two selectors.
    MNVolumeOptions(int optionsId, int effectsId, int musicId)
        : m_optionsId(optionsId), m_effectsId(effectsId), m_musicId(musicId) {}

    // Sets the selectors in menu from the active profile and draws them as volume bars.
    void Show(kMenu* menu) const;
    // A selector's new state; false when id is neither selector.
    bool Change(int id, int state) const;
    // Called every tick with the menu's current node id: saves once on leaving the list.
    void Track(int currentNodeId);
    // Whether the list showed at the last Track.
    bool IsOnOptions() const { return m_bOnOptions; }
    // Forgets that the list showed: leaving it then saves nothing.
    void Forget() { m_bOnOptions = false; }

private:
    const int m_optionsId;
    const int m_effectsId;
    const int m_musicId;
    bool m_bOnOptions = false;
};

} // namespace Kelvo_lib
