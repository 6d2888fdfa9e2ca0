// kSoundStream: a source of PCM sample data read in order, for music decoded while it
// plays. The voice device pulls from it on the main thread each time half of a stream
// buffer has been played: 16-bit samples little-endian, stereo frames left first. The
// caller owns the stream and keeps it alive while a channel plays it. A short Read means
// nothing more is available now; IsEOF says the data has ended for good.
#pragma once

#include <kelvo/audio/ksound.h>

namespace Kelvo_lib {

class kSoundStream {
public:
    kSoundStream() = default;
    kSoundStream(const kSoundStream&) = delete;
    kSoundStream& operator=(const kSoundStream&) = delete;
    virtual ~kSoundStream() = default;

    virtual kSAMPLE_FORMAT Format() const = 0;
    virtual unsigned int Frequency() const = 0;
    virtual unsigned int GetFlags() const = 0;
    // Copies up to size bytes into buffer; returns how many.
    virtual unsigned int Read(void* buffer, unsigned int size) = 0;
    virtual int Rewind(bool) = 0;
    virtual bool IsEOF() = 0;
};

} // namespace Kelvo_lib
