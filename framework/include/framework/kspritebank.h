// kSpriteBank: one sprite bank file (IFF form "KSPB") in memory: named sprites, frames,
// cells, hot spots, page records with their LZSS streams, 1-bit collision masks. Loaded
// whole by the constructor, read-only after, shared through kSharedPtr; main thread only.
// Counts are bounded by their chunks and indices checked once at load: a bank that fails
// a check is logged and left empty. The by-name constructor never throws; the stream
// constructor lets kIFFException through.
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/io/kendian.h>
#include <kelvo/io/kiff.h>

#include <cstring>
#include <tuple>

namespace Kelvo_lib {

// The records as they are held in memory. Each lists its fields in file order, every
// one stored little-endian; kSpriteBankRecord reads and writes them.
struct kSpriteBankHeader {
    unsigned int version; // 1: the old 36-byte header without platform and flags
    unsigned int platform;
    unsigned int flags;
    unsigned int nameTableSize;
    unsigned int numSprites;
    unsigned int numFrames;
    unsigned int numCells;
    unsigned int numHotSpots;
    unsigned int numPages;
    unsigned int pageDataSize;
    unsigned int collisionDataSize;

    static constexpr auto Fields() {
        return std::tuple(&kSpriteBankHeader::version, &kSpriteBankHeader::platform,
                          &kSpriteBankHeader::flags, &kSpriteBankHeader::nameTableSize,
                          &kSpriteBankHeader::numSprites, &kSpriteBankHeader::numFrames,
                          &kSpriteBankHeader::numCells, &kSpriteBankHeader::numHotSpots,
                          &kSpriteBankHeader::numPages, &kSpriteBankHeader::pageDataSize,
                          &kSpriteBankHeader::collisionDataSize);
    }
};

struct kSpriteBankSprite {
    unsigned int nameIndex; // byte offset of the name in the name table
    unsigned int numFrames;
    unsigned int width;
    unsigned int height;
    unsigned int frameIndex; // first of its consecutive frames
    unsigned int hotSpotIndex;
    unsigned int numHotSpots;

    static constexpr auto Fields() {
        return std::tuple(&kSpriteBankSprite::nameIndex, &kSpriteBankSprite::numFrames,
                          &kSpriteBankSprite::width, &kSpriteBankSprite::height,
                          &kSpriteBankSprite::frameIndex, &kSpriteBankSprite::hotSpotIndex,
                          &kSpriteBankSprite::numHotSpots);
    }
};

constexpr unsigned int K_SPRITEBANK_NO_INDEX = 0xFFFFFFFFu;

// "FRA2" frames.
struct kSpriteBankFrame {
    unsigned int numCells;
    unsigned int cellIndex; // first of its consecutive cells
    unsigned int width;
    unsigned int height;
    unsigned int offsetx;
    unsigned int offsety;
    unsigned int totalw;
    unsigned int totalh;
    unsigned int collisionIndex; // byte offset of its mask, or K_SPRITEBANK_NO_INDEX

    static constexpr auto Fields() {
        return std::tuple(&kSpriteBankFrame::numCells, &kSpriteBankFrame::cellIndex,
                          &kSpriteBankFrame::width, &kSpriteBankFrame::height,
                          &kSpriteBankFrame::offsetx, &kSpriteBankFrame::offsety,
                          &kSpriteBankFrame::totalw, &kSpriteBankFrame::totalh,
                          &kSpriteBankFrame::collisionIndex);
    }
};

// "FRAM" frames: no totalw and totalh.
struct kSpriteBankFrameV1 {
    unsigned int numCells;
    unsigned int cellIndex;
    unsigned int width;
    unsigned int height;
    unsigned int offsetx;
    unsigned int offsety;
    unsigned int collisionIndex;

    static constexpr auto Fields() {
        return std::tuple(&kSpriteBankFrameV1::numCells, &kSpriteBankFrameV1::cellIndex,
                          &kSpriteBankFrameV1::width, &kSpriteBankFrameV1::height,
                          &kSpriteBankFrameV1::offsetx, &kSpriteBankFrameV1::offsety,
                          &kSpriteBankFrameV1::collisionIndex);
    }
};

// "CEL2" cells: a rectangle of a page, placed at offsetX, offsetY inside its frame.
struct kSpriteBankCell {
    unsigned short pageIndex;
    unsigned short offsetX;
    unsigned short offsetY;
    unsigned short x;
    unsigned short y;
    unsigned short w;
    unsigned short h;

    static constexpr auto Fields() {
        return std::tuple(&kSpriteBankCell::pageIndex, &kSpriteBankCell::offsetX,
                          &kSpriteBankCell::offsetY, &kSpriteBankCell::x, &kSpriteBankCell::y,
                          &kSpriteBankCell::w, &kSpriteBankCell::h);
    }
};

// "CELL" cells: the same fields as 32-bit values, cut to 16 bits on load.
struct kSpriteBankCellV1 {
    unsigned int pageIndex;
    unsigned int offsetX;
    unsigned int offsetY;
    unsigned int x;
    unsigned int y;
    unsigned int w;
    unsigned int h;

    static constexpr auto Fields() {
        return std::tuple(&kSpriteBankCellV1::pageIndex, &kSpriteBankCellV1::offsetX,
                          &kSpriteBankCellV1::offsetY, &kSpriteBankCellV1::x, &kSpriteBankCellV1::y,
                          &kSpriteBankCellV1::w, &kSpriteBankCellV1::h);
    }
};

struct kSpriteBankHotSpot {
    unsigned int nameIndex;
    unsigned int x;
    unsigned int y;

    static constexpr auto Fields() {
        return std::tuple(&kSpriteBankHotSpot::nameIndex, &kSpriteBankHotSpot::x,
                          &kSpriteBankHotSpot::y);
    }
};

struct kSpriteBankPage {
    unsigned int type; // kIMAGE_TYPE of the texture
    unsigned int width;
    unsigned int height;
    unsigned int flags;
    unsigned int size;      // bytes of its LZSS stream
    unsigned int dataIndex; // byte offset of the stream in the page data

    static constexpr auto Fields() {
        return std::tuple(&kSpriteBankPage::type, &kSpriteBankPage::width, &kSpriteBankPage::height,
                          &kSpriteBankPage::flags, &kSpriteBankPage::size,
                          &kSpriteBankPage::dataIndex);
    }
};

// The file form of a record: FileSize<Record>() bytes, its fields one after the other.
namespace kSpriteBankRecord {

template <class Record, class Field>
constexpr unsigned int FieldSize(Field Record::*) {
    return sizeof(Field);
}

template <class Record>
constexpr unsigned int FileSize() {
    return std::apply([](auto... fields) { return (0u + ... + FieldSize(fields)); },
                      Record::Fields());
}

inline unsigned int ReadField(const unsigned char* bytes, unsigned int& field) {
    unsigned int raw = 0;
    std::memcpy(&raw, bytes, sizeof(raw));
    field = kEndian::Little32(raw);
    return sizeof(raw);
}

inline unsigned int ReadField(const unsigned char* bytes, unsigned short& field) {
    unsigned short raw = 0;
    std::memcpy(&raw, bytes, sizeof(raw));
    field = kEndian::Little16(raw);
    return sizeof(raw);
}

inline unsigned int WriteField(unsigned char* bytes, unsigned int field) {
    const unsigned int raw = kEndian::Little32(field);
    std::memcpy(bytes, &raw, sizeof(raw));
    return sizeof(raw);
}

inline unsigned int WriteField(unsigned char* bytes, unsigned short field) {
    const unsigned short raw = kEndian::Little16(field);
    std::memcpy(bytes, &raw, sizeof(raw));
    return sizeof(raw);
}

template <class Record>
void Decode(const unsigned char* bytes, Record& record) {
    std::apply([&](auto... fields) { ((bytes += ReadField(bytes, record.*fields)), ...); },
               Record::Fields());
}

template <class Record>
void Encode(const Record& record, unsigned char* bytes) {
    std::apply([&](auto... fields) { ((bytes += WriteField(bytes, record.*fields)), ...); },
               Record::Fields());
}

static_assert(FileSize<kSpriteBankHeader>() == 44);
static_assert(FileSize<kSpriteBankSprite>() == 28);
static_assert(FileSize<kSpriteBankFrame>() == 36);
static_assert(FileSize<kSpriteBankFrameV1>() == 28);
static_assert(FileSize<kSpriteBankCell>() == 14);
static_assert(FileSize<kSpriteBankCellV1>() == 28);
static_assert(FileSize<kSpriteBankHotSpot>() == 12);
static_assert(FileSize<kSpriteBankPage>() == 24);

} // namespace kSpriteBankRecord

// The chunk ids, in the order the loader looks for them.
namespace kSpriteBankChunk {
constexpr unsigned int kForm = kIFFMakeId("KSPB");
constexpr unsigned int kHeader = kIFFMakeId("HDR ");
constexpr unsigned int kNames = kIFFMakeId("NAMT");
constexpr unsigned int kSprites = kIFFMakeId("SPRI");
constexpr unsigned int kFrames = kIFFMakeId("FRA2");
constexpr unsigned int kFramesV1 = kIFFMakeId("FRAM");
constexpr unsigned int kCells = kIFFMakeId("CEL2");
constexpr unsigned int kCellsV1 = kIFFMakeId("CELL");
constexpr unsigned int kHotSpots = kIFFMakeId("HOTS");
constexpr unsigned int kPages = kIFFMakeId("PAGE");
constexpr unsigned int kPageData = kIFFMakeId("PDAT");
constexpr unsigned int kCollisionData = kIFFMakeId("CDAT");
} // namespace kSpriteBankChunk

// Bytes of a frame's collision mask: one bit per 4 x 4 block, rows of width / 4 bits
// padded to whole bytes, height / 4 rows, most significant bit first.
constexpr unsigned long long kSpriteBankMaskBytes(unsigned int width, unsigned int height) {
    return (static_cast<unsigned long long>(width / 4) + 7) / 8 * (height / 4);
}

class kSpriteBank {
public:
    // Loads "fileName" from the disc. A file that cannot be opened leaves the bank empty
    // with an empty name; an IFF fault is logged and keeps what was read, if consistent.
    kSpriteBank(const char* fileName, bool);
    // Loads from the stream's position; named "Unknown".
    explicit kSpriteBank(kIOStreamSeekable* stream);
    kSpriteBank(const kSpriteBank&) = delete;
    kSpriteBank& operator=(const kSpriteBank&) = delete;
    ~kSpriteBank();

    // The first sprite, in file order, whose name equals inname ignoring case; null, after
    // logging the names the bank has, when there is none.
    kSpriteBankSprite* FindSprite(const char* inname) const;

    // Records by global index, as the records themselves give them; not bounds-checked.
    kSpriteBankSprite* GetSprite(int index) const { return &m_spriteList(index); }
    kSpriteBankFrame* GetFrame(int index) const { return &m_frameList(index); }
    kSpriteBankCell* GetCell(int index) const { return &m_cellList(index); }
    kSpriteBankPage* GetPage(int index) const { return &m_pageList(index); }
    kSpriteBankHotSpot* GetHotSpot(int index) const { return &m_hotSpotList(index); }
    // The first byte of the page's LZSS stream.
    void* GetPageData(int page) const { return m_pageData.Data() + GetPage(page)->dataIndex; }
    // The frame's mask, or null when it has none.
    unsigned char* GetFrameCollisionData(int frame) const;
    // The zero-terminated name at nameIndex of a sprite or hot spot.
    const char* GetRecordName(unsigned int nameIndex) const { return &m_nameTable(nameIndex); }

    int GetNumSprites() const { return m_spriteList.Size(); }
    int GetNumFrames() const { return m_frameList.Size(); }
    int GetNumCells() const { return m_cellList.Size(); }
    int GetNumHotSpots() const { return m_hotSpotList.Size(); }
    int GetNumPages() const { return m_pageList.Size(); }
    const kSpriteBankHeader& GetHeader() const { return m_hdr; }
    const kString& GetName() const { return m_name; }
    // The stream position at which the page data began.
    int GetPageDataIndex() const { return m_pageDataIndex; }

    // The loader of both constructors; throws kIFFException for a fault of the IFF framing
    // or a chunk shorter than its records, after checking what was read.
    void LoadIFF(kIFFContext* ctx);

private:
    void ReadChunks(kIFFContext* ctx);
    bool ReadHeader(kIFFReadContext& group);
    bool ReadNames(kIFFReadContext& group);
    bool ReadSprites(kIFFReadContext& group);
    bool ReadFrames(kIFFReadContext& group);
    bool ReadCells(kIFFReadContext& group);
    bool ReadHotSpots(kIFFReadContext& group);
    bool ReadPages(kIFFReadContext& group);
    bool ReadPageData(kIFFReadContext& group);
    bool ReadCollisionData(kIFFReadContext& group);
    // Empties the bank, with a logged line, when a record leads outside it.
    void DropInconsistentRecords();
    const char* FindInconsistency() const;
    bool IsName(unsigned int nameIndex) const;
    void Empty();

    kString m_name;
    kSpriteBankHeader m_hdr{};
    mutable kArray<char> m_nameTable;
    mutable kArray<kSpriteBankSprite> m_spriteList;
    mutable kArray<kSpriteBankFrame> m_frameList;
    mutable kArray<kSpriteBankCell> m_cellList;
    mutable kArray<kSpriteBankPage> m_pageList;
    mutable kArray<kSpriteBankHotSpot> m_hotSpotList;
    mutable kArray<char> m_pageData;
    mutable kArray<unsigned char> m_collisionData;
    int m_pageDataIndex = 0;
    bool m_bCounted = false; // counted in the live banks: constructed from a file that opened
};

} // namespace Kelvo_lib
