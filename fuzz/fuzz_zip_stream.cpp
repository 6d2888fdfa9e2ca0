// Inflates any bytes through the zip stream: the first byte picks the transfer buffer
// and read sizes. A stream ends normally or with code 2, never reads outside its source
// and leaves the source inside it.
#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/io/kzipiostream.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace Kelvo_lib;

namespace {

// The codec logs its allocations on every run.
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned int bufferSize = 1u + (data[0] & 0x0Fu) * 97u;
    const unsigned int readSize = 1u + (data[0] >> 4) * 331u;
    std::vector<char> bytes(data + 1, data + size);
    kMemoryIOStream source(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    kZipIOStream zip(&source, K_IO_ACCESS_READ, bufferSize);
    std::vector<char> out(readSize);
    size_t total = 0;
    // A small input may inflate to a great deal: 16 MiB is enough to exercise it.
    while (total < (16u << 20)) {
        const unsigned int got = zip.Read(out.data(), readSize);
        if (got == 0) {
            break;
        }
        if (got > readSize) {
            abort();
        }
        total += got;
    }
    const int code = zip.GetErrorCode();
    if ((code != 0 && code != 2) || source.Tell() > source.Length()) {
        abort();
    }
    return 0;
}
