// kFileIOStream: a stream over a disc file handle from kPlatform_FileOpen. The stream
// does not own the handle: whoever opened the file closes it (Close) or takes it back
// (Detach) before the stream goes; a stream destroyed with a handle logs that it leaks.
// Without a handle every call returns 0 and the file layer logs it. Writing gives 0.
#pragma once

#include <kelvo/io/kiostream.h>
#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

class kFileIOStream : public kIOStreamSeekable {
public:
    kFileIOStream() = default;
    explicit kFileIOStream(SysFileHandle* handle) : m_hnd(handle) {}
    kFileIOStream(const kFileIOStream&) = delete;
    kFileIOStream& operator=(const kFileIOStream&) = delete;

    ~kFileIOStream() override {
        if (m_hnd != nullptr) {
            kLogFmt("kFileIOStream::~kFileIOStream(): File handle still active, use Detach() or "
                    "Close()\n");
        }
    }

    bool IsValid() const { return m_hnd != nullptr; }
    void Attach(SysFileHandle* handle) { m_hnd = handle; }
    SysFileHandle* Detach() {
        SysFileHandle* handle = m_hnd;
        m_hnd = nullptr;
        return handle;
    }
    void Close() { kPlatform_FileClose(Detach()); }

    bool Reading() override { return (kPlatform_FileGetAccessMode(m_hnd) & K_IO_ACCESS_READ) != 0; }
    bool Writing() override {
        return (kPlatform_FileGetAccessMode(m_hnd) & K_IO_ACCESS_WRITE) != 0;
    }
    unsigned int Read(void* data, unsigned int size) override {
        return kPlatform_FileRead(m_hnd, data, size);
    }
    unsigned int Write(const void* data, unsigned int size) override {
        return kPlatform_FileWrite(m_hnd, data, size);
    }
    int Seek(int offset, K_IO_SEEK origin) override {
        return static_cast<int>(kPlatform_FileSeek(m_hnd, offset, origin));
    }
    unsigned int Tell() override { return kPlatform_FileTell(m_hnd); }
    unsigned int Length() override { return kPlatform_FileLength(m_hnd); }

private:
    SysFileHandle* m_hnd = nullptr;
};

} // namespace Kelvo_lib
