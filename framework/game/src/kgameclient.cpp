// A client's destruction while still attached to its game.
#include <game/kgameclient.h>

#include <game/kgame.h>

namespace Kelvo_lib {

kGameClient::~kGameClient() {
    if (m_game != nullptr) {
        m_game->ForgetClient(this);
    }
}

} // namespace Kelvo_lib
