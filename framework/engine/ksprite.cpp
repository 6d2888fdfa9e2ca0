// Sprites: the animation clock's folding of time into frames, drawing through the sprite
// manager, and the hit test against a frame's rectangle and 1-bit collision mask.
#include <framework/ksprite.h>
#include <framework/kspritemanager.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace Kelvo_lib {

namespace {

// Shows a time just under a frame boundary as the next frame a quarter of a frame early.
constexpr float kFrameBias = 0.25f;
constexpr unsigned int kMaskBlock = 4; // a mask bit covers 4 x 4 pixels

float ToFraction(float pixels, int displaySize) {
    return displaySize > 0 ? pixels / static_cast<float>(displaySize) : 0.0f;
}

float DisplayWidth() {
    return static_cast<float>(kSpriteManager::GetDisplayWidth());
}

float DisplayHeight() {
    return static_cast<float>(kSpriteManager::GetDisplayHeight());
}

bool IsPingPong(PlayMode mode) {
    return mode == PLAY_LOOP_PINGPONG || mode == PLAY_ONCE_PINGPONG;
}

} // namespace

void PlayController::SetFrame(unsigned int frame) {
    if (m_numFrames == 0 || !(m_frameRate > 0.0f)) {
        SetTime(0.0f);
        return;
    }
    SetTime(static_cast<float>(frame % m_numFrames) / m_frameRate);
}

void PlayController::SetTime(float t) {
    m_currentTime = t;
    if (!(m_frameRate > 0.0f) || m_numFrames <= 1) {
        m_currentTime = 0.0f;
        m_currentFrame = 0;
        return;
    }
    if (!std::isfinite(t)) {
        kLogSys("kSprite", "SetTime: %f is not a time; showing the first frame\n",
                static_cast<double>(t));
        t = 0.0f;
    }
    const float length = static_cast<float>(m_numFrames - 1) / m_frameRate;
    const bool bOnceRules =
        m_bIsPlaying && (m_playMode == PLAY_ONCE || m_playMode == PLAY_ONCE_REVERSE);
    float time = t;
    const bool bShown = bOnceRules ? ApplyOnceRules(t, length, time) : Fold(t, length, time);
    if (!bShown) {
        Stop();
        return;
    }
    const bool bFinished = bOnceRules && !m_bIsPlaying;
    m_currentTime = time;
    const auto frame = static_cast<unsigned int>(std::floor(kFrameBias + time * m_frameRate));
    m_currentFrame = std::min(frame, m_numFrames - 1);
    if (bFinished) {
        SignalFinished();
    }
}

bool PlayController::Fold(float t, float length, float& time) {
    if (t < 0.0f) {
        const float folded = FoldLoops(-t, length);
        if (m_playMode == PLAY_ONCE_PINGPONG) {
            return false;
        }
        if (m_playMode == PLAY_LOOP_PINGPONG) {
            time = folded;
            m_playDirection = 1.0f;
        } else {
            time = length - folded; // a wrap backwards from the end
        }
    } else if (t > length) {
        const float folded = FoldLoops(t, length);
        if (IsPingPong(m_playMode)) {
            time = length - folded; // a bounce off the end
            m_playDirection = -1.0f;
        } else {
            time = folded;
        }
    }
    return true;
}

bool PlayController::ApplyOnceRules(float t, float length, float& time) {
    if (t < 0.0f) {
        return false;
    }
    if (t > length) {
        time = length;
        m_bIsPlaying = false;
    }
    return true;
}

// Takes away whole lengths while the time is beyond the length, in one step, so that a huge
// time cannot keep a loop busy.
float PlayController::FoldLoops(float time, float length) {
    if (!(time > length)) {
        return time;
    }
    const double loops = std::ceil(static_cast<double>(time) / length) - 1.0;
    const double folded = static_cast<double>(time) - loops * length;
    const double room = static_cast<double>(UINT_MAX - m_currentLoop);
    m_currentLoop = loops >= room ? UINT_MAX : m_currentLoop + static_cast<unsigned int>(loops);
    return static_cast<float>(std::clamp(folded, 0.0, static_cast<double>(length)));
}

void PlayController::Stop() {
    m_currentTime = 0.0f;
    if (m_bIsPlaying) {
        m_bIsPaused = false;
    }
    m_bIsPlaying = false;
    m_currentLoop = 0;
    m_currentFrame = 0;
}

kSprite::kSprite(kSharedPtr<kSpriteBank> bank, kSpriteBankSprite* sprite)
    : m_bank(bank), m_sprite(sprite), m_width(static_cast<float>(sprite->width)),
      m_height(static_cast<float>(sprite->height)) {
    m_numFrames = sprite->numFrames;
}

kSprite* kSprite::Create(kSharedPtr<kSpriteBank> bank, const char* id) {
    if (bank.Get() == nullptr) {
        return nullptr;
    }
    kSpriteBankSprite* sprite = bank->FindSprite(id);
    if (sprite == nullptr) {
        kLogFmt("Failed to find sprite '%s'\n", id != nullptr ? id : "");
        return nullptr;
    }
    return new kSprite(bank, sprite);
}

void kSprite::SetPosition(float x, float y) {
    SetX(x);
    SetY(y);
}

void kSprite::SetX(float x) {
    m_x = m_bNormal ? x * DisplayWidth() : x;
}

void kSprite::SetY(float y) {
    m_y = m_bNormal ? y * DisplayHeight() : y;
}

void kSprite::SetWidth(float width) {
    m_width = m_bNormal ? width * DisplayWidth() : width;
}

void kSprite::SetHeight(float height) {
    m_height = m_bNormal ? height * DisplayHeight() : height;
}

float kSprite::GetX() const {
    return m_bNormal ? ToFraction(m_x, kSpriteManager::GetDisplayWidth()) : m_x;
}

float kSprite::GetY() const {
    return m_bNormal ? ToFraction(m_y, kSpriteManager::GetDisplayHeight()) : m_y;
}

float kSprite::GetWidth() const {
    return m_bNormal ? ToFraction(m_width, kSpriteManager::GetDisplayWidth()) : m_width;
}

float kSprite::GetHeight() const {
    return m_bNormal ? ToFraction(m_height, kSpriteManager::GetDisplayHeight()) : m_height;
}

void kSprite::Render() {
    SpriteState state{};
    state.x = m_x - m_scaleX * m_hotspotX * m_width;
    state.y = m_y - m_scaleY * m_hotspotY * m_height;
    state.w = m_width * m_scaleX;
    state.h = m_height * m_scaleY;
    state.clipX0 = m_clipX0;
    state.clipY0 = m_clipY0;
    state.clipX1 = m_clipX1;
    state.clipY1 = m_clipY1;
    state.rotation = m_rotation;
    state.flipFlags = m_flipFlags;
    state.frameIndex = m_currentFrame;
    state.transparent = m_transparent ? 1 : 0;
    const unsigned int alpha =
        m_bAlpha ? static_cast<unsigned int>(std::clamp(m_alpha, 0, 255)) : 0xFF;
    state.colour = (m_colour & 0x00FFFFFF) | alpha << 24;

    const bool bPivot = m_rotationCenterX != 0.0f || m_rotationCenterY != 0.0f;
    if (bPivot) {
        kSpriteManager::s_hackOffsetx = -(m_width * m_rotationCenterX);
        kSpriteManager::s_hackOffsety = -(m_height * m_rotationCenterY);
    }
    kSpriteManager::Render(m_bank.Get(), m_sprite, &state);
    if (bPivot) {
        kSpriteManager::s_hackOffsetx = 0.0f;
        kSpriteManager::s_hackOffsety = 0.0f;
    }
}

bool kSprite::MouseHit(float x, float y, bool bIgnoreScale) const {
    if (m_bNormal) {
        x *= DisplayWidth();
        y *= DisplayHeight();
    }
    const float scaleX = bIgnoreScale ? 1.0f : m_scaleX;
    const float scaleY = bIgnoreScale ? 1.0f : m_scaleY;
    unsigned int frameIndex = 0;
    const kSpriteBankFrame* frame = CurrentFrame(frameIndex);
    const float width = m_width * scaleX;
    const float height = m_height * scaleY;
    if (frame == nullptr || width == 0.0f || height == 0.0f) {
        return false;
    }
    const float left = static_cast<float>(frame->offsetx) + m_x - scaleX * m_hotspotX * m_width;
    const float top = static_cast<float>(frame->offsety) + m_y - scaleY * m_hotspotY * m_height;
    const float u = (x - left) / width;
    const float v = (y - top) / height;
    if (!(u >= 0.0f && u < 1.0f && v >= 0.0f && v < 1.0f)) {
        return false;
    }
    if (frame->collisionIndex == K_SPRITEBANK_NO_INDEX) {
        return true;
    }
    return IsMaskHit(frameIndex, *frame, u, v);
}

const kSpriteBankFrame* kSprite::CurrentFrame(unsigned int& frameIndex) const {
    if (m_bank.Get() == nullptr || m_sprite == nullptr || m_sprite->numFrames == 0) {
        return nullptr;
    }
    frameIndex = m_sprite->frameIndex + std::min(m_currentFrame, m_sprite->numFrames - 1);
    return m_bank->GetFrame(static_cast<int>(frameIndex));
}

// The mask holds a bit per 4 x 4 block, rows of width / 4 bits padded to whole bytes, most
// significant bit first; pixels beyond the last whole block count as that block. A frame
// narrower or lower than one block has no mask bits and is never hit.
bool kSprite::IsMaskHit(unsigned int frameIndex, const kSpriteBankFrame& frame, float u,
                        float v) const {
    const unsigned int columns = frame.width / kMaskBlock;
    const unsigned int rows = frame.height / kMaskBlock;
    if (columns == 0 || rows == 0) {
        return false;
    }
    if ((m_flipFlags & K_SPRITE_FLIP_X) != 0) {
        u = 1.0f - u;
    }
    if ((m_flipFlags & K_SPRITE_FLIP_Y) != 0) {
        v = 1.0f - v;
    }
    const auto px = static_cast<unsigned int>(u * static_cast<float>(frame.width));
    const auto py = static_cast<unsigned int>(v * static_cast<float>(frame.height));
    const unsigned int column = std::min(px / kMaskBlock, columns - 1);
    const unsigned int row = std::min(py / kMaskBlock, rows - 1);
    const unsigned int rowBytes = (columns + 7) / 8;
    const unsigned char* mask = m_bank->GetFrameCollisionData(static_cast<int>(frameIndex));
    return ((mask[row * rowBytes + column / 8] >> (7 - column % 8)) & 1) != 0;
}

} // namespace Kelvo_lib
