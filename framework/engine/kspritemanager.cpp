// Sprite drawing: a frame's cells placed in screen pixels, clipped, flipped and rotated about
// the frame's anchor, each drawn from its page's cached texture. The cache is an intrusive
// list, most recently used first; a miss on a full cache recycles the tail.
#include <framework/kspritemanager.h>
#include <framework/lzssdecode.h>

#include <kelvo/platform/klog.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace Kelvo_lib {

namespace {

constexpr const char* kLogSystem = "kSpriteManager";
constexpr float kDegreesToRadians = 0.0174532924f;
// Cells beyond this fixed screen are skipped, whatever the surface's size.
constexpr float kScreenWidth = 640.0f;
constexpr float kScreenHeight = 496.0f;

struct PageCacheBase {
    const kSpriteBank* bank = nullptr; // not owned
    int pageIndex = 0;
    RcPtr<krTextureResourceWII> texture; // null when the page could not be made a texture
};

// An entry linked into one list: ListPrevLink is the pointer that points at it.
template <class T>
struct kList : T {
    kList* ListNext = nullptr;
    kList** ListPrevLink = nullptr;
};

using PageCacheEntry = kList<PageCacheBase>;

PageCacheEntry* s_pageCacheHead = nullptr;
unsigned int s_pageUploads = 0;

void Unlink(PageCacheEntry* entry) {
    *entry->ListPrevLink = entry->ListNext;
    if (entry->ListNext != nullptr) {
        entry->ListNext->ListPrevLink = entry->ListPrevLink;
    }
    entry->ListNext = nullptr;
    entry->ListPrevLink = nullptr;
}

void PushFront(PageCacheEntry* entry) {
    entry->ListNext = s_pageCacheHead;
    if (s_pageCacheHead != nullptr) {
        s_pageCacheHead->ListPrevLink = &entry->ListNext;
    }
    s_pageCacheHead = entry;
    entry->ListPrevLink = &s_pageCacheHead;
}

// Whether the texture can take the page's data as it is: same size and GX format (all
// 32-bit image types share one).
bool Fits(const krTextureResourceWII* texture, const kSpriteBankPage& page) {
    return texture != nullptr && texture->Width() == page.width &&
           texture->Height() == page.height &&
           static_cast<s32>(texture->GXFormat()) ==
               krWiiTextureFormat(static_cast<kIMAGE_TYPE>(page.type));
}

// (Re)creates the entry's texture when it does not fit the page and expands the page's
// stream, already in GX tiles, straight into it.
void UploadTexture(PageCacheEntry* item, int pageIndex) {
    const kSpriteBankPage& page = *item->bank->GetPage(pageIndex);
    if (!Fits(item->texture.Get(), page)) {
        item->texture = RcPtr<krTextureResourceWII>(krTextureResourceWII::CreateTexture(
            page.width, page.height, 1, static_cast<kIMAGE_TYPE>(page.type)));
    }
    krTextureResourceWII* texture = item->texture.Get();
    if (texture == nullptr) {
        kLogSys(kLogSystem, "Out of memory for texture in %s, %dx%d\n",
                item->bank->GetName().CStr(), static_cast<int>(page.width),
                static_cast<int>(page.height));
        return;
    }
    krTextureResourceLevel level{};
    texture->GetMipMapLevel(0, level);
    LZSSDecode(texture->data, level.dataSize + level.tableSize, item->bank->GetPageData(pageIndex),
               page.size);
    texture->preswizzled = true;
    texture->Dirty();
    ++s_pageUploads;
}

// The page's texture, expanded on a miss; null when it could not be made.
RcPtr<krTextureResourceWII> CachePage(const kSpriteBank* bank, int pageIndex) {
    int count = 0;
    PageCacheEntry* tail = nullptr;
    for (PageCacheEntry* entry = s_pageCacheHead; entry != nullptr; entry = entry->ListNext) {
        if (entry->bank == bank && entry->pageIndex == pageIndex) {
            Unlink(entry);
            PushFront(entry);
            return entry->texture;
        }
        ++count;
        tail = entry;
    }
    PageCacheEntry* entry = tail;
    if (count < kSpriteManager::kMaxCachedPages) {
        entry = new PageCacheEntry();
    } else {
        Unlink(entry); // the least recently used; its texture is reused when it fits
    }
    entry->bank = bank;
    entry->pageIndex = pageIndex;
    PushFront(entry);
    UploadTexture(entry, pageIndex);
    return entry->texture;
}

// Where a frame lands: the anchor its cells are placed from, in screen pixels, and the
// screen pixels per frame pixel of its cells (enlarged by clipping).
struct FramePlacement {
    float ax;
    float ay;
    float cellScaleX;
    float cellScaleY;
    float sinA;
    float cosA;
    bool bClipping;
};

// A cell's rectangle relative to the anchor, in screen pixels, with its texture corners.
struct CellQuad {
    float left;
    float top;
    float right;
    float bottom;
    float u0; // at left
    float v0; // at top
    float u1; // at right
    float v1; // at bottom
};

bool IsClipping(const SpriteState& state) {
    return state.clipX0 > 0.0f || state.clipY0 > 0.0f || state.clipX1 < 1.0f || state.clipY1 < 1.0f;
}

// False when nothing of the frame can show (a clip window of no width or height).
bool PlaceFrame(const kSpriteBankFrame& frame, const SpriteState& state, FramePlacement& place) {
    place.bClipping = IsClipping(state);
    const float clipWidth = place.bClipping ? state.clipX1 - state.clipX0 : 1.0f;
    const float clipHeight = place.bClipping ? state.clipY1 - state.clipY0 : 1.0f;
    if (!(clipWidth > 0.0f && clipHeight > 0.0f)) {
        return false;
    }
    const float sx = state.w / static_cast<float>(frame.width);
    const float sy = state.h / static_cast<float>(frame.height);
    const bool bFlipX = (state.flipFlags & K_SPRITE_FLIP_X) != 0;
    const float offsetX = bFlipX && frame.totalw != 0
                              ? static_cast<float>(frame.totalw) - static_cast<float>(frame.width) -
                                    static_cast<float>(frame.offsetx)
                              : static_cast<float>(frame.offsetx);
    // A hair up and left of the box, so that edges on whole pixels stay on them.
    place.ax = state.x + offsetX * sx - 1.0f / kScreenWidth;
    place.ay = state.y + static_cast<float>(frame.offsety) * sy - 1.0f / kScreenHeight;
    place.cellScaleX = sx / clipWidth;
    place.cellScaleY = sy / clipHeight;
    if (place.bClipping) {
        place.ax -= state.clipX0 * state.w / clipWidth;
        place.ay -= state.clipY0 * state.h / clipHeight;
    }
    place.sinA = 0.0f;
    place.cosA = 1.0f;
    if (state.rotation != 0.0f) {
        place.sinA = std::sin(state.rotation * kDegreesToRadians);
        place.cosA = std::cos(state.rotation * kDegreesToRadians);
        // Turn about the pivot s_hackOffset away from the anchor instead of the anchor.
        const float ox = kSpriteManager::s_hackOffsetx;
        const float oy = kSpriteManager::s_hackOffsety;
        place.ax += ox * place.cosA - oy * place.sinA - ox;
        place.ay += ox * place.sinA + oy * place.cosA - oy;
    }
    return true;
}

bool IsOutsideClipWindow(const kSpriteBankCell& cell, const kSpriteBankFrame& frame,
                         const SpriteState& state) {
    const float width = static_cast<float>(frame.width);
    const float height = static_cast<float>(frame.height);
    return cell.offsetX + cell.w < state.clipX0 * width ||
           cell.offsetY + cell.h < state.clipY0 * height || cell.offsetX > state.clipX1 * width ||
           cell.offsetY > state.clipY1 * height;
}

CellQuad MakeCellQuad(const kSpriteBankCell& cell, const kSpriteBankFrame& frame,
                      const kSpriteBankPage& page, const SpriteState& state,
                      const FramePlacement& place) {
    const float pageW = static_cast<float>(page.width);
    const float pageH = static_cast<float>(page.height);
    const bool bFlipX = (state.flipFlags & K_SPRITE_FLIP_X) != 0;
    const float cellX = bFlipX ? static_cast<float>(frame.width) - cell.w - cell.offsetX
                               : static_cast<float>(cell.offsetX);
    CellQuad quad{};
    quad.left = (cellX + kSpriteManager::s_hackOffsetx2) * place.cellScaleX;
    quad.top = (cell.offsetY + kSpriteManager::s_hackOffsety2) * place.cellScaleY;
    quad.right = quad.left + cell.w * place.cellScaleX;
    quad.bottom = quad.top + cell.h * place.cellScaleY;
    quad.u0 = cell.x / pageW;
    quad.v0 = cell.y / pageH;
    quad.u1 = (cell.x + cell.w) / pageW;
    quad.v1 = (cell.y + cell.h) / pageH;
    if (bFlipX) {
        std::swap(quad.u0, quad.u1);
    }
    if ((state.flipFlags & K_SPRITE_FLIP_Y) != 0) {
        std::swap(quad.v0, quad.v1);
    }
    return quad;
}

// Moves one edge to limit, the texture coordinate at that edge towards the other one by the
// fraction of the span cut away.
void TrimEdge(float& edge, float& edgeUV, float otherEdge, float otherUV, float limit) {
    const float cut = (limit - edge) / (otherEdge - edge);
    edgeUV += (otherUV - edgeUV) * cut;
    edge = limit;
}

// Trims the quad to the state's box; false when nothing of it is left.
bool TrimToBox(CellQuad& quad, const SpriteState& state, const FramePlacement& place) {
    if (place.ax + quad.left < state.x) {
        TrimEdge(quad.left, quad.u0, quad.right, quad.u1, state.x - place.ax);
    }
    if (place.ax + quad.right > state.x + state.w) {
        TrimEdge(quad.right, quad.u1, quad.left, quad.u0, state.x + state.w - place.ax);
    }
    if (place.ay + quad.top < state.y) {
        TrimEdge(quad.top, quad.v0, quad.bottom, quad.v1, state.y - place.ay);
    }
    if (place.ay + quad.bottom > state.y + state.h) {
        TrimEdge(quad.bottom, quad.v1, quad.top, quad.v0, state.y + state.h - place.ay);
    }
    return quad.left < quad.right && quad.top < quad.bottom;
}

bool IsOffScreen(const CellQuad& quad, const FramePlacement& place) {
    return place.ax + quad.left > kScreenWidth || place.ay + quad.top > kScreenHeight ||
           place.ax + quad.right < 0.0f || place.ay + quad.bottom < 0.0f;
}

void DrawQuad(const RcPtr<krTextureResourceWII>& texture, const CellQuad& q,
              const FramePlacement& p, unsigned int colour) {
    const auto cornerX = [&](float x, float y) { return p.ax + x * p.cosA - y * p.sinA; };
    const auto cornerY = [&](float x, float y) { return p.ay + x * p.sinA + y * p.cosA; };
    krDrawHelp::DrawSubBitmap(
        KR_DRAW_PIXELS, texture, cornerX(q.left, q.top), cornerY(q.left, q.top),
        cornerX(q.right, q.top), cornerY(q.right, q.top), cornerX(q.left, q.bottom),
        cornerY(q.left, q.bottom), cornerX(q.right, q.bottom), cornerY(q.right, q.bottom), q.u0,
        q.v0, q.u1, q.v0, q.u0, q.v1, q.u1, q.v1, colour, colour, colour, colour);
}

void RenderCell(const kSpriteBank& bank, const kSpriteBankCell& cell, const kSpriteBankFrame& frame,
                const SpriteState& state, const FramePlacement& place) {
    const kSpriteBankPage& page = *bank.GetPage(cell.pageIndex);
    if (page.width == 0 || page.height == 0) {
        return;
    }
    if (place.bClipping && IsOutsideClipWindow(cell, frame, state)) {
        return;
    }
    CellQuad quad = MakeCellQuad(cell, frame, page, state, place);
    if (place.bClipping && !TrimToBox(quad, state, place)) {
        return;
    }
    if (IsOffScreen(quad, place)) {
        return;
    }
    const RcPtr<krTextureResourceWII> texture = CachePage(&bank, cell.pageIndex);
    if (texture.Get() != nullptr) {
        DrawQuad(texture, quad, place, state.colour);
    }
}

} // namespace

void kSpriteManager::Render(const kSpriteBank* bank, const kSpriteBankSprite* sprite,
                            const SpriteState* state) {
    if (bank == nullptr || sprite == nullptr || state == nullptr || sprite->numFrames == 0) {
        return;
    }
    const unsigned int frameNumber = std::min(state->frameIndex, sprite->numFrames - 1);
    const kSpriteBankFrame& frame =
        *bank->GetFrame(static_cast<int>(sprite->frameIndex + frameNumber));
    if (frame.numCells == 0 || frame.width == 0 || frame.height == 0) {
        return;
    }
    FramePlacement place{};
    if (!PlaceFrame(frame, *state, place)) {
        return;
    }
    for (unsigned int i = 0; i < frame.numCells; ++i) {
        RenderCell(*bank, *bank->GetCell(static_cast<int>(frame.cellIndex + i)), frame, *state,
                   place);
    }
}

void kSpriteManager::SetScreenFade(int alpha) {
    const auto a = static_cast<unsigned int>(std::clamp(alpha, 0, 255));
    krDrawHelp::DrawRect(0, 0.0f, 0.0f, 1.0f, 1.0f, a << 24);
}

void kSpriteManager::DrawRect2(unsigned int x, unsigned int y, unsigned int w, unsigned int h,
                               unsigned int colour) {
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, static_cast<float>(x), static_cast<float>(y),
                         static_cast<float>(w), static_cast<float>(h), colour);
}

int kSpriteManager::GetDisplayWidth() {
    const krSurface* surface = kRender::SurfaceGetCurrent();
    return surface != nullptr ? static_cast<int>(surface->GetDesc().xRes) : 0;
}

int kSpriteManager::GetDisplayHeight() {
    const krSurface* surface = kRender::SurfaceGetCurrent();
    return surface != nullptr ? static_cast<int>(surface->GetDesc().yRes) : 0;
}

int kSpriteManager::GetNumCachedPages() {
    int count = 0;
    for (const PageCacheEntry* entry = s_pageCacheHead; entry != nullptr; entry = entry->ListNext) {
        ++count;
    }
    return count;
}

bool kSpriteManager::IsPageCached(const kSpriteBank* bank, int pageIndex) {
    for (const PageCacheEntry* entry = s_pageCacheHead; entry != nullptr; entry = entry->ListNext) {
        if (entry->bank == bank && entry->pageIndex == pageIndex) {
            return true;
        }
    }
    return false;
}

unsigned int kSpriteManager::GetPageUploadCount() {
    return s_pageUploads;
}

void FreeCacheForBank(const kSpriteBank* bank) {
    PageCacheEntry* entry = s_pageCacheHead;
    while (entry != nullptr) {
        PageCacheEntry* next = entry->ListNext;
        if (entry->bank == bank) {
            Unlink(entry);
            delete entry;
        }
        entry = next;
    }
}

} // namespace Kelvo_lib
