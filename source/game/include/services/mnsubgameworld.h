// MNSubGameWorld: what the front end, the modes and the pause and help screens ask of the
// world they run in: its UI manager, the active profile and the switch between sub-games.
// The world implements it; the sub-games and screens hold it, so they see nothing of the
// world's own set-up. Main thread only.
#pragma once

namespace Kelvo_lib {

class kUIManager;
class MNProfile;
class MNSubGame;

class MNSubGameWorld {
public:
    virtual kUIManager* GetUIManager() const = 0;
    // The profile of the world's profile index, null when none is active.
    virtual MNProfile* GetProfile() const = 0;
    virtual void SetActiveProfile(int index) = 0;
    virtual MNSubGame* GetCurrentSubGame() const = 0;
    // Deactivates the current sub-game and activates sub-game index (an eSubGame).
    virtual void SetCurrentSubGame(int index) = 0;

protected:
    ~MNSubGameWorld() = default;
};

} // namespace Kelvo_lib
