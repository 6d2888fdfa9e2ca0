// The THP player's retrace pacing: a post-retrace callback (interrupt context) that shows
// the next decoded picture when the movie's frame rate, or its field, says it is due,
// keeps the picture with the sound, and notes the end of a movie that does not loop or
// an error of the threads.
#pragma once

#include <console/vi.h>

namespace THPPlayer_Private {

// The callback that was installed before the player's, called first.
extern VIRetraceCallback OldVIPostCallback;
extern bool RetraceInstalled;

void PlayControl(u32 retraceCount);

} // namespace THPPlayer_Private
