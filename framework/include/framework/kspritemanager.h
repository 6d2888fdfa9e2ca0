// kSpriteManager: turns one frame of a bank sprite into textured quads of the 2-D batch, and
// owns the textures of sprite-bank pages: a page is expanded from its LZSS stream the first
// time a cell on it is drawn and kept in a most-recently-used cache of at most 101 pages,
// dropped when its bank goes (FreeCacheForBank). Static service, main thread (render phase).
// Null arguments, empty frames and empty clip windows draw nothing; a page whose texture
// cannot be made is logged once and its cells are skipped.
#pragma once

#include <framework/kspritebank.h>

namespace Kelvo_lib {

enum : unsigned int {
    K_SPRITE_FLIP_X = 1, // mirrored horizontally
    K_SPRITE_FLIP_Y = 2, // mirrored vertically
};

// One draw request for a frame of a bank sprite, filled by sprites and fonts.
struct SpriteState {
    float x; // top-left corner of the frame's box on the screen, in pixels
    float y;
    float w; // the box's size in pixels: the frame is stretched to it
    float h;
    float clipX0; // the visible part, as fractions of the frame's width and height
    float clipY0;
    float clipX1;
    float clipY1;
    float rotation; // degrees
    unsigned int flipFlags;
    unsigned int frameIndex;  // counted from the sprite's first frame
    unsigned int colour;      // 0xAARRGGBB, for every corner
    unsigned int transparent; // carried for the caller
};

class kSpriteManager {
public:
    static constexpr int kMaxCachedPages = 101;

    // Draws one frame; a frame index beyond the sprite's frames draws its last frame.
    static void Render(const kSpriteBank* bank, const kSpriteBankSprite* sprite,
                       const SpriteState* state);
    // A black rectangle over the whole screen with that alpha (0 to 255).
    static void SetScreenFade(int alpha);
    // A filled rectangle in pixels.
    static void DrawRect2(unsigned int x, unsigned int y, unsigned int w, unsigned int h,
                          unsigned int colour);

    // The current render surface's size in pixels; 0 without one.
    static int GetDisplayWidth();
    static int GetDisplayHeight();
    static int GetDisplayIndex() { return 0; }
    static int GetNumDisplays() { return 1; }
    static float GetHackScaleNTSCValue() { return 1.0f; }

    // The page cache, for inspection: entries held, whether a page is among them (the bank
    // is compared, never read) and pages expanded into textures since the program started.
    static int GetNumCachedPages();
    static bool IsPageCached(const kSpriteBank* bank, int pageIndex);
    static unsigned int GetPageUploadCount();

    // The point a rotated frame turns about, in screen pixels from its anchor (negated);
    // owners set it around a single draw and put it back to 0.
    static inline float s_hackOffsetx = 0.0f;
    static inline float s_hackOffsety = 0.0f;
    // Extra offset of every cell inside its frame, in frame pixels, before rotation; set
    // around a single draw likewise.
    static inline float s_hackOffsetx2 = 0.0f;
    static inline float s_hackOffsety2 = 0.0f;
};

// Removes every cached page of the bank and releases its texture; the bank's destructor
// calls it, so no cached texture outlives its bank.
void FreeCacheForBank(const kSpriteBank* bank);

} // namespace Kelvo_lib
