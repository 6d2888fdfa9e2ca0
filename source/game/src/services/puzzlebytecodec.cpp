#include <services/puzzlebytecodec.h>

#include <kelvo/io/kendian.h>

#include <cstring>

namespace Kelvo_lib {

const u8* PuzzleByteReader::Take(u32 count) {
    if (m_failed || count > m_size - m_pos) {
        m_failed = true;
        return nullptr;
    }
    const u8* taken = m_data + m_pos;
    m_pos += count;
    return taken;
}

u8 PuzzleByteReader::U8() {
    const u8* bytes = Take(1);
    return bytes != nullptr ? bytes[0] : 0;
}

u16 PuzzleByteReader::U16() {
    u16 raw = 0;
    Bytes(&raw, sizeof(raw));
    return kEndian::Big16(raw);
}

u32 PuzzleByteReader::U32() {
    u32 raw = 0;
    Bytes(&raw, sizeof(raw));
    return kEndian::Big32(raw);
}

void PuzzleByteReader::Bytes(void* out, u32 count) {
    const u8* bytes = Take(count);
    if (bytes != nullptr && count > 0) {
        std::memcpy(out, bytes, count);
    }
}

void PuzzleByteReader::String(char* out, u32 capacity, bool wide) {
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

void PuzzleByteWriter::U16(u16 value) {
    const u16 raw = kEndian::Big16(value);
    Bytes(&raw, sizeof(raw));
}

void PuzzleByteWriter::U32(u32 value) {
    const u32 raw = kEndian::Big32(value);
    Bytes(&raw, sizeof(raw));
}

void PuzzleByteWriter::Bytes(const void* data, u32 count) {
    if (count == 0) {
        return;
    }
    const s32 needed = m_out.Size() + static_cast<s32>(count);
    if (needed > m_out.ReservedSize()) {
        const s32 doubled = m_out.ReservedSize() * 2;
        m_out.SetReserve(needed > doubled ? needed : doubled);
    }
    const s32 first = m_out.Add(static_cast<s32>(count));
    std::memcpy(m_out.Data() + first, data, count);
}

void PuzzleByteWriter::String(const char* text, u32 capacity, bool wide) {
    const int length = static_cast<int>(strnlen(text, capacity));
    if (wide) {
        U16(static_cast<u16>(length));
    } else {
        U8(static_cast<u8>(length));
    }
    Bytes(text, static_cast<u32>(length));
}

void PuzzleByteWriter::PatchU32(u32 offset, u32 value) {
    const u32 raw = kEndian::Big32(value);
    std::memcpy(m_out.Data() + offset, &raw, sizeof(raw));
}

} // namespace Kelvo_lib
