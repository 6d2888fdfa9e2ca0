// Byte streams: kIOStream reads and writes in sequence, kIOStreamSeekable adds a
// position. Every loader reads through them, whatever holds the bytes. A stream is
// used by one thread; short reads and writes return the bytes actually moved, 0 at
// the end; nothing is reported.
#pragma once

#include <kelvo/platform/kfile.h>

namespace Kelvo_lib {

class kIOStream {
public:
    virtual ~kIOStream() = default;
    virtual bool Reading() = 0;
    virtual bool Writing() = 0;
    virtual unsigned int Read(void* data, unsigned int size) = 0;
    virtual unsigned int Write(const void* data, unsigned int size) = 0;
};

class kIOStreamSeekable : public kIOStream {
public:
    // The new position.
    virtual int Seek(int offset, K_IO_SEEK origin) = 0;
    virtual unsigned int Tell() = 0;
    virtual unsigned int Length() = 0;
};

} // namespace Kelvo_lib
