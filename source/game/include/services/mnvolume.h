// Volume levels: the player's sound-effect and music volumes are whole levels from 0
// (silent) to MN_MAX_VOLUME (full), stored in the profile and played by the sound table at
// level / MN_MAX_VOLUME. ClampVolume is the one range check every setter and the save
// block's reader use.
#pragma once

namespace Kelvo_lib {

constexpr int MN_MAX_VOLUME = 5;

// level brought into 0 to MN_MAX_VOLUME; a level outside is logged with what it is for
// ("Music", "Effect").
int ClampVolume(int level, const char* what);

} // namespace Kelvo_lib
