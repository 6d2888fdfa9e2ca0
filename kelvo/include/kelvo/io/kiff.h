// IFF reader: chunked files (groups "FORM", "LIST", "CAT " and "PROP" of tagged chunks,
// big-endian framing, odd payloads padded to even). A kIFFContext holds the reading
// state of one group level; it does not own its stream, which nobody else may move
// while the read runs. The kIFFRead functions return 0, 255 ("Done": end of the level)
// or 15 ("Bad format IFF") for any fault of the framing, never reading outside a chunk
// or level; kIFFReadContext throws kIFFException instead. One thread.
#pragma once

#include <kelvo/io/kexception.h>
#include <kelvo/io/kiostream.h>

namespace Kelvo_lib {

enum : int {
    K_IFF_OK = 0,
    K_IFF_INVALID_CONTEXT = 1,
    K_IFF_BAD_FORMAT = 15,
    K_IFF_DONE = 255,
};

// chunkId values that are no chunk.
constexpr unsigned int K_IFF_ID_END = 0xFFFFFFFFu;
constexpr unsigned int K_IFF_ID_NONE = 0xFFFFFFFEu;

constexpr unsigned int kIFFMakeId(const char (&id)[5]) {
    return (static_cast<unsigned int>(static_cast<unsigned char>(id[0])) << 24) |
           (static_cast<unsigned int>(static_cast<unsigned char>(id[1])) << 16) |
           (static_cast<unsigned int>(static_cast<unsigned char>(id[2])) << 8) |
           static_cast<unsigned int>(static_cast<unsigned char>(id[3]));
}

struct kIFFChunk {
    unsigned int chunkId;
    unsigned int size;
};

struct kIFFContext {
    kIOStreamSeekable* stream;
    kIFFContext* parent;
    unsigned int groupSubId; // of the current chunk when it is a group, else 0
    unsigned int position;   // absolute stream position reached
    unsigned int bound;      // absolute end of this level
    kIFFChunk chunkHdr;
    unsigned int bytesSoFar; // payload bytes of the current chunk consumed
    kIFFContext* childGroup;
};

struct kIFF_POS {
    kIFFContext* ctx;
    kIFFChunk chunkHdr;
    unsigned int position;
    unsigned int bytesSoFar;
};

// The text of a reader or writer code; "Unknown IFF error code" for any other.
const char* kIFFGetErrorString(int code);

namespace kIFFRead {

// Starts a top level at the stream's position.
int OpenStream(kIFFContext* ctx, kIOStreamSeekable* stream);
// Skips the rest of the current chunk and reads the next header: 0, 255 or 15.
int NextChunk(kIFFContext* ctx);
// Makes child the level inside the current chunk.
int OpenGroup(kIFFContext* ctx, kIFFContext* child);
// Hands the child's progress back; 15 when the child went beyond the parent's chunk.
int CloseGroup(kIFFContext* ctx, kIFFContext* child);
// Reads payload bytes of the current chunk; 15 (nothing read) past the chunk's end,
// 15 on a short read.
int ReadChunkBytes(kIFFContext* ctx, void* data, unsigned int size);
kIFF_POS GroupTell(kIFFContext* ctx);

} // namespace kIFFRead

class kIFFException : public kException {
public:
    explicit kIFFException(int iffError) : m_iffError(iffError) {}
    const char* GetErrorString() override { return kIFFGetErrorString(m_iffError); }
    int m_iffError;
};

class kIFFBaseContext {
public:
    explicit kIFFBaseContext(kIFFContext* ctx) : context(ctx) {}
    unsigned int ChunkId() const { return context->chunkHdr.chunkId; }
    unsigned int GroupSubId() const { return context->groupSubId; }
    operator kIFFContext*() const { return context; }

    kIFFContext* context;
};

// The reading functions with every failure thrown as kIFFException.
class kIFFReadContext : public kIFFBaseContext {
public:
    using kIFFBaseContext::kIFFBaseContext;
    // true: a chunk is current; false: the end of the group.
    bool NextChunk();
    void OpenGroup(kIFFContext* child);
    void CloseGroup(kIFFContext* child);
    kIFF_POS GroupTell() { return kIFFRead::GroupTell(context); }
};

} // namespace Kelvo_lib
