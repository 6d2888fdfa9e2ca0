// The sprite bank dump, through kSpriteBank loaded from a memory stream.
#include "sprite_bank_dump.h"

#include <framework/kspritebank.h>
#include <kelvo/io/kmemoryiostream.h>

#include <cstring>
#include <fstream>
#include <memory>

namespace datatool {
namespace {

using Kelvo_lib::K_SPRITEBANK_NO_INDEX;
using Kelvo_lib::kSpriteBank;

void PrintIndex(FILE* out, unsigned int index) {
    if (index == K_SPRITEBANK_NO_INDEX) {
        std::fprintf(out, "none");
    } else {
        std::fprintf(out, "%u", index);
    }
}

void PrintHeader(const kSpriteBank& bank, FILE* out) {
    const Kelvo_lib::kSpriteBankHeader& h = bank.GetHeader();
    std::fprintf(out,
                 "header    version %u platform %u flags %u names %u bytes, %u sprites, %u "
                 "frames, %u cells, %u hot spots, %u pages, page data %u bytes, collision data "
                 "%u bytes\n",
                 h.version, h.platform, h.flags, h.nameTableSize, h.numSprites, h.numFrames,
                 h.numCells, h.numHotSpots, h.numPages, h.pageDataSize, h.collisionDataSize);
}

void PrintFrame(const kSpriteBank& bank, unsigned int index, FILE* out) {
    const Kelvo_lib::kSpriteBankFrame& f = *bank.GetFrame(static_cast<int>(index));
    std::fprintf(out, "  frame   %u: %ux%u at %u,%u of %ux%u, %u cells, mask ", index, f.width,
                 f.height, f.offsetx, f.offsety, f.totalw, f.totalh, f.numCells);
    PrintIndex(out, f.collisionIndex);
    std::fprintf(out, "\n");
    for (unsigned int i = 0; i < f.numCells; ++i) {
        const Kelvo_lib::kSpriteBankCell& c = *bank.GetCell(static_cast<int>(f.cellIndex + i));
        std::fprintf(out, "    cell  %u: %ux%u at %u,%u from page %u at %u,%u\n", f.cellIndex + i,
                     c.w, c.h, c.offsetX, c.offsetY, c.pageIndex, c.x, c.y);
    }
}

void PrintSprite(const kSpriteBank& bank, int index, FILE* out) {
    const Kelvo_lib::kSpriteBankSprite& s = *bank.GetSprite(index);
    std::fprintf(out, "sprite    %d: \"%s\" %ux%u, %u frames, %u hot spots\n", index,
                 bank.GetRecordName(s.nameIndex), s.width, s.height, s.numFrames, s.numHotSpots);
    for (unsigned int i = 0; i < s.numHotSpots; ++i) {
        const Kelvo_lib::kSpriteBankHotSpot& h =
            *bank.GetHotSpot(static_cast<int>(s.hotSpotIndex + i));
        std::fprintf(out, "  hotspot %u: \"%s\" at %u,%u\n", s.hotSpotIndex + i,
                     bank.GetRecordName(h.nameIndex), h.x, h.y);
    }
    for (unsigned int i = 0; i < s.numFrames; ++i) {
        PrintFrame(bank, s.frameIndex + i, out);
    }
}

void PrintPage(const kSpriteBank& bank, int index, FILE* out) {
    const Kelvo_lib::kSpriteBankPage& p = *bank.GetPage(index);
    std::fprintf(out, "page      %d: type %u %ux%u flags %u, %u bytes packed at %u\n", index,
                 p.type, p.width, p.height, p.flags, p.size, p.dataIndex);
}

} // namespace

bool IsSpriteBankFile(const std::string& path) {
    char header[12] = {};
    std::ifstream file(path, std::ios::binary);
    file.read(header, sizeof(header));
    return file && std::memcmp(header, "FORM", 4) == 0 && std::memcmp(header + 8, "KSPB", 4) == 0;
}

bool DumpSpriteBank(const std::vector<unsigned char>& bytes, FILE* out) {
    std::vector<unsigned char> copy = bytes;
    Kelvo_lib::kMemoryIOStream stream(copy.data(), static_cast<unsigned int>(copy.size()),
                                      K_IO_ACCESS_READ);
    std::unique_ptr<kSpriteBank> bank;
    try {
        bank = std::make_unique<kSpriteBank>(&stream);
    } catch (Kelvo_lib::kIFFException& exception) {
        std::fprintf(stderr, "datatool: not a sprite bank the game can read: %s\n",
                     exception.GetErrorString());
        return false;
    }
    PrintHeader(*bank, out);
    for (int i = 0; i < bank->GetNumSprites(); ++i) {
        PrintSprite(*bank, i, out);
    }
    for (int i = 0; i < bank->GetNumPages(); ++i) {
        PrintPage(*bank, i, out);
    }
    return true;
}

} // namespace datatool
