// Loads arbitrary bytes as a sprite bank from a memory stream and uses every record the
// bank hands out (names, frames, cells, hot spots, masks) and decodes every page, so that
// any index leading outside the bank shows under the sanitizers.
#include <framework/kspritebank.h>
#include <framework/lzssdecode.h>

#include <kelvo/io/kmemoryiostream.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Kelvo_lib::kSpriteBank;

// The largest page decoded: a 1,024 x 1,024 ARGB texture.
constexpr std::size_t kMaxPageBytes = 1024u * 1024u * 4u;

volatile std::size_t s_sum = 0;

std::size_t UseFrame(const kSpriteBank& bank, int index) {
    const Kelvo_lib::kSpriteBankFrame* frame = bank.GetFrame(index);
    std::size_t sum = frame->width;
    const unsigned char* mask = bank.GetFrameCollisionData(index);
    const unsigned long long maskBytes =
        Kelvo_lib::kSpriteBankMaskBytes(frame->width, frame->height);
    for (unsigned long long i = 0; mask != nullptr && i < maskBytes; ++i) {
        sum += mask[i];
    }
    for (unsigned int c = 0; c < frame->numCells; ++c) {
        const Kelvo_lib::kSpriteBankCell* cell =
            bank.GetCell(static_cast<int>(frame->cellIndex + c));
        sum += bank.GetPage(cell->pageIndex)->width + cell->w;
    }
    return sum;
}

std::size_t UseSprites(const kSpriteBank& bank) {
    std::size_t sum = 0;
    for (int s = 0; s < bank.GetNumSprites(); ++s) {
        const Kelvo_lib::kSpriteBankSprite* sprite = bank.GetSprite(s);
        sum += std::strlen(bank.GetRecordName(sprite->nameIndex));
        for (unsigned int f = 0; f < sprite->numFrames; ++f) {
            sum += UseFrame(bank, static_cast<int>(sprite->frameIndex + f));
        }
        for (unsigned int h = 0; h < sprite->numHotSpots; ++h) {
            const auto* hotSpot = bank.GetHotSpot(static_cast<int>(sprite->hotSpotIndex + h));
            sum += std::strlen(bank.GetRecordName(hotSpot->nameIndex));
        }
    }
    return sum;
}

std::size_t UsePages(const kSpriteBank& bank) {
    std::size_t sum = 0;
    for (int p = 0; p < bank.GetNumPages(); ++p) {
        const Kelvo_lib::kSpriteBankPage* page = bank.GetPage(p);
        const unsigned long long bytes = 4ull * page->width * page->height;
        std::vector<unsigned char> texture(bytes < kMaxPageBytes ? bytes : kMaxPageBytes);
        Kelvo_lib::LZSSDecode(texture.data(), static_cast<unsigned int>(texture.size()),
                              bank.GetPageData(p), page->size);
        sum += texture.empty() ? 0 : texture.back();
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    Kelvo_lib::kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      K_IO_ACCESS_READ);
    try {
        const kSpriteBank bank(&stream);
        s_sum = UseSprites(bank) + UsePages(bank);
    } catch (Kelvo_lib::kIFFException&) {
    }
    return 0;
}
