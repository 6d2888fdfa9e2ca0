// kOGGStream: the file read whole into the second arena, vorbisfile over it through memory
// callbacks, block-wise decoding with carry-over, and looping at the end of the data.
#include <kelvo/audio/koggstream.h>
#include <kelvo/platform/kfile.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

namespace {

// Corrupt data can make the decoder report an error on every call without moving on; this
// many in a row end the data.
constexpr int kMaxDecodeErrorsInARow = 32;

const char* OpenErrorText(int result) {
    switch (result) {
    case OV_EVERSION:
        return "Vorbis version mismatch.\n";
    case OV_EBADHEADER:
        return "Invalid Vorbis bitstream header.\n";
    case OV_ENOTVORBIS:
        return "Bitstream is not Vorbis data.\n";
    case OV_EFAULT:
        return "Internal logic fault; indicates a bug or heap/stack corruption.\n";
    case OV_EREAD:
        return "A read from media returned an error.\n";
    default:
        return "The Vorbis decoder could not be opened.\n";
    }
}

kSAMPLE_FORMAT FormatOf(int channels, int wordSize) {
    return kSampleFormat(static_cast<unsigned int>(channels), 8u * wordSize, 8u * wordSize,
                         K_SAMPLE_DATA_PCM_INTEGER);
}

// The file's bytes in a block of the second arena; null, logged, when the file is empty, the
// block cannot be had or the read comes up short.
unsigned char* CopyOfFile(SysFileHandle* handle, u32 size, const char* filename) {
    if (size == 0) {
        kLogFmt("OGGStream: %s is empty\n", filename);
        return nullptr;
    }
    unsigned char* copy =
        static_cast<unsigned char*>(MEMAllocFromAllocator(&MyDemoAllocator2, size));
    if (copy == nullptr) {
        kLogFmt("OGGStream: No memory for the %u bytes of %s\n", size, filename);
        return nullptr;
    }
    if (kPlatform_FileRead(handle, copy, size) != size) {
        kLogFmt("OGGStream: Could not read the %u bytes of %s\n", size, filename);
        MEMFreeToAllocator(&MyDemoAllocator2, copy);
        return nullptr;
    }
    return copy;
}

} // namespace

kOGGStream::kOGGStream(const char* filename, bool b8bit) : m_oggwordsize(b8bit ? 1 : 2) {
    if (!Preload(filename != nullptr ? filename : "(no name)") || !OpenDecoder()) {
        ReleaseFileData();
        return;
    }
    OggVorbis_File* file = static_cast<OggVorbis_File*>(m_oggFile);
    const vorbis_info* info = ov_info(file, -1);
    m_freq = static_cast<unsigned int>(info->rate);
    m_fmt = FormatOf(info->channels, m_oggwordsize);
    const ogg_int64_t samples = ov_pcm_total(file, -1);
    kLogFmt("\nBitstream is %d channel, %ldHz\n", info->channels, info->rate);
    kLogFmt("\nDecoded length: %ld samples = %.2f seconds\n", static_cast<long>(samples),
            static_cast<double>(samples) / static_cast<double>(info->rate));
    const vorbis_comment* comment = ov_comment(file, -1);
    const char* vendor = comment != nullptr ? comment->vendor : nullptr;
    kLogFmt("Encoded by: %s\n\n", vendor != nullptr ? vendor : "");
    m_bEOF = false;
    m_loopEnd = ov_time_total(file, -1);
}

kOGGStream::~kOGGStream() {
    kLogFmt("Deconstruct stream\n");
    if (m_bDecoderOpen) {
        ov_clear(static_cast<OggVorbis_File*>(m_oggFile));
    }
    kPlatform_ReleaseFree(m_oggFile);
    ReleaseFileData();
}

bool kOGGStream::Preload(const char* filename) {
    SysFileHandle* handle = kPlatform_FileOpen(filename, K_IO_ACCESS_READ, K_IO_OPEN_DEFAULT);
    if (handle == nullptr) {
        kLogFmt("Failed to load %s\n", filename);
        return false;
    }
    kLogFmt("OGGStream: Loaded %s\n", filename);
    const u32 size = kPlatform_FileLength(handle);
    kLogFmt("Preloading %d bytes\n", static_cast<int>(size));
    m_fileData = CopyOfFile(handle, size, filename);
    kPlatform_FileClose(handle);
    m_fileSize = m_fileData != nullptr ? size : 0;
    m_filePos = 0;
    return m_fileData != nullptr;
}

// A failed open leaves the decoder cleared by vorbisfile itself: it is never used again.
bool kOGGStream::OpenDecoder() {
    m_oggFile = kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, sizeof(OggVorbis_File));
    const ov_callbacks callbacks = {oggreadFunc, oggseekFunc, oggcloseFunc, oggtellFunc};
    const int result =
        ov_open_callbacks(this, static_cast<OggVorbis_File*>(m_oggFile), nullptr, 0, callbacks);
    if (result != 0) {
        kLogFmt("%s", OpenErrorText(result));
        return false;
    }
    m_bDecoderOpen = true;
    return true;
}

void kOGGStream::ReleaseFileData() {
    if (m_fileData != nullptr) {
        MEMFreeToAllocator(&MyDemoAllocator2, m_fileData);
    }
    m_fileData = nullptr;
    m_fileSize = 0;
    m_filePos = 0;
}

unsigned int kOGGStream::Read(void* buffer, unsigned int size) {
    if (!m_bDecoderOpen || buffer == nullptr) {
        return 0;
    }
    unsigned char* out = static_cast<unsigned char*>(buffer);
    unsigned int filled = TakeBlock(out, size);
    bool bSeeked = false;
    while (filled < size) {
        bool bEnd = false;
        const unsigned int decoded = DecodeInto(out + filled, size - filled, &bEnd);
        filled += decoded;
        if (!bEnd) {
            break;
        }
        if (!m_bLoop) {
            m_bEOF = true;
            return filled;
        }
        // Nothing decodes from the loop start: the rest of the request is silence.
        if (bSeeked && decoded == 0) {
            FillSilence(out + filled, size - filled);
            return size;
        }
        SeekLoopStart();
        bSeeked = true;
    }
    return size;
}

unsigned int kOGGStream::TakeBlock(unsigned char* out, unsigned int size) {
    const unsigned int unread = static_cast<unsigned int>(m_bufferSize - m_bufferPos);
    const unsigned int taken = size < unread ? size : unread;
    std::memcpy(out, m_buffer + m_bufferPos, taken);
    m_bufferPos += static_cast<int>(taken);
    if (m_bufferPos == m_bufferSize) {
        m_bufferPos = m_bufferSize = 0;
    }
    return taken;
}

// The block on which the decoder's clock passes the loop end is not delivered: its share is
// decoded again from the loop start.
unsigned int kOGGStream::DecodeInto(unsigned char* out, unsigned int size, bool* bEnd) {
    OggVorbis_File* file = static_cast<OggVorbis_File*>(m_oggFile);
    const int sgned = m_oggwordsize == 2 ? 1 : 0;
    unsigned int filled = 0;
    int errors = 0;
    *bEnd = true;
    while (filled < size) {
        const long got = ov_read(file, reinterpret_cast<char*>(m_buffer), K_BLOCK_BYTES, 0,
                                 m_oggwordsize, sgned, nullptr);
        if ((m_bLoop && ov_time_tell(file) > m_loopEnd) || got == 0) {
            return filled;
        }
        if (got < 0) {
            if (++errors == kMaxDecodeErrorsInARow) {
                kLogFmt("kOGGStream: Undecodable data (error %ld), ending the stream\n", got);
                return filled;
            }
            continue;
        }
        errors = 0;
        m_bufferSize = static_cast<int>(got);
        m_bufferPos = 0;
        filled += TakeBlock(out + filled, size - filled);
    }
    *bEnd = false;
    return filled;
}

void kOGGStream::SeekLoopStart() {
    OggVorbis_File* file = static_cast<OggVorbis_File*>(m_oggFile);
    m_bufferPos = m_bufferSize = 0;
    const int result = ov_time_seek(file, m_loopStart);
    if (result != 0) {
        kLogFmt("kOGGStream: Loop seek error %d, seeking file start instead\n", result);
        ov_raw_seek(file, 0);
    }
}

void kOGGStream::FillSilence(unsigned char* out, unsigned int size) const {
    std::memset(out, m_oggwordsize == 1 ? 0x80 : 0, size);
}

int kOGGStream::Rewind(bool) {
    if (!m_bDecoderOpen) {
        return OV_EINVAL;
    }
    const int result = ov_raw_seek(static_cast<OggVorbis_File*>(m_oggFile), 0);
    m_bufferPos = m_bufferSize = 0;
    m_bEOF = false;
    return result;
}

std::size_t kOGGStream::oggreadFunc(void* destination, std::size_t size, std::size_t count,
                                    void* datasource) {
    kOGGStream* stream = static_cast<kOGGStream*>(datasource);
    if (stream == nullptr) {
        kLogFmt("read: NULL oggstream\n");
        return 0;
    }
    if (size == 0 || stream->m_filePos >= stream->m_fileSize) {
        return 0;
    }
    const std::size_t left = stream->m_fileSize - stream->m_filePos;
    const std::size_t bytes = count > left / size ? left : size * count;
    std::memcpy(destination, stream->m_fileData + stream->m_filePos, bytes);
    stream->m_filePos += static_cast<unsigned int>(bytes);
    return bytes;
}

int kOGGStream::oggseekFunc(void* datasource, std::int64_t offset, int origin) {
    kOGGStream* stream = static_cast<kOGGStream*>(datasource);
    if (stream == nullptr) {
        return -1;
    }
    std::int64_t base = 0;
    switch (origin) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = stream->m_filePos;
        break;
    case SEEK_END:
        base = stream->m_fileSize;
        break;
    default:
        return -1;
    }
    if (offset < -base || offset > static_cast<std::int64_t>(stream->m_fileSize) - base) {
        return -1;
    }
    stream->m_filePos = static_cast<unsigned int>(base + offset);
    return static_cast<int>(stream->m_filePos);
}

int kOGGStream::oggcloseFunc(void*) {
    return 0;
}

long kOGGStream::oggtellFunc(void* datasource) {
    const kOGGStream* stream = static_cast<const kOGGStream*>(datasource);
    return stream != nullptr ? static_cast<long>(stream->m_filePos) : -1;
}

} // namespace Kelvo_lib
