// kOGGStream: Ogg Vorbis music as a kSoundStream. The constructor reads the whole file from
// the disc into the second arena (MyDemoAllocator2) and opens a vorbisfile decoder over that
// copy; Read decodes in blocks of 4,096 bytes and carries a block's unread rest over to the
// next Read. While looping, the end of the data continues from the loop start, so a Read
// always delivers what it was asked for. The stream owns its file copy and decoder. A file
// that is missing, cannot be held or is not Ogg Vorbis is logged and leaves the stream at its
// end for good: reads give 0. Main thread only.
#pragma once

#include <kelvo/audio/ksoundstream.h>

#include <cstddef>
#include <cstdint>

namespace Kelvo_lib {

class kOGGStream : public kSoundStream {
public:
    static constexpr int K_BLOCK_BYTES = 4096;

    // b8bit asks for unsigned 8-bit output, else signed 16-bit little-endian.
    kOGGStream(const char* filename, bool b8bit);
    ~kOGGStream() override;

    kSAMPLE_FORMAT Format() const override { return m_fmt; }
    unsigned int Frequency() const override { return m_freq; }
    unsigned int GetFlags() const override { return 0; }
    unsigned int Read(void* buffer, unsigned int size) override;
    // Back to the start of the data: 0, or the decoder's error (a stream that never opened
    // answers OV_EINVAL and stays at its end).
    int Rewind(bool) override;
    bool IsEOF() override { return m_bEOF; }

    void SetLoop(bool bLoop) { m_bLoop = bLoop; }
    bool IsLooping() const { return m_bLoop; }

    // The decoder's memory callbacks; the data source is the stream. Seeks outside the file
    // are refused (-1) and leave the position.
    static std::size_t oggreadFunc(void* destination, std::size_t size, std::size_t count,
                                   void* datasource);
    static int oggseekFunc(void* datasource, std::int64_t offset, int origin);
    static int oggcloseFunc(void* datasource);
    static long oggtellFunc(void* datasource);

private:
    // Reads the file into m_fileData; false (logged, nothing kept) when it cannot.
    bool Preload(const char* filename);
    bool OpenDecoder();
    void ReleaseFileData();
    // Unread bytes of the block buffer into out, at most size; how many.
    unsigned int TakeBlock(unsigned char* out, unsigned int size);
    // Decodes into out until size bytes are there, the data ends or the loop end is passed.
    unsigned int DecodeInto(unsigned char* out, unsigned int size, bool* bEnd);
    void SeekLoopStart();
    void FillSilence(unsigned char* out, unsigned int size) const;

    void* m_oggFile = nullptr; // OggVorbis_File, open while m_bDecoderOpen
    unsigned char* m_fileData = nullptr;
    unsigned int m_filePos = 0;
    unsigned int m_fileSize = 0;
    unsigned char m_buffer[K_BLOCK_BYTES];
    int m_bufferPos = 0;
    int m_bufferSize = 0;
    bool m_bEOF = true;
    bool m_bLoop = false;
    bool m_bDecoderOpen = false;
    kSAMPLE_FORMAT m_fmt = K_SAMPLE_UNKNOWN;
    unsigned int m_freq = 0;
    int m_oggwordsize = 2;
    // Seconds; double, as the decoder's clock is, so the end of the data never reads as
    // past the loop end.
    double m_loopStart = 0.0;
    double m_loopEnd = 0.0;
};

} // namespace Kelvo_lib
