// The THP player's threads: a reader (priority 8) that reads the frames of a movie on the
// disc into the read buffers, and the video (20) and audio (12) decoders that turn them into
// pictures and sound, passing buffers through the record's queues; a movie held in memory
// is walked by the decoders themselves. A read or decode error sets the record's error
// field and suspends the thread until THPPlayerStop cancels it.
#pragma once

#include <console/os.h>

namespace THPPlayer_Private {

extern OSThread ReadThread;
extern OSThread VideoDecodeThread;
extern OSThread AudioDecodeThread;
// Set by the prepare until the video decoder reports, through PrepareReadyQueue, whether
// its first picture is ready.
extern bool First;

// The decoders, and the reader when the movie is on the disc; a movie in memory is walked by
// the decoders themselves.
bool CreateThreads();
void CancelThreads();

} // namespace THPPlayer_Private
