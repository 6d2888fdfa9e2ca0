// kZipIOStream: inflates a zlib stream read from another stream, or deflates what is
// written into another stream, through a transfer buffer of the size given. Reading
// stops at the end of the compressed data and leaves the source just after it. zlib's
// memory comes from the tracked allocator (tag 8). Failures set the codec code (2 for
// corrupt or truncated data, 3 for a short write) and stop the stream; Read and Write
// then return 0. One thread.
#pragma once

#include <kelvo/io/kcodec.h>

struct z_stream_s;

namespace Kelvo_lib {

class kZipIOStream : public kCodec {
public:
    // K_IO_ACCESS_READ inflates from the stream, K_IO_ACCESS_WRITE deflates into it;
    // another access, a stream of the wrong direction or a buffer size of 0 leaves the
    // codec stopped with code 2.
    kZipIOStream(kIOStreamSeekable* stream, K_IO_ACCESS access, unsigned int bufferSize);
    kZipIOStream(const kZipIOStream&) = delete;
    kZipIOStream& operator=(const kZipIOStream&) = delete;
    // Finishes the stream (writing: flushes the rest into the underlying stream).
    ~kZipIOStream() override;

    bool Reading() override;
    bool Writing() override;
    // Bytes produced by this call, also when it fails.
    unsigned int Read(void* data, unsigned int size) override;
    // Bytes taken by this call; writing nothing leaves the stream as it was.
    unsigned int Write(const void* data, unsigned int size) override;

    kIOStreamSeekable* GetStream() override { return m_ioStream; }
    int Reset() override;
    int FinishStream() override;
    int FlushStream() override;
    int GetErrorCode() override { return m_bError; }
    const char* GetErrorString() override { return kCodec::GetErrorString(m_bError); }
    using kCodec::GetErrorString;

    // Opens a zlib stream over stream; true on success.
    bool Init(kIOStreamSeekable* stream, bool bCompress);

private:
    // Writes the compressed bytes waiting in the buffer; false (code 3) on a short write.
    bool WriteOutBuffer();
    // Makes room in the buffer when it is full; false (code 3) on a short write.
    bool MakeOutputRoom();
    // Deflates with the flush mode, accounting the bytes it produced; the zlib result.
    int Deflate(int flush);
    // Moves the source back over the bytes inflation did not use.
    void ReturnUnusedInput();
    // Ends the zlib stream after a failure; code 2 unless one is set.
    void Fail();

    z_stream_s* m_pStream = nullptr;
    unsigned char* m_buffer = nullptr;
    unsigned int m_bufferSize;
    unsigned int m_bufferPos = 0;
    kIOStreamSeekable* m_ioStream = nullptr;
    bool m_bRunning = false;
    int m_bError = 0;
    bool m_bCompressing = false;
};

} // namespace Kelvo_lib
