#include <services/mnbytecodec.h>

#include <bit>
#include <cstring>

namespace Kelvo_lib {

const u8* MNByteReader::Take(u32 count) {
    if (m_failed || count > m_size - m_pos) {
        m_failed = true;
        return nullptr;
    }
    const u8* taken = m_data + m_pos;
    m_pos += count;
    return taken;
}

u8 MNByteReader::U8() {
    const u8* bytes = Take(1);
    return bytes != nullptr ? bytes[0] : 0;
}

u16 MNByteReader::U16() {
    const u8* bytes = Take(2);
    return bytes != nullptr ? static_cast<u16>(bytes[0] << 8 | bytes[1]) : 0;
}

u32 MNByteReader::U32() {
    const u8* bytes = Take(4);
    if (bytes == nullptr) {
        return 0;
    }
    return static_cast<u32>(bytes[0]) << 24 | static_cast<u32>(bytes[1]) << 16 |
           static_cast<u32>(bytes[2]) << 8 | bytes[3];
}

float MNByteReader::F32() {
    return std::bit_cast<float>(U32());
}

void MNByteReader::Bytes(void* out, u32 count) {
    const u8* bytes = Take(count);
    if (bytes != nullptr && count > 0) {
        std::memcpy(out, bytes, count);
    }
}

void MNByteReader::Skip(u32 count) {
    Take(count);
}

void MNByteReader::String(char* out, u32 capacity, bool wide) {
    const u32 length = wide ? U16() : U8();
    if (length >= capacity) {
        m_failed = true;
    }
    out[0] = 0;
    if (m_failed) {
        return;
    }
    Bytes(out, length);
    out[m_failed ? 0 : length] = 0;
}

u8* MNByteWriter::Reserve(u32 count) {
    if (m_failed) {
        return nullptr;
    }
    if (m_array == nullptr) {
        if (count > m_capacity - m_size) {
            m_failed = true;
            return nullptr;
        }
        u8* room = m_buffer + m_size;
        m_size += count;
        return room;
    }
    const s32 needed = m_array->Size() + static_cast<s32>(count);
    if (needed > m_array->ReservedSize()) {
        const s32 doubled = m_array->ReservedSize() * 2;
        m_array->SetReserve(needed > doubled ? needed : doubled);
    }
    return m_array->Data() + m_array->Add(static_cast<s32>(count));
}

void MNByteWriter::U16(u16 value) {
    const u8 bytes[2] = {static_cast<u8>(value >> 8), static_cast<u8>(value)};
    Bytes(bytes, sizeof(bytes));
}

void MNByteWriter::U32(u32 value) {
    const u8 bytes[4] = {static_cast<u8>(value >> 24), static_cast<u8>(value >> 16),
                         static_cast<u8>(value >> 8), static_cast<u8>(value)};
    Bytes(bytes, sizeof(bytes));
}

void MNByteWriter::F32(float value) {
    U32(std::bit_cast<u32>(value));
}

void MNByteWriter::Bytes(const void* data, u32 count) {
    if (count == 0) {
        return;
    }
    if (u8* room = Reserve(count)) {
        std::memcpy(room, data, count);
    }
}

void MNByteWriter::String(const char* text, u32 capacity, bool wide) {
    const u32 length = static_cast<u32>(strnlen(text, capacity));
    if (wide) {
        U16(static_cast<u16>(length));
    } else {
        U8(static_cast<u8>(length));
    }
    Bytes(text, length);
}

void MNByteWriter::PatchU32(u32 offset, u32 value) {
    if (m_failed || offset > Size() || Size() - offset < 4) {
        m_failed = true;
        return;
    }
    u8* at = (m_array != nullptr ? m_array->Data() : m_buffer) + offset;
    at[0] = static_cast<u8>(value >> 24);
    at[1] = static_cast<u8>(value >> 16);
    at[2] = static_cast<u8>(value >> 8);
    at[3] = static_cast<u8>(value);
}

} // namespace Kelvo_lib
