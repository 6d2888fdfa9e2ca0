// The banner record, kept in the byte order of the banner file.
#include <console/nand.h>
#include <console/os.h>

#include <cstring>

namespace {

void StoreBig32(u8* field, u32 value) {
    field[0] = static_cast<u8>(value >> 24);
    field[1] = static_cast<u8>(value >> 16);
    field[2] = static_cast<u8>(value >> 8);
    field[3] = static_cast<u8>(value);
}

u32 IconSpeedWord(const NANDBanner* banner) {
    return static_cast<u32>(banner->iconSpeed[0]) << 8 | banner->iconSpeed[1];
}

// Big-endian UTF-16, at most NAND_BANNER_COMMENT_CHARS characters; the rest stays zero.
void StoreLine(u8* line, const char16_t* text) {
    for (u32 i = 0; text != nullptr && i < NAND_BANNER_COMMENT_CHARS && text[i] != 0; ++i) {
        line[2 * i] = static_cast<u8>(text[i] >> 8);
        line[2 * i + 1] = static_cast<u8>(text[i]);
    }
}

} // namespace

void NANDInitBanner(NANDBanner* banner, u32 flag, const char16_t* title, const char16_t* comment) {
    if (banner == nullptr) {
        OSReport("NANDInitBanner: no banner\n");
        return;
    }
    std::memset(banner, 0, sizeof(*banner));
    StoreBig32(banner->signature, NAND_BANNER_SIGNATURE);
    StoreBig32(banner->flag, flag);
    StoreLine(banner->comment[0], title);
    StoreLine(banner->comment[1], comment);
}

void NANDSetIconSpeed(NANDBanner* banner, u32 frame, u32 speed) {
    if (banner == nullptr || frame >= NAND_BANNER_ICON_MAX || speed > NAND_BANNER_ICON_SPEED_MAX) {
        OSReport("NANDSetIconSpeed: frame %u speed %u refused\n", frame, speed);
        return;
    }
    const u32 shift = 2 * frame;
    const u32 word = (IconSpeedWord(banner) & ~(3u << shift)) | speed << shift;
    banner->iconSpeed[0] = static_cast<u8>(word >> 8);
    banner->iconSpeed[1] = static_cast<u8>(word);
}

u32 NANDGetIconSpeed(const NANDBanner* banner, u32 frame) {
    if (banner == nullptr || frame >= NAND_BANNER_ICON_MAX) {
        return 0;
    }
    return IconSpeedWord(banner) >> (2 * frame) & 3u;
}
