// The IFF reader: chunk headers, group levels and payload reads, each checked against
// the chunk and level it lies in, and the message table of the reader's codes.
#include <kelvo/io/kendian.h>
#include <kelvo/io/kiff.h>

#include <climits>

namespace Kelvo_lib {

namespace {

constexpr unsigned int kHeaderSize = 8;
constexpr unsigned int kSubIdSize = 4;

constexpr unsigned int kIdForm = kIFFMakeId("FORM");
constexpr unsigned int kIdList = kIFFMakeId("LIST");
constexpr unsigned int kIdCat = kIFFMakeId("CAT ");
constexpr unsigned int kIdProp = kIFFMakeId("PROP");

bool IsTopLevelId(unsigned int id) {
    return id == kIdForm || id == kIdList || id == kIdCat;
}

bool IsGroupId(unsigned int id) {
    return IsTopLevelId(id) || id == kIdProp;
}

bool HasChunk(const kIFFContext* ctx) {
    return ctx->chunkHdr.chunkId != K_IFF_ID_NONE && ctx->chunkHdr.chunkId != K_IFF_ID_END;
}

// The absolute end of the current chunk's payload.
unsigned long long ChunkEnd(const kIFFContext* ctx) {
    return static_cast<unsigned long long>(ctx->position) + ctx->chunkHdr.size - ctx->bytesSoFar;
}

// Moves the stream and the position forward by amount (stream seeks take an int).
void Advance(kIFFContext* ctx, unsigned int amount) {
    ctx->position += amount;
    while (amount > 0) {
        const unsigned int step = amount < INT_MAX ? amount : INT_MAX;
        ctx->stream->Seek(static_cast<int>(step), K_IO_SEEK_CUR);
        amount -= step;
    }
}

// Reads size bytes, keeping the position with the stream; false on a short read.
bool ReadExactly(kIFFContext* ctx, void* data, unsigned int size) {
    const unsigned int got = ctx->stream->Read(data, size);
    ctx->position += got;
    return got == size;
}

// Steps over what is left of the current chunk and its pad byte; false when that
// would leave the level (the stream then stands at the level's end).
bool SkipRestOfChunk(kIFFContext* ctx) {
    const kIFFChunk& chunk = ctx->chunkHdr;
    // A rejected chunk covers the rest of the level exactly: no pad byte follows it.
    const unsigned int pad = chunk.chunkId == K_IFF_ID_NONE ? 0u : chunk.size & 1u;
    const unsigned long long target = ChunkEnd(ctx) + pad;
    if (ctx->bytesSoFar > chunk.size || ctx->position > ctx->bound || target > ctx->bound) {
        if (ctx->position < ctx->bound) {
            Advance(ctx, ctx->bound - ctx->position);
        }
        return false;
    }
    Advance(ctx, static_cast<unsigned int>(target - ctx->position));
    return true;
}

// A format fault after the header: the context keeps no chunk, and its size covers
// the rest of the level, so the next NextChunk ends the level.
int RejectChunk(kIFFContext* ctx) {
    ctx->chunkHdr.chunkId = K_IFF_ID_NONE;
    ctx->chunkHdr.size = ctx->bound > ctx->position ? ctx->bound - ctx->position : 0;
    ctx->bytesSoFar = 0;
    return K_IFF_BAD_FORMAT;
}

int ReadGroupSubId(kIFFContext* ctx) {
    unsigned int raw = 0;
    if (ctx->chunkHdr.size < kSubIdSize || !ReadExactly(ctx, &raw, kSubIdSize)) {
        return RejectChunk(ctx);
    }
    ctx->groupSubId = kEndian::Big32(raw);
    ctx->bytesSoFar = kSubIdSize;
    return K_IFF_OK;
}

} // namespace

const char* kIFFGetErrorString(int code) {
    switch (code) {
    case 0:
        return "No error";
    case 1:
        return "Context passed to function is invalid (NULL, corrupt, or incorrect context)";
    case 2:
        return "Chunk id is invalid (chunk ID's cannot be zero and must be ASCII)";
    case 3:
        return "Already inside a chunk, cannot enter another one / chunk still open in the group";
    case 4:
        return "Not inside a chunk (cannot write or close it)";
    case 5:
        return "Invalid top level chunk, must be FORM, LIST or CAT";
    case 6:
        return "Can only have a single top level chunk";
    case 7:
        return "Operation will overflow the group size";
    case 8:
        return "Operation will overflow the chunk size";
    case 9:
        return "Error writing data";
    case 10:
        return "Invalid size (0xffffffff is used as a special tag)";
    case 11:
        return "Writing a group, cannot close the chunk or write to the context";
    case 12:
        return "Size specified for chunk or group and the final size (on end/close) do not match";
    case 13:
        return "Chunk id does not match the currently open id";
    case 14:
        return "The group that is being specified is not currently open in the parent";
    case 15:
        return "Bad format IFF";
    case 255:
        return "Done";
    default:
        return "Unknown IFF error code";
    }
}

namespace kIFFRead {

int OpenStream(kIFFContext* ctx, kIOStreamSeekable* stream) {
    if (ctx == nullptr || stream == nullptr) {
        return K_IFF_INVALID_CONTEXT;
    }
    *ctx = kIFFContext{};
    ctx->stream = stream;
    ctx->position = stream->Tell();
    ctx->bound = stream->Length();
    return K_IFF_OK;
}

int NextChunk(kIFFContext* ctx) {
    if (ctx == nullptr || ctx->stream == nullptr) {
        return K_IFF_INVALID_CONTEXT;
    }
    const bool skipped = SkipRestOfChunk(ctx);
    ctx->chunkHdr.chunkId = K_IFF_ID_NONE;
    ctx->groupSubId = 0;
    ctx->bytesSoFar = 0;
    if (!skipped) {
        return RejectChunk(ctx);
    }
    const unsigned int remaining = ctx->bound - ctx->position;
    if (remaining == 0) {
        ctx->chunkHdr = {K_IFF_ID_END, 0};
        return K_IFF_DONE;
    }
    unsigned int raw[2] = {};
    if (remaining < kHeaderSize || !ReadExactly(ctx, raw, kHeaderSize)) {
        return RejectChunk(ctx);
    }
    const unsigned int id = kEndian::Big32(raw[0]);
    const unsigned int size = kEndian::Big32(raw[1]);
    if ((ctx->parent == nullptr && !IsTopLevelId(id)) || size == 0xFFFFFFFFu ||
        size > remaining - kHeaderSize) {
        return RejectChunk(ctx);
    }
    ctx->chunkHdr = {id, size};
    return IsGroupId(id) ? ReadGroupSubId(ctx) : K_IFF_OK;
}

int OpenGroup(kIFFContext* ctx, kIFFContext* child) {
    if (ctx == nullptr || child == nullptr || ctx->stream == nullptr) {
        return K_IFF_INVALID_CONTEXT;
    }
    if (!HasChunk(ctx) || ctx->bytesSoFar > ctx->chunkHdr.size) {
        return K_IFF_BAD_FORMAT;
    }
    const unsigned long long end = ChunkEnd(ctx);
    *child = kIFFContext{};
    child->stream = ctx->stream;
    child->parent = ctx;
    child->position = ctx->position;
    child->bound = static_cast<unsigned int>(end);
    return end > ctx->bound || (end & 1u) != 0 ? K_IFF_BAD_FORMAT : K_IFF_OK;
}

int CloseGroup(kIFFContext* ctx, kIFFContext* child) {
    if (ctx == nullptr || child == nullptr) {
        return K_IFF_INVALID_CONTEXT;
    }
    if (child->parent != ctx || !HasChunk(ctx) || child->position < ctx->position ||
        child->position > ChunkEnd(ctx)) {
        return K_IFF_BAD_FORMAT;
    }
    ctx->bytesSoFar += child->position - ctx->position;
    ctx->position = child->position;
    return K_IFF_OK;
}

int ReadChunkBytes(kIFFContext* ctx, void* data, unsigned int size) {
    if (ctx == nullptr || ctx->stream == nullptr) {
        return K_IFF_INVALID_CONTEXT;
    }
    if (size == 0) {
        return K_IFF_OK;
    }
    if (data == nullptr || !HasChunk(ctx) ||
        static_cast<unsigned long long>(ctx->bytesSoFar) + size > ctx->chunkHdr.size) {
        return K_IFF_BAD_FORMAT;
    }
    const unsigned int before = ctx->position;
    const bool complete = ReadExactly(ctx, data, size);
    ctx->bytesSoFar += ctx->position - before;
    return complete ? K_IFF_OK : K_IFF_BAD_FORMAT;
}

kIFF_POS GroupTell(kIFFContext* ctx) {
    if (ctx == nullptr) {
        return kIFF_POS{};
    }
    return kIFF_POS{ctx, ctx->chunkHdr, ctx->position, ctx->bytesSoFar};
}

} // namespace kIFFRead

bool kIFFReadContext::NextChunk() {
    const int code = kIFFRead::NextChunk(context);
    if (code != K_IFF_OK && code != K_IFF_DONE) {
        throw kIFFException(code);
    }
    return code == K_IFF_OK;
}

void kIFFReadContext::OpenGroup(kIFFContext* child) {
    const int code = kIFFRead::OpenGroup(context, child);
    if (code != K_IFF_OK) {
        throw kIFFException(code);
    }
}

void kIFFReadContext::CloseGroup(kIFFContext* child) {
    const int code = kIFFRead::CloseGroup(context, child);
    if (code != K_IFF_OK) {
        throw kIFFException(code);
    }
}

} // namespace Kelvo_lib
