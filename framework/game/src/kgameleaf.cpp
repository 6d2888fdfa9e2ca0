// Registers the kGameLeaf record.
#include <game/kgameleaf.h>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {kGameLeaf::StaticClass()};

} // namespace

} // namespace Kelvo_lib
