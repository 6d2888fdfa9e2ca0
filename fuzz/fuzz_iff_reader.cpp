// Walks any bytes as an IFF file: every group entered, every chunk read in pieces and
// once past its end. The reader must stay inside its levels whatever the framing says.
#include <kelvo/io/kiff.h>
#include <kelvo/io/kmemoryiostream.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr int kMaxDepth = 8;

void CheckInside(const kIFFContext& ctx) {
    if (ctx.position > ctx.bound || (ctx.parent != nullptr && ctx.bound > ctx.parent->bound)) {
        abort();
    }
}

void ReadChunk(kIFFContext* ctx) {
    unsigned char piece[61];
    while (ctx->bytesSoFar < ctx->chunkHdr.size) {
        const unsigned int left = ctx->chunkHdr.size - ctx->bytesSoFar;
        const unsigned int size = left < sizeof(piece) ? left : sizeof(piece);
        if (kIFFRead::ReadChunkBytes(ctx, piece, size) != K_IFF_OK) {
            return;
        }
        CheckInside(*ctx);
    }
    if (kIFFRead::ReadChunkBytes(ctx, piece, 1) != K_IFF_BAD_FORMAT) {
        abort();
    }
}

void WalkLevel(kIFFContext* ctx, int depth) {
    for (int code = kIFFRead::NextChunk(ctx); code != K_IFF_DONE; code = kIFFRead::NextChunk(ctx)) {
        CheckInside(*ctx);
        if (code != K_IFF_OK) {
            continue;
        }
        kIFFContext child{};
        if (ctx->groupSubId != 0 && depth < kMaxDepth &&
            kIFFRead::OpenGroup(ctx, &child) == K_IFF_OK) {
            WalkLevel(&child, depth + 1);
            if (kIFFRead::CloseGroup(ctx, &child) != K_IFF_OK) {
                abort();
            }
        } else {
            ReadChunk(ctx);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size);
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    kIFFContext top{};
    kIFFRead::OpenStream(&top, &stream);
    WalkLevel(&top, 0);
    if (stream.Tell() != top.position) {
        abort();
    }
    return 0;
}
