// SplitTime: a count of seconds as seconds, minutes and hours for the game's clocks. With
// an hours pointer the minutes are those within the hour, without one all the minutes
// (62:05 rather than 1:02:05). Null pointers are skipped. A negative count is logged and
// shown as zero. Pure function, any thread.
#pragma once

namespace Kelvo_lib {

void SplitTime(int seconds, int* sec, int* min, int* hours);

} // namespace Kelvo_lib
