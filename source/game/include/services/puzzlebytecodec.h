// The big-endian byte cursors that the puzzle bank's records and the save block are read
// and written through. One thread.
#pragma once

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

// Reads big-endian fields from a block; a read past the end fails and leaves the
// cursor failed for good, so a run of reads needs one check at the end.
class PuzzleByteReader {
public:
    PuzzleByteReader(const u8* data, u32 size) : m_data(data), m_size(size) {}

    u8 U8();
    u16 U16();
    u32 U32();
    s8 S8() { return static_cast<s8>(U8()); }
    s16 S16() { return static_cast<s16>(U16()); }
    s32 S32() { return static_cast<s32>(U32()); }
    void Bytes(void* out, u32 count);
    // A string of a u8 (or, wide, u16) length into out, zero-terminated; fails when
    // the length does not fit below capacity.
    void String(char* out, u32 capacity, bool wide);

    bool Failed() const { return m_failed; }
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

// Appends big-endian fields to a byte array, growing it geometrically.
class PuzzleByteWriter {
public:
    explicit PuzzleByteWriter(kArray<u8>& out) : m_out(out) {}

    void U8(u8 value) { Bytes(&value, 1); }
    void U16(u16 value);
    void U32(u32 value);
    void Bytes(const void* data, u32 count);
    // The text (up to its terminator, at most capacity bytes) with a u8 (or, wide,
    // u16) length; a text that fills its capacity is written whole, and refused when
    // read back.
    void String(const char* text, u32 capacity, bool wide);
    // Overwrites four bytes at offset with a big-endian value.
    void PatchU32(u32 offset, u32 value);
    u32 Size() const { return static_cast<u32>(m_out.Size()); }

private:
    kArray<u8>& m_out;
};

} // namespace Kelvo_lib
