// kGameWorld: the abstract world of a game, registered with the object model without a
// factory. The framework only ticks it (from kGame::Tick); the game drives the rest of
// its life (Init, BeginPlay, EndPlay, Deinit) and its drawing. Main thread only.
#pragma once

#include <kelvo/object/krtti.h>

namespace Kelvo_lib {

class kGameClientView;
class krCamera;

class kGameWorld : public kAbstractRTTI<
                       kGameWorld, kObject,
                       kCLSID<2288738075u, 11580, 19565, static_cast<u64>(-5294975975592873178)>> {
public:
    virtual void Init() = 0;
    virtual void Deinit() = 0;
    virtual void BeginPlay() = 0;
    virtual void EndPlay() = 0;
    virtual void Tick(float delta) = 0;
    virtual void RenderClientView(kGameClientView* view, unsigned int flags, krCamera* camera) = 0;
};

} // namespace Kelvo_lib
