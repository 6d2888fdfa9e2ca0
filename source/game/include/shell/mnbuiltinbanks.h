// MNBuiltInBanks: the sprite banks compiled into the program, "strap" (sprites "strap", the
// start-up health and safety picture, and "prompt") and "dialog" (sprites "box", "button",
// "button_hot" and "home_off", the system dialogs' parts), which must show even when the
// disc cannot be read. Register hands them to the resource manager, after its Init; main thread
// only. The definition is generated from data/sprites/builtin by the build (library
// game_builtin_banks).
#pragma once

namespace Kelvo_lib {

class MNBuiltInBanks {
public:
    static void Register();
};

} // namespace Kelvo_lib
