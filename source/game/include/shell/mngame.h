// MNGame: the running game. It creates its world by class when constructed and destroys it
// with itself; the clients added to it are the caller's. Main thread only.
#pragma once

#include <game/kgame.h>

namespace Kelvo_lib {

class MNGameWorld;

class MNGame : public kGame {
public:
    MNGame();
    // Destroys the world, then the framework's part removes the clients.
    ~MNGame() override;

    kGameWorld* GetWorld() override;
    MNGameWorld* GetGameWorld() const { return m_world; }

private:
    MNGameWorld* m_world;
};

} // namespace Kelvo_lib
