// kGame: the top of a running game. It keeps the clients added to it in order (it does
// not own them), gives each a view while it is attached, and each frame ticks the
// clients, then the world. The game derives from it and names its world through
// GetWorld. Main thread only; adding a null client, or one attached to another game,
// is logged and refused.
#pragma once

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

class kGameClient;
class kGameWorld;

class kGame {
public:
    kGame() = default;
    kGame(const kGame&) = delete;
    kGame& operator=(const kGame&) = delete;
    // Removes the clients, first to last, as RemoveClient does; the clients live on.
    virtual ~kGame();

    // The world the game owns, or null.
    virtual kGameWorld* GetWorld() = 0;

    // Each client's Tick in list order, then the world's.
    void Tick(float delta);
    // Attaches the client at the end of the list, gives it a view and calls its
    // ClientInit; a client already in the list is left as it is.
    void AddClient(kGameClient* client);
    // Calls the client's ClientDeinit, destroys its view and detaches it; a client not
    // in the list is left as it is.
    void RemoveClient(kGameClient* client);

private:
    friend class kGameClient;

    int IndexOf(const kGameClient* client) const;
    void RemoveAt(int index);
    // Takes a client that is being destroyed out of the list without calling any of
    // its operations.
    void ForgetClient(kGameClient* client);

    kArray<kGameClient*> m_clientList;
};

} // namespace Kelvo_lib
