// kMemoryIOStream: a stream over a block its caller owns; it never frees or grows the
// block, so a write takes only what fits. Seeks are clamped to the block's ends. Reading
// or writing against the access mode is a programming error and asserts.
#pragma once

#include <kelvo/io/kiostream.h>
#include <kelvo/platform/kdebug.h>

#include <cstring>

namespace Kelvo_lib {

class kMemoryIOStream : public kIOStreamSeekable {
public:
    kMemoryIOStream(void* data, unsigned int size, K_IO_ACCESS access)
        : m_data(static_cast<char*>(data)), m_dataSize(size), m_access(access) {}

    bool Reading() override { return (m_access & K_IO_ACCESS_READ) != 0; }
    bool Writing() override { return (m_access & K_IO_ACCESS_WRITE) != 0; }

    unsigned int Read(void* data, unsigned int size) override {
        kAssert(Reading());
        const unsigned int count = Available(size);
        if (count > 0) {
            std::memcpy(data, m_data + m_index, count);
            m_index += static_cast<int>(count);
        }
        return count;
    }

    unsigned int Write(const void* data, unsigned int size) override {
        kAssert(Writing());
        const unsigned int count = Available(size);
        if (count > 0) {
            std::memcpy(m_data + m_index, data, count);
            m_index += static_cast<int>(count);
        }
        return count;
    }

    // From the end, the offset counts like the file layer's: Seek(-4, K_IO_SEEK_END)
    // stands 4 bytes before the end.
    int Seek(int offset, K_IO_SEEK origin) override {
        long long position = m_index;
        switch (origin) {
        case K_IO_SEEK_SET:
            position = offset;
            break;
        case K_IO_SEEK_CUR:
            position += offset;
            break;
        case K_IO_SEEK_END:
            position = static_cast<long long>(m_dataSize) + offset;
            break;
        }
        if (position < 0) {
            position = 0;
        }
        if (position > static_cast<long long>(m_dataSize)) {
            position = m_dataSize;
        }
        m_index = static_cast<int>(position);
        return m_index;
    }

    unsigned int Tell() override { return static_cast<unsigned int>(m_index); }
    unsigned int Length() override { return m_dataSize; }

    virtual void Flush() {}
    virtual void Reset() { m_index = 0; }
    virtual unsigned int AvailableRead() { return m_dataSize - static_cast<unsigned int>(m_index); }

private:
    unsigned int Available(unsigned int size) const {
        const unsigned int left = m_dataSize - static_cast<unsigned int>(m_index);
        return size < left ? size : left;
    }

    char* m_data;
    unsigned int m_dataSize;
    K_IO_ACCESS m_access;
    int m_index = 0;
};

} // namespace Kelvo_lib
