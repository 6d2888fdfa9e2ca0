// Registers the kGameWorld record, without a factory: a world is always the game's own.
#include <game/kgameworld.h>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {kGameWorld::StaticClass()};

} // namespace

} // namespace Kelvo_lib
