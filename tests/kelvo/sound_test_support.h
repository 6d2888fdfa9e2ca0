// Sound files for tests: sounds made from bytes, files written by our writers, loads from
// memory, and a log hook that records what the loaders say.
#pragma once

#include <kelvo/audio/ksound.h>
#include <kelvo/audio/ksoundwriter.h>
#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace sound_test {

using Bytes = std::vector<unsigned char>;
using SoundPtr = std::unique_ptr<Kelvo_lib::kSound>;
using Loader = Kelvo_lib::kSound* (*)(Kelvo_lib::kIOStreamSeekable*);
using Writer = bool (*)(const Kelvo_lib::kSound&, Kelvo_lib::kIOStream*);

// A sound owning a copy of the bytes.
inline SoundPtr MakeSound(Kelvo_lib::kSAMPLE_FORMAT format, unsigned int rate, const Bytes& data) {
    void* copy = kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, static_cast<u32>(data.size()));
    std::memcpy(copy, data.data(), data.size());
    SoundPtr sound(new Kelvo_lib::kSound);
    sound->SetHeader(format, rate, copy, static_cast<unsigned int>(data.size()), 0);
    return sound;
}

inline Bytes DataOf(const Kelvo_lib::kSound& sound) {
    const unsigned char* data = static_cast<const unsigned char*>(sound.GetData());
    return Bytes(data, data + sound.DataSize());
}

// The file a writer makes of the sound; empty when it refuses.
inline Bytes Write(Writer writer, const Kelvo_lib::kSound& sound) {
    Bytes file(sound.DataSize() + Kelvo_lib::K_SOUND_WRITER_MAX_HEADER);
    Kelvo_lib::kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()),
                                      K_IO_ACCESS_WRITE);
    if (!writer(sound, &stream)) {
        return {};
    }
    file.resize(stream.Tell());
    return file;
}

inline SoundPtr Load(Loader loader, Bytes file) {
    Kelvo_lib::kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()),
                                      K_IO_ACCESS_READ);
    return SoundPtr(loader(&stream));
}

inline SoundPtr Import(Bytes file, const char* name) {
    Kelvo_lib::kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()),
                                      K_IO_ACCESS_READ);
    return SoundPtr(Kelvo_lib::kSound::Import(&stream, name));
}

// Records every log line while it lives.
class LogRecorder : public Kelvo_lib::kLogHook {
public:
    LogRecorder() { kLog->Hook(this); }
    void Reset() override {}
    void Message(long, int, int, const char*, const char* text, bool) override {
        lines.emplace_back(text);
    }
    void Print(const char*) override {}
    bool Logged(const std::string& text) const {
        for (const std::string& line : lines) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> lines;
};

} // namespace sound_test
