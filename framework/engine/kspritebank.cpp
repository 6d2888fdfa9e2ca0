// Sprite bank loading: the chunks in their order, each count checked against its chunk
// before anything is allocated, the records decoded field by field, and every index
// checked once the reading ends, whichever way it ends.
#include <framework/kspritebank.h>
#include <framework/kspritemanager.h>

#include <kelvo/io/kfileiostream.h>
#include <kelvo/platform/klog.h>

#include <climits>

namespace Kelvo_lib {

namespace {

constexpr unsigned int kOldHeaderVersion = 1;
constexpr unsigned int kVersionBytes = 4;

int numSpriteBanks = 0;

// Reads n bytes of the current chunk; a reader code other than 0 is thrown.
void ReadWithYield(kIFFReadContext& ctx, void* dst, unsigned int n) {
    const int code = kIFFRead::ReadChunkBytes(ctx, dst, n);
    if (code != K_IFF_OK) {
        throw kIFFException(code);
    }
}

// Refuses, as a short chunk, a read of more bytes than the chunk has left, before anything
// is allocated for it; and, the same way, records that no array could hold.
void RequirePayload(kIFFReadContext& ctx, unsigned long long fileBytes,
                    unsigned long long memoryBytes) {
    const kIFFContext* context = ctx.context;
    const unsigned long long left = context->chunkHdr.size - context->bytesSoFar;
    if (fileBytes > left || memoryBytes > INT_MAX) {
        throw kIFFException(K_IFF_BAD_FORMAT);
    }
}

// Steps to the next chunk with either id; false at the end of the group.
bool FindChunk(kIFFReadContext& group, unsigned int id, unsigned int otherId) {
    while (group.NextChunk()) {
        if (group.ChunkId() == id || group.ChunkId() == otherId) {
            return true;
        }
    }
    return false;
}

bool FindChunk(kIFFReadContext& group, unsigned int id) {
    return FindChunk(group, id, id);
}

template <class Element>
void ReadBytes(kIFFReadContext& ctx, kArray<Element>& list, unsigned int size) {
    RequirePayload(ctx, size, size);
    list.SetSize(static_cast<s32>(size));
    ReadWithYield(ctx, list.Data(), size);
}

// count records of the file layout FileRecord, each turned into a Record by convert.
template <class FileRecord, class Record, class Convert>
void ReadRecords(kIFFReadContext& ctx, kArray<Record>& list, unsigned int count, Convert convert) {
    constexpr unsigned int kSize = kSpriteBankRecord::FileSize<FileRecord>();
    RequirePayload(ctx, static_cast<unsigned long long>(count) * kSize,
                   static_cast<unsigned long long>(count) * sizeof(Record));
    list.SetSize(static_cast<s32>(count));
    unsigned char bytes[kSize];
    for (unsigned int i = 0; i < count; ++i) {
        ReadWithYield(ctx, bytes, kSize);
        FileRecord record{};
        kSpriteBankRecord::Decode(bytes, record);
        list(static_cast<s32>(i)) = convert(record);
    }
}

template <class Record>
void ReadRecords(kIFFReadContext& ctx, kArray<Record>& list, unsigned int count) {
    ReadRecords<Record>(ctx, list, count, [](const Record& record) { return record; });
}

kSpriteBankFrame FromOldFrame(const kSpriteBankFrameV1& old) {
    return kSpriteBankFrame{old.numCells,      old.cellIndex, old.width, old.height,
                            old.offsetx,       old.offsety,   0,         0,
                            old.collisionIndex};
}

kSpriteBankCell FromOldCell(const kSpriteBankCellV1& old) {
    const auto cut = [](unsigned int value) { return static_cast<unsigned short>(value); };
    return kSpriteBankCell{cut(old.pageIndex), cut(old.offsetX), cut(old.offsetY), cut(old.x),
                           cut(old.y),         cut(old.w),       cut(old.h)};
}

// Whether count elements from first lie inside a list of size elements.
bool Inside(unsigned int first, unsigned long long count, s32 size) {
    return first + count <= static_cast<unsigned long long>(size);
}

// The same for a run of records, where a count of 0 leaves the first index unused.
bool Within(unsigned int first, unsigned int count, s32 size) {
    return count == 0 || Inside(first, count, size);
}

char LowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Starts the IFF read at the stream's position and loads the bank from it.
void LoadFromStream(kSpriteBank& bank, kIOStreamSeekable* stream) {
    kIFFContext ctx;
    const int code = kIFFRead::OpenStream(&ctx, stream);
    if (code != K_IFF_OK) {
        throw kIFFException(code);
    }
    bank.LoadIFF(&ctx);
}

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a != 0 && LowerCase(*a) == LowerCase(*b); ++a, ++b) {
    }
    return LowerCase(*a) == LowerCase(*b);
}

} // namespace

kSpriteBank::kSpriteBank(const char* fileName, bool) {
    SysFileHandle* handle = kPlatform_FileOpen(fileName, K_IO_ACCESS_READ, K_IO_OPEN_EXISTING);
    if (handle == nullptr) {
        kLogFmt("kSpriteBank:: Failed to open %s\n", fileName);
        return;
    }
    m_name = fileName;
    kFileIOStream stream(handle);
    try {
        LoadFromStream(*this, &stream);
    } catch (kIFFException& exception) {
        kLogFmt("kSpriteBank:: IFF Exception : %s\n", exception.GetErrorString());
    }
    stream.Close();
    m_bCounted = true;
    ++numSpriteBanks;
    kLogFmt("kSpriteBank::Construct: %s (%d)\n", m_name.CStr(), numSpriteBanks);
}

kSpriteBank::kSpriteBank(kIOStreamSeekable* stream) : m_name("Unknown") {
    LoadFromStream(*this, stream);
}

kSpriteBank::~kSpriteBank() {
    // Cached pages are keyed by their bank: a later bank at this address must not find them.
    FreeCacheForBank(this);
    if (m_bCounted) {
        kLogFmt("kSpriteBank::Destruct: %s (%d)\n", m_name.CStr(), numSpriteBanks);
        --numSpriteBanks;
    }
}

void kSpriteBank::LoadIFF(kIFFContext* ctx) {
    try {
        ReadChunks(ctx);
    } catch (kIFFException&) {
        DropInconsistentRecords();
        throw;
    }
    DropInconsistentRecords();
}

void kSpriteBank::ReadChunks(kIFFContext* ctx) {
    kIFFReadContext file(ctx);
    if (!file.NextChunk() || file.ChunkId() != kIFFMakeId("FORM") ||
        file.GroupSubId() != kSpriteBankChunk::kForm) {
        return;
    }
    kIFFContext groupContext;
    file.OpenGroup(&groupContext);
    kIFFReadContext group(&groupContext);
    if (ReadHeader(group) && ReadNames(group) && ReadSprites(group) && ReadFrames(group) &&
        ReadCells(group) && ReadHotSpots(group) && ReadPages(group) && ReadPageData(group) &&
        ReadCollisionData(group)) {
        file.CloseGroup(&groupContext);
    }
}

bool kSpriteBank::ReadHeader(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kHeader)) {
        return false;
    }
    constexpr unsigned int kSize = kSpriteBankRecord::FileSize<kSpriteBankHeader>();
    unsigned char bytes[kSize] = {};
    ReadWithYield(group, bytes, kVersionBytes);
    kSpriteBankRecord::ReadField(bytes, m_hdr.version);
    // The old header lacks platform and flags: its counts land where the current ones lie.
    constexpr unsigned int kMissing = 2 * sizeof(unsigned int);
    const bool bOld = m_hdr.version == kOldHeaderVersion;
    if (bOld) {
        kLogFmt("Warning: loading old version spritebank\n");
    }
    const unsigned int start = kVersionBytes + (bOld ? kMissing : 0);
    ReadWithYield(group, bytes + start, kSize - start);
    kSpriteBankRecord::Decode(bytes, m_hdr);
    return true;
}

bool kSpriteBank::ReadNames(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kNames)) {
        return false;
    }
    ReadBytes(group, m_nameTable, m_hdr.nameTableSize);
    return true;
}

bool kSpriteBank::ReadSprites(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kSprites)) {
        return false;
    }
    ReadRecords(group, m_spriteList, m_hdr.numSprites);
    return true;
}

bool kSpriteBank::ReadFrames(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kFrames, kSpriteBankChunk::kFramesV1)) {
        return false;
    }
    if (group.ChunkId() == kSpriteBankChunk::kFrames) {
        ReadRecords(group, m_frameList, m_hdr.numFrames);
    } else {
        ReadRecords<kSpriteBankFrameV1>(group, m_frameList, m_hdr.numFrames, FromOldFrame);
    }
    return true;
}

bool kSpriteBank::ReadCells(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kCells, kSpriteBankChunk::kCellsV1)) {
        return false;
    }
    if (group.ChunkId() == kSpriteBankChunk::kCells) {
        ReadRecords(group, m_cellList, m_hdr.numCells);
    } else {
        ReadRecords<kSpriteBankCellV1>(group, m_cellList, m_hdr.numCells, FromOldCell);
    }
    return true;
}

bool kSpriteBank::ReadHotSpots(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kHotSpots)) {
        return false;
    }
    ReadRecords(group, m_hotSpotList, m_hdr.numHotSpots);
    return true;
}

bool kSpriteBank::ReadPages(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kPages)) {
        return false;
    }
    ReadRecords(group, m_pageList, m_hdr.numPages);
    return true;
}

bool kSpriteBank::ReadPageData(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kPageData)) {
        return false;
    }
    m_pageDataIndex = static_cast<int>(group.context->position);
    ReadBytes(group, m_pageData, m_hdr.pageDataSize);
    return true;
}

bool kSpriteBank::ReadCollisionData(kIFFReadContext& group) {
    if (!FindChunk(group, kSpriteBankChunk::kCollisionData)) {
        return false;
    }
    ReadBytes(group, m_collisionData, m_hdr.collisionDataSize);
    return true;
}

void kSpriteBank::DropInconsistentRecords() {
    const char* fault = FindInconsistency();
    if (fault != nullptr) {
        kLogFmt("kSpriteBank:: %s: %s, the bank is left empty\n", m_name.CStr(), fault);
        Empty();
    }
}

const char* kSpriteBank::FindInconsistency() const {
    for (s32 i = 0; i < m_spriteList.Size(); ++i) {
        const kSpriteBankSprite& sprite = m_spriteList(i);
        if (!IsName(sprite.nameIndex)) {
            return "a sprite's name lies outside the name table";
        }
        if (sprite.numFrames == 0 ||
            !Within(sprite.frameIndex, sprite.numFrames, m_frameList.Size())) {
            return "a sprite's frames lie outside the frame list";
        }
        if (!Within(sprite.hotSpotIndex, sprite.numHotSpots, m_hotSpotList.Size())) {
            return "a sprite's hot spots lie outside the hot-spot list";
        }
    }
    for (s32 i = 0; i < m_hotSpotList.Size(); ++i) {
        if (!IsName(m_hotSpotList(i).nameIndex)) {
            return "a hot spot's name lies outside the name table";
        }
    }
    for (s32 i = 0; i < m_frameList.Size(); ++i) {
        const kSpriteBankFrame& frame = m_frameList(i);
        if (!Within(frame.cellIndex, frame.numCells, m_cellList.Size())) {
            return "a frame's cells lie outside the cell list";
        }
        if (frame.collisionIndex != K_SPRITEBANK_NO_INDEX &&
            !Inside(frame.collisionIndex, kSpriteBankMaskBytes(frame.width, frame.height),
                    m_collisionData.Size())) {
            return "a frame's mask lies outside the collision data";
        }
    }
    for (s32 i = 0; i < m_cellList.Size(); ++i) {
        if (m_cellList(i).pageIndex >= m_pageList.Size()) {
            return "a cell's page does not exist";
        }
    }
    for (s32 i = 0; i < m_pageList.Size(); ++i) {
        const kSpriteBankPage& page = m_pageList(i);
        if (!Inside(page.dataIndex, page.size, m_pageData.Size())) {
            return "a page's stream lies outside the page data";
        }
    }
    return nullptr;
}

// Whether a zero-terminated name starts at nameIndex inside the name table.
bool kSpriteBank::IsName(unsigned int nameIndex) const {
    const s32 size = m_nameTable.Size();
    if (nameIndex >= static_cast<unsigned int>(size)) {
        return false;
    }
    return std::memchr(&m_nameTable(static_cast<s32>(nameIndex)), 0,
                       static_cast<unsigned int>(size) - nameIndex) != nullptr;
}

void kSpriteBank::Empty() {
    m_hdr = kSpriteBankHeader{};
    m_nameTable.Empty();
    m_spriteList.Empty();
    m_frameList.Empty();
    m_cellList.Empty();
    m_pageList.Empty();
    m_hotSpotList.Empty();
    m_pageData.Empty();
    m_collisionData.Empty();
}

kSpriteBankSprite* kSpriteBank::FindSprite(const char* inname) const {
    if (inname == nullptr) {
        return nullptr;
    }
    for (s32 i = 0; i < m_spriteList.Size(); ++i) {
        if (SameNameIgnoringCase(inname, GetRecordName(m_spriteList(i).nameIndex))) {
            return &m_spriteList(i);
        }
    }
    kArray<char> lowered;
    const s32 length = static_cast<s32>(std::strlen(inname));
    lowered.SetSize(length + 1);
    for (s32 i = 0; i <= length; ++i) {
        lowered(i) = LowerCase(inname[i]);
    }
    kLogFmt("Couldn't find '%s' from '%s' in:\n", lowered.Data(), m_name.CStr());
    for (s32 i = 0; i < m_spriteList.Size(); ++i) {
        kLogFmt("--> %s\n", GetRecordName(m_spriteList(i).nameIndex));
    }
    return nullptr;
}

unsigned char* kSpriteBank::GetFrameCollisionData(int frame) const {
    const unsigned int index = GetFrame(frame)->collisionIndex;
    return index == K_SPRITEBANK_NO_INDEX ? nullptr : m_collisionData.Data() + index;
}

} // namespace Kelvo_lib
