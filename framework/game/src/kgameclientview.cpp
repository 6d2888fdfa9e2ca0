// Registers the kGameClientView record (also registered from the game's unit; the record
// is built once).
#include <game/kgameclientview.h>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {kGameClientView::StaticClass()};

} // namespace

} // namespace Kelvo_lib
