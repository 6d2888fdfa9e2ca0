// The bank file: one "FORM" of type "KSPB" with its chunks in the order the loader looks
// for them; the framing big-endian, every record field little-endian through the
// engine's own record definitions.
#include "sprite_bank_writer.h"

#include <kelvo/io/kendian.h>

namespace datatool {
namespace {

using Kelvo_lib::kIFFMakeId;
namespace kRecord = Kelvo_lib::kSpriteBankRecord;
namespace kChunk = Kelvo_lib::kSpriteBankChunk;

constexpr unsigned int kOldHeaderVersion = 1;
// The old header lacks platform and flags, which follow the version.
constexpr std::size_t kOldHeaderSkipFrom = 4;
constexpr std::size_t kOldHeaderSkipped = 8;

void AppendBig32(std::vector<unsigned char>& out, unsigned int value) {
    const unsigned int raw = Kelvo_lib::kEndian::Big32(value);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&raw);
    out.insert(out.end(), bytes, bytes + sizeof(raw));
}

void AppendChunk(std::vector<unsigned char>& out, unsigned int id,
                 const std::vector<unsigned char>& payload) {
    AppendBig32(out, id);
    AppendBig32(out, static_cast<unsigned int>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    if (payload.size() % 2 != 0) {
        out.push_back(0);
    }
}

template <class Record>
std::vector<unsigned char> Encode(const Record& record) {
    std::vector<unsigned char> bytes(kRecord::FileSize<Record>());
    kRecord::Encode(record, bytes.data());
    return bytes;
}

template <class FileRecord, class Record, class Convert>
std::vector<unsigned char> EncodeAll(const std::vector<Record>& records, Convert convert) {
    std::vector<unsigned char> bytes;
    for (const Record& record : records) {
        const std::vector<unsigned char> one = Encode<FileRecord>(convert(record));
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}

template <class Record>
std::vector<unsigned char> EncodeAll(const std::vector<Record>& records) {
    return EncodeAll<Record>(records, [](const Record& record) { return record; });
}

std::vector<unsigned char> HeaderPayload(const Kelvo_lib::kSpriteBankHeader& header, bool bOld) {
    if (!bOld) {
        return Encode(header);
    }
    Kelvo_lib::kSpriteBankHeader old = header;
    old.version = kOldHeaderVersion;
    std::vector<unsigned char> bytes = Encode(old);
    bytes.erase(bytes.begin() + kOldHeaderSkipFrom,
                bytes.begin() + kOldHeaderSkipFrom + kOldHeaderSkipped);
    return bytes;
}

Kelvo_lib::kSpriteBankFrameV1 OldFrame(const Kelvo_lib::kSpriteBankFrame& frame) {
    return {frame.numCells, frame.cellIndex, frame.width,         frame.height,
            frame.offsetx,  frame.offsety,   frame.collisionIndex};
}

Kelvo_lib::kSpriteBankCellV1 WideCell(const Kelvo_lib::kSpriteBankCell& cell) {
    return {cell.pageIndex, cell.offsetX, cell.offsetY, cell.x, cell.y, cell.w, cell.h};
}

} // namespace

std::vector<unsigned char> WriteSpriteBank(const SpriteBankContent& bank,
                                           const SpriteBankLayout& layout) {
    std::vector<unsigned char> chunks;
    AppendChunk(chunks, kChunk::kHeader, HeaderPayload(bank.header, layout.bOldHeader));
    AppendChunk(chunks, kChunk::kNames, {bank.names.begin(), bank.names.end()});
    AppendChunk(chunks, kChunk::kSprites, EncodeAll(bank.sprites));
    if (layout.bOldFrames) {
        AppendChunk(chunks, kChunk::kFramesV1,
                    EncodeAll<Kelvo_lib::kSpriteBankFrameV1>(bank.frames, OldFrame));
    } else {
        AppendChunk(chunks, kChunk::kFrames, EncodeAll(bank.frames));
    }
    if (layout.bWideCells) {
        AppendChunk(chunks, kChunk::kCellsV1,
                    EncodeAll<Kelvo_lib::kSpriteBankCellV1>(bank.cells, WideCell));
    } else {
        AppendChunk(chunks, kChunk::kCells, EncodeAll(bank.cells));
    }
    AppendChunk(chunks, kChunk::kHotSpots, EncodeAll(bank.hotSpots));
    AppendChunk(chunks, kChunk::kPages, EncodeAll(bank.pages));
    AppendChunk(chunks, kChunk::kPageData, bank.pageData);
    AppendChunk(chunks, kChunk::kCollisionData, bank.collisionData);

    std::vector<unsigned char> form;
    AppendBig32(form, kChunk::kForm);
    form.insert(form.end(), chunks.begin(), chunks.end());
    std::vector<unsigned char> file;
    AppendChunk(file, kIFFMakeId("FORM"), form);
    return file;
}

} // namespace datatool
