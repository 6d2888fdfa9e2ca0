// Plays any bytes as an Ogg Vorbis music file from the disc: the first byte picks 8-bit or
// 16-bit output, looping and the read size. A read never gives more than asked; without
// looping the stream ends with a short read and reports its end; looping, every read is
// whole. The seeds in the corpus are files made by libvorbisenc (fuzz/support/ogg_seeds.cpp).
#include <kelvo/audio/koggstream.h>

#include <console/host.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A small input may decode to minutes of sound, or loop for ever: 256 KiB exercises it.
constexpr size_t kMostBytes = 256u << 10;
constexpr const char* kFileName = "fuzz.ogg";

char s_discPath[kHostPathCapacity];
char s_filePath[kHostPathCapacity];

void RemoveDisc() {
    std::remove(s_filePath);
    std::remove(s_discPath);
}

void WriteDiscFile(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(s_filePath, "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size) {
        abort();
    }
    std::fclose(file);
}

// Reads until the stream ends or kMostBytes came; aborts on a read that breaks the rules.
void Drain(Kelvo_lib::kOGGStream& stream, unsigned int readSize, bool bLoop) {
    std::vector<unsigned char> buffer(readSize);
    for (size_t total = 0; total < kMostBytes;) {
        const unsigned int got = stream.Read(buffer.data(), readSize);
        if (got > readSize || (bLoop && !stream.IsEOF() && got != readSize)) {
            abort();
        }
        if (got < readSize) {
            if (!stream.IsEOF()) {
                abort();
            }
            return;
        }
        total += got;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::snprintf(s_discPath, sizeof(s_discPath), "/tmp/fuzz_ogg_stream_XXXXXX");
    if (mkdtemp(s_discPath) == nullptr) {
        abort();
    }
    std::snprintf(s_filePath, sizeof(s_filePath), "%s/%s", s_discPath, kFileName);
    std::atexit(RemoveDisc);
    HostOptions options = HostGetOptions();
    std::snprintf(options.discDir, sizeof(options.discDir), "%s", s_discPath);
    HostSetOptions(options);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool b8bit = (data[0] & 1) != 0;
    const bool bLoop = (data[0] & 2) != 0;
    const unsigned int readSize = 1u + (data[0] >> 2) * 523u;
    WriteDiscFile(data + 1, size - 1);
    Kelvo_lib::kOGGStream stream(kFileName, b8bit);
    stream.SetLoop(bLoop);
    Drain(stream, readSize, bLoop);
    if (stream.Rewind(true) == 0) {
        Drain(stream, readSize, bLoop);
    }
    return 0;
}
