// kGameLeaf: the common base, registered with the object model, of the objects that live
// in the game's trees (every widget is one). It adds nothing to kObject. Main thread only.
#pragma once

#include <kelvo/object/krtti.h>

namespace Kelvo_lib {

class kGameLeaf
    : public kRTTI<kGameLeaf, kObject,
                   kCLSID<3844715861u, 52332, 20478, static_cast<u64>(-6555567645098506916)>> {};

} // namespace Kelvo_lib
