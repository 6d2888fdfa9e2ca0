// kCodec: a stream that transforms another, seekable stream (it does not own it) and
// reports a result code with a fixed message table: 0 no error, 1 ended normally,
// 2 internal codec error, 3 output write failed, 4 input read failed. Once the code is
// not 0 the codec neither reads nor writes. One thread.
#pragma once

#include <kelvo/io/kiostream.h>

namespace Kelvo_lib {

enum : int {
    K_CODEC_OK = 0,
    K_CODEC_ENDED = 1,
    K_CODEC_INTERNAL_ERROR = 2,
    K_CODEC_WRITE_ERROR = 3,
    K_CODEC_READ_ERROR = 4,
};

class kCodec : public kIOStream {
public:
    virtual kIOStreamSeekable* GetStream() = 0;
    // Starts again on the same stream and direction; the new code.
    virtual int Reset() = 0;
    // Ends the transformed stream (writing: emits everything pending); the code.
    virtual int FinishStream() = 0;
    // Writing: pushes pending output to the stream and stays open; the code.
    virtual int FlushStream() = 0;
    virtual int GetErrorCode() = 0;
    virtual const char* GetErrorString() = 0;

    // The text of a code; "Unknown codec error code" for any other.
    static const char* GetErrorString(int code);
};

} // namespace Kelvo_lib
