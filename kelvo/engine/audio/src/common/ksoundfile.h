// What the sound file loaders and writers share: header fields read and written through
// kEndian, exact reads and writes, and sample data read whole into a sound-tagged block
// only once the stream is known to hold it.
#pragma once

#include <kelvo/audio/ksound.h>
#include <kelvo/io/kendian.h>
#include <kelvo/io/kiostream.h>

#include <cstring>

namespace Kelvo_lib::kSoundFile {

inline unsigned int Big32(const unsigned char* at) {
    unsigned int raw = 0;
    std::memcpy(&raw, at, sizeof(raw));
    return kEndian::Big32(raw);
}
inline unsigned short Big16(const unsigned char* at) {
    unsigned short raw = 0;
    std::memcpy(&raw, at, sizeof(raw));
    return kEndian::Big16(raw);
}
inline unsigned int Little32(const unsigned char* at) {
    unsigned int raw = 0;
    std::memcpy(&raw, at, sizeof(raw));
    return kEndian::Little32(raw);
}
inline unsigned short Little16(const unsigned char* at) {
    unsigned short raw = 0;
    std::memcpy(&raw, at, sizeof(raw));
    return kEndian::Little16(raw);
}

inline void PutBig32(unsigned char* at, unsigned int value) {
    const unsigned int raw = kEndian::Big32(value);
    std::memcpy(at, &raw, sizeof(raw));
}
inline void PutBig16(unsigned char* at, unsigned short value) {
    const unsigned short raw = kEndian::Big16(value);
    std::memcpy(at, &raw, sizeof(raw));
}
inline void PutLittle32(unsigned char* at, unsigned int value) {
    const unsigned int raw = kEndian::Little32(value);
    std::memcpy(at, &raw, sizeof(raw));
}
inline void PutLittle16(unsigned char* at, unsigned short value) {
    const unsigned short raw = kEndian::Little16(value);
    std::memcpy(at, &raw, sizeof(raw));
}

inline bool IsTag(const unsigned char* at, const char (&tag)[5]) {
    return std::memcmp(at, tag, 4) == 0;
}

// Bytes from the stream's position to its end.
unsigned int Remaining(kIOStreamSeekable* stream);
bool ReadExactly(kIOStream* stream, void* data, unsigned int size);
// A new sound-tagged block of `size` bytes read from the stream, or null, logged under
// `system`: when the stream holds fewer (then nothing is allocated), or with
// `readFailed` when the read comes up short.
void* ReadData(kIOStreamSeekable* stream, unsigned int size, const char* system,
               const char* readFailed);
bool WriteAll(kIOStream* stream, const void* data, unsigned int size);
// The header bytes, then the sound's data.
bool WriteHeaderAndData(kIOStream* stream, const unsigned char* header, unsigned int headerSize,
                        const kSound& sound);

} // namespace Kelvo_lib::kSoundFile
