// The --audio-out WAV file: 32,000 Hz 16-bit stereo PCM, little-endian as RIFF defines
// it. The header's sizes are written again after every append, so the file is whole
// whenever the program stops.
#include <console/ai.h>
#include <console/host.h>
#include <console/os.h>

#include "host/audio_host.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr u32 kHeaderBytes = 44;
constexpr u32 kChannels = 2;
constexpr u32 kBytesPerFrame = kChannels * 2;

struct Capture {
    std::FILE* file = nullptr;
    char path[kHostPathCapacity] = {};
    u32 dataBytes = 0;
};

Capture s_capture;
bool s_bFailed = false;

u8* PutLittle(u8* at, u32 value, u32 bytes) {
    for (u32 i = 0; i < bytes; ++i) {
        *at++ = static_cast<u8>(value >> (8 * i));
    }
    return at;
}

u8* PutTag(u8* at, const char* tag) {
    std::memcpy(at, tag, 4);
    return at + 4;
}

bool WriteHeader() {
    u8 header[kHeaderBytes];
    u8* at = PutTag(header, "RIFF");
    at = PutLittle(at, kHeaderBytes - 8 + s_capture.dataBytes, 4);
    at = PutTag(at, "WAVE");
    at = PutTag(at, "fmt ");
    at = PutLittle(at, 16, 4);
    at = PutLittle(at, 1, 2); // PCM
    at = PutLittle(at, kChannels, 2);
    at = PutLittle(at, AI_SAMPLE_RATE, 4);
    at = PutLittle(at, AI_SAMPLE_RATE * kBytesPerFrame, 4);
    at = PutLittle(at, kBytesPerFrame, 2);
    at = PutLittle(at, 16, 2);
    at = PutTag(at, "data");
    PutLittle(at, s_capture.dataBytes, 4);
    return std::fseek(s_capture.file, 0, SEEK_SET) == 0 &&
           std::fwrite(header, 1, kHeaderBytes, s_capture.file) == kHeaderBytes &&
           std::fseek(s_capture.file, 0, SEEK_END) == 0;
}

void Close() {
    if (s_capture.file != nullptr) {
        std::fclose(s_capture.file);
    }
    s_capture.file = nullptr;
    s_capture.path[0] = '\0';
    s_capture.dataBytes = 0;
}

void Fail(const char* what) {
    OSReport("--audio-out: cannot %s '%s'; the sound is not captured\n", what, s_capture.path);
    s_bFailed = true;
    if (s_capture.file != nullptr) {
        std::fclose(s_capture.file);
    }
    s_capture.file = nullptr; // the path stays, so the file is not tried again
}

// False, the file closed and the path kept, when the file cannot be made.
bool Open(const char* path) {
    std::strcpy(s_capture.path, path);
    s_capture.file = std::fopen(path, "wb");
    if (s_capture.file != nullptr && WriteHeader()) {
        return true;
    }
    if (s_capture.file != nullptr) {
        std::fclose(s_capture.file);
    }
    s_capture.file = nullptr;
    return false;
}

// RIFF sizes are 32-bit: about nine hours of sound.
constexpr u32 kMaxDataBytes = 0xFFFFFFFFu - kHeaderBytes;

bool Append(const s16* frames, u32 frameCount) {
    if (frameCount > (kMaxDataBytes - s_capture.dataBytes) / kBytesPerFrame) {
        return false;
    }
    u8 bytes[AI_FRAME_BYTES];
    for (u32 done = 0; done < frameCount;) {
        const u32 count =
            frameCount - done < AI_FRAME_SAMPLES ? frameCount - done : AI_FRAME_SAMPLES;
        for (u32 i = 0; i < count * kChannels; ++i) {
            PutLittle(&bytes[2 * i], static_cast<u16>(frames[done * kChannels + i]), 2);
        }
        if (std::fwrite(bytes, kBytesPerFrame, count, s_capture.file) != count) {
            return false;
        }
        done += count;
        s_capture.dataBytes += count * kBytesPerFrame;
    }
    return WriteHeader() && std::fflush(s_capture.file) == 0;
}

} // namespace

void HostAudioCapture(const s16* frames, u32 frameCount) {
    const char* path = HostGetOptions().audioOut;
    if (std::strcmp(path, s_capture.path) != 0) {
        Close();
        if (path[0] != '\0' && !Open(path)) {
            Fail("create");
        }
    }
    if (s_capture.file != nullptr && !Append(frames, frameCount)) {
        Fail("write");
    }
}

bool HostAudioCaptureBegin() {
    const char* path = HostGetOptions().audioOut;
    Close();
    if (path[0] != '\0' && !Open(path)) {
        OSReport("--audio-out: cannot write a WAV file to '%s': %s\n", path, std::strerror(errno));
        s_bFailed = true;
    }
    return !s_bFailed;
}

bool HostAudioCaptureFailed() {
    return s_bFailed;
}
