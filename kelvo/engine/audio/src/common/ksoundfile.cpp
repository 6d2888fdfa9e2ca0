// Stream helpers of the sound file loaders and writers.
#include "ksoundfile.h"

#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

namespace Kelvo_lib::kSoundFile {

unsigned int Remaining(kIOStreamSeekable* stream) {
    const unsigned int length = stream->Length();
    const unsigned int position = stream->Tell();
    return position < length ? length - position : 0;
}

bool ReadExactly(kIOStream* stream, void* data, unsigned int size) {
    return stream->Read(data, size) == size;
}

void* ReadData(kIOStreamSeekable* stream, unsigned int size, const char* system,
               const char* readFailed) {
    const unsigned int remaining = Remaining(stream);
    if (size > remaining) {
        kLogSys(system, "Data of %u bytes runs past the end of the file (%u bytes left).\n", size,
                remaining);
        return nullptr;
    }
    void* data = kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, size);
    if (!ReadExactly(stream, data, size)) {
        kLogSys(system, "%s", readFailed);
        kPlatform_ReleaseFree(data);
        return nullptr;
    }
    return data;
}

bool WriteAll(kIOStream* stream, const void* data, unsigned int size) {
    return stream->Write(data, size) == size;
}

bool WriteHeaderAndData(kIOStream* stream, const unsigned char* header, unsigned int headerSize,
                        const kSound& sound) {
    return WriteAll(stream, header, headerSize) &&
           WriteAll(stream, sound.GetData(), sound.DataSize());
}

} // namespace Kelvo_lib::kSoundFile
