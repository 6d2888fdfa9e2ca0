// kGameClientView: the view a game gives a client while the client is attached, created
// by class through the object model and destroyed by the game. It only names its client.
// Main thread only.
#pragma once

#include <kelvo/object/krtti.h>

namespace Kelvo_lib {

class kGameClient;

class kGameClientView
    : public kRTTI<kGameClientView, kObject,
                   kCLSID<3874176568u, 64148, 19016, static_cast<u64>(-5443134013113609074)>> {
public:
    kGameClient* GetClient() const { return m_client; }

private:
    friend class kGame;

    kGameClient* m_client = nullptr;
};

} // namespace Kelvo_lib
