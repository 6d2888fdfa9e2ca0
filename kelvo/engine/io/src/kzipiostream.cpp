// The codec messages and the zlib stream: inflating from and deflating into another
// stream through one transfer buffer.
#include <kelvo/io/kzipiostream.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <cstring>
#include <zlib.h>

namespace Kelvo_lib {

namespace {

constexpr int kCompressionLevel = 8;

voidpf zlib_alloc_func(voidpf, uInt items, uInt size) {
    const unsigned long long bytes = static_cast<unsigned long long>(items) * size;
    kLogFmt("Zlib Alloc %d*%d = %d\n", static_cast<int>(items), static_cast<int>(size),
            static_cast<int>(bytes));
    if (bytes > 0xFFFFFFFFull) {
        return Z_NULL;
    }
    return kPlatform_ReleaseAlloc(K_MEM_TAG_ZLIB, static_cast<u32>(bytes));
}

void zlib_free_func(voidpf, voidpf address) {
    kPlatform_ReleaseFree(address);
}

} // namespace

const char* kCodec::GetErrorString(int code) {
    switch (code) {
    case K_CODEC_OK:
        return "No error";
    case K_CODEC_ENDED:
        return "Codec stream has ended normally";
    case K_CODEC_INTERNAL_ERROR:
        return "An interal codec error has occured";
    case K_CODEC_WRITE_ERROR:
        return "Error writing to the output stream";
    case K_CODEC_READ_ERROR:
        return "Error reading from the input stream";
    default:
        return "Unknown codec error code";
    }
}

kZipIOStream::kZipIOStream(kIOStreamSeekable* stream, K_IO_ACCESS access, unsigned int bufferSize)
    : m_bufferSize(bufferSize) {
    kLogFmt("Alloc zipostream %d + buffer %d\n", static_cast<int>(sizeof(z_stream)),
            static_cast<int>(bufferSize));
    m_pStream = static_cast<z_stream*>(kPlatform_ReleaseAlloc(K_MEM_TAG_ZLIB, sizeof(z_stream)));
    std::memset(m_pStream, 0, sizeof(z_stream));
    bool started = false;
    if (bufferSize > 0 && stream != nullptr) {
        if (access == K_IO_ACCESS_READ && stream->Reading()) {
            started = Init(stream, false);
        } else if (access == K_IO_ACCESS_WRITE && stream->Writing()) {
            started = Init(stream, true);
        }
    }
    if (!started && m_bError == K_CODEC_OK) {
        m_bError = K_CODEC_INTERNAL_ERROR;
    }
}

kZipIOStream::~kZipIOStream() {
    FinishStream();
    if (m_buffer != nullptr) {
        kPlatform_ReleaseFree(m_buffer);
    }
    kPlatform_ReleaseFree(m_pStream);
}

bool kZipIOStream::Init(kIOStreamSeekable* stream, bool bCompress) {
    if (m_bRunning) {
        FinishStream();
    }
    if (stream == nullptr || (bCompress ? !stream->Writing() : !stream->Reading())) {
        return false;
    }
    m_bCompressing = bCompress;
    m_ioStream = stream;
    z_stream& z = *m_pStream;
    z.zalloc = zlib_alloc_func;
    z.zfree = zlib_free_func;
    z.opaque = Z_NULL;
    z.next_in = Z_NULL;
    z.avail_in = 0;
    z.next_out = Z_NULL;
    z.avail_out = 0;
    m_bufferPos = 0;
    const int result = bCompress ? deflateInit(&z, kCompressionLevel) : inflateInit(&z);
    if (result != Z_OK) {
        m_bError = K_CODEC_INTERNAL_ERROR;
        m_bRunning = false;
        return false;
    }
    if (m_buffer == nullptr) {
        m_buffer =
            static_cast<unsigned char*>(kPlatform_ReleaseAlloc(K_MEM_TAG_ZLIB, m_bufferSize));
    }
    m_bError = K_CODEC_OK;
    m_bRunning = true;
    return true;
}

bool kZipIOStream::Reading() {
    return m_bError == K_CODEC_OK && !m_bCompressing;
}

bool kZipIOStream::Writing() {
    return m_bError == K_CODEC_OK && m_bCompressing;
}

unsigned int kZipIOStream::Read(void* data, unsigned int size) {
    if (!m_bRunning || m_bCompressing || data == nullptr) {
        return 0;
    }
    z_stream& z = *m_pStream;
    z.next_out = static_cast<Bytef*>(data);
    z.avail_out = size;
    int result = Z_OK;
    while (result == Z_OK && z.avail_out != 0) {
        if (z.avail_in == 0) {
            m_bufferPos = m_ioStream->Read(m_buffer, m_bufferSize);
            z.avail_in = m_bufferPos;
            z.next_in = m_buffer;
        }
        result = inflate(&z, Z_NO_FLUSH);
    }
    if (result == Z_STREAM_END) {
        inflateEnd(&z);
        m_bRunning = false;
        ReturnUnusedInput();
        result = Z_OK;
    }
    if (result != Z_OK) {
        Fail();
    }
    return size - z.avail_out;
}

unsigned int kZipIOStream::Write(const void* data, unsigned int size) {
    if (!m_bRunning || !m_bCompressing || data == nullptr || size == 0) {
        return 0;
    }
    z_stream& z = *m_pStream;
    z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    z.avail_in = size;
    int result = Z_OK;
    while (result == Z_OK) {
        if (!MakeOutputRoom()) {
            result = Z_ERRNO;
            break;
        }
        result = Deflate(Z_NO_FLUSH);
        if (z.avail_out != 0 && z.avail_in == 0) {
            break;
        }
    }
    if (result != Z_OK) {
        Fail();
    }
    return size - z.avail_in;
}

int kZipIOStream::Reset() {
    if (!Init(m_ioStream, m_bCompressing) && m_bError == K_CODEC_OK) {
        m_bError = K_CODEC_INTERNAL_ERROR;
    }
    return m_bError;
}

int kZipIOStream::FlushStream() {
    if (!m_bRunning || !m_bCompressing) {
        return m_bError;
    }
    z_stream& z = *m_pStream;
    z.next_in = Z_NULL;
    z.avail_in = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        if (!MakeOutputRoom()) {
            result = Z_ERRNO;
            break;
        }
        result = Deflate(Z_SYNC_FLUSH);
        if (z.avail_out != 0) {
            break;
        }
    }
    if (result != Z_OK || !WriteOutBuffer()) {
        Fail();
    }
    return m_bError;
}

int kZipIOStream::FinishStream() {
    if (!m_bRunning) {
        return m_bError;
    }
    z_stream& z = *m_pStream;
    if (!m_bCompressing) {
        inflateEnd(&z);
        m_bRunning = false;
        ReturnUnusedInput();
        m_bError = K_CODEC_ENDED;
        return m_bError;
    }
    z.next_in = Z_NULL;
    z.avail_in = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        if (!MakeOutputRoom()) {
            break;
        }
        result = Deflate(Z_FINISH);
    }
    if (result == Z_STREAM_END && WriteOutBuffer()) {
        deflateEnd(&z);
        m_bRunning = false;
        m_bError = K_CODEC_ENDED;
        return m_bError;
    }
    Fail();
    return m_bError;
}

bool kZipIOStream::WriteOutBuffer() {
    if (m_ioStream->Write(m_buffer, m_bufferPos) != m_bufferPos) {
        m_bError = K_CODEC_WRITE_ERROR;
        return false;
    }
    m_bufferPos = 0;
    m_pStream->next_out = m_buffer;
    m_pStream->avail_out = m_bufferSize;
    return true;
}

bool kZipIOStream::MakeOutputRoom() {
    return m_pStream->avail_out != 0 || WriteOutBuffer();
}

int kZipIOStream::Deflate(int flush) {
    z_stream& z = *m_pStream;
    const uInt before = z.avail_out;
    const int result = deflate(&z, flush);
    m_bufferPos += before - z.avail_out;
    // No progress with room left means nothing was waiting (a repeated flush): not an error.
    return result == Z_BUF_ERROR && z.avail_out != 0 ? Z_OK : result;
}

void kZipIOStream::ReturnUnusedInput() {
    z_stream& z = *m_pStream;
    if (z.avail_in > 0) {
        m_ioStream->Seek(-static_cast<int>(z.avail_in), K_IO_SEEK_CUR);
    }
    m_bufferPos = 0;
    z.avail_in = 0;
}

void kZipIOStream::Fail() {
    if (m_bCompressing) {
        deflateEnd(m_pStream);
    } else {
        inflateEnd(m_pStream);
    }
    if (m_bError == K_CODEC_OK) {
        m_bError = K_CODEC_INTERNAL_ERROR;
    }
    m_bRunning = false;
}

} // namespace Kelvo_lib
