// MNByteReader and MNByteWriter: the game's one big-endian byte codec, for the save block,
// the puzzles' saved states and the puzzle bank's records. The reader walks a block it does
// not own; a read past the end reads zeros, writes nothing, and leaves the reader failed for
// good, so a run of reads needs one check at the end. The writer appends to a byte array it
// grows, or fills a fixed buffer, where a write past the end writes nothing and fails it
// for good. Neither copies a value's memory: each field is put byte by byte. One thread.
#pragma once

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

class MNByteReader {
public:
    MNByteReader(const void* data, u32 size) : m_data(static_cast<const u8*>(data)), m_size(size) {}

    u8 U8();
    u16 U16();
    u32 U32();
    s8 S8() { return static_cast<s8>(U8()); }
    s16 S16() { return static_cast<s16>(U16()); }
    s32 S32() { return static_cast<s32>(U32()); }
    // An IEEE single stored big-endian.
    float F32();
    void Bytes(void* out, u32 count);
    void Skip(u32 count);
    // A string of a u8 (or, wide, u16) length into out, zero-terminated; fails when the
    // length does not fit below capacity.
    void String(char* out, u32 capacity, bool wide);

    bool Failed() const { return m_failed; }
    u32 Tell() const { return m_pos; }
    u32 Remaining() const { return m_failed ? 0 : m_size - m_pos; }
    // Whether every byte was read and none was missing.
    bool Finished() const { return !m_failed && m_pos == m_size; }

private:
    // The next count bytes, or null (and failed) when fewer are left.
    const u8* Take(u32 count);

    const u8* m_data;
    u32 m_size;
    u32 m_pos = 0;
    bool m_failed = false;
};

class MNByteWriter {
public:
    // Appends to out, growing it geometrically.
    explicit MNByteWriter(kArray<u8>& out) : m_array(&out) {}
    // Fills buffer from its start; nothing is written past size.
    MNByteWriter(void* buffer, u32 size) : m_buffer(static_cast<u8*>(buffer)), m_capacity(size) {}

    void U8(u8 value) { Bytes(&value, 1); }
    void U16(u16 value);
    void U32(u32 value);
    void F32(float value);
    void Bytes(const void* data, u32 count);
    // The text (up to its terminator, at most capacity bytes) with a u8 (or, wide, u16)
    // length; a text that fills its capacity is written whole, and refused when read back.
    void String(const char* text, u32 capacity, bool wide);
    // Overwrites four written bytes at offset with a big-endian value; fails when they were
    // not written yet.
    void PatchU32(u32 offset, u32 value);

    bool Failed() const { return m_failed; }
    // The bytes written.
    u32 Size() const { return m_array != nullptr ? static_cast<u32>(m_array->Size()) : m_size; }

private:
    // Room for count more bytes at the end, or null (and failed).
    u8* Reserve(u32 count);

    kArray<u8>* m_array = nullptr;
    u8* m_buffer = nullptr;
    u32 m_capacity = 0;
    u32 m_size = 0;
    bool m_failed = false;
};

} // namespace Kelvo_lib
