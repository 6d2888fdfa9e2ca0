// MNSubGame: the base of the front end and of every game mode. The world creates its six
// sub-games, calls Init once, Activate and Deactivate when the current one changes, Tick
// once a frame on the current one and Deinit before it destroys them. A sub-game is a slot
// owner, so its connections end with it. Main thread only.
#pragma once

#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class kUI;
class MNSubGameWorld;

// The world's sub-game indices.
enum eSubGame {
    SUBGAME_NONE = -1,
    SUBGAME_FRONTEND = 0,
    SUBGAME_TOURNAMENT = 1,
    SUBGAME_QUICKBLAST = 2,
    SUBGAME_SIMPLYPUZZLE = 3,
    SUBGAME_FASTANDFUN = 4,
    SUBGAME_HEADTOHEAD = 5,
    SUBGAME_COUNT = 6,
};

// The game modes as puzzles and the pause screen number them (sub-game index - 1).
enum eGameMode {
    GAME_MODE_TOURNAMENT = 0,
    GAME_MODE_QUICKBLAST = 1,
    GAME_MODE_SIMPLYPUZZLE = 2,
    GAME_MODE_FASTANDFUN = 3,
    GAME_MODE_HEADTOHEAD = 4,
};

class MNSubGame : public kHasSlots<> {
public:
    explicit MNSubGame(MNSubGameWorld* world) : m_world(world) {}
    MNSubGame(const MNSubGame&) = delete;
    MNSubGame& operator=(const MNSubGame&) = delete;
    virtual ~MNSubGame() = default;

    virtual void Init() = 0;
    virtual void Deinit() = 0;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    virtual void Tick(float delta) = 0;
    // The sub-game's own screen (its menu), or null.
    virtual kUI* GetScreen() = 0;
    // What the pause and help screens ask of the puzzle being played; nothing by default.
    virtual void QuitPuzzle() {}
    virtual void AbandonPuzzle() {}
    virtual void ResetPuzzle() {}
    virtual void ResumePuzzle() {}
    // The pause screen's calls into the modes with a run clock: the clock goes on again
    // (before a resume or reset), and the run ends at once.
    virtual void UnPause() {}
    virtual void AbandonMode() {}

    MNSubGameWorld* GetWorld() const { return m_world; }

protected:
    MNSubGameWorld* m_world;
};

} // namespace Kelvo_lib
