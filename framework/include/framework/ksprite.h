// kSprite: one drawable instance of a named sprite of a bank (position, size, colour, alpha,
// scale, clip, rotation, flips, current frame), drawn through kSpriteManager; it shares its
// bank. Its base PlayController maps a time in seconds to a frame; nothing advances it by
// itself. Main thread only. Create returns null for an empty bank or a missing name; a
// sprite without frames shows frame 0, draws nothing and is never hit.
#pragma once

#include <framework/kspritebank.h>

#include <kelvo/containers/ksharedptr.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

enum PlayMode {
    PLAY_LOOP = 0,
    PLAY_LOOP_REVERSE = 1,
    PLAY_LOOP_PINGPONG = 2,
    PLAY_ONCE = 3,
    PLAY_ONCE_REVERSE = 4,
    PLAY_ONCE_PINGPONG = 5,
};

// The animation clock. Owners set the frame rate, the mode and whether it plays directly.
class PlayController : public kHasSlots<> {
public:
    // Shows frame (modulo the frame count); frame 0 without frames or frame rate.
    void SetFrame(unsigned int frame);
    // Shows the frame at t seconds: folded into the animation's length, or, while a once
    // mode plays, stopped at either end (SignalFinished after the last frame).
    void SetTime(float t);

    unsigned int m_numFrames = 0;
    float m_frameRate = 7.5f; // frames per second
    PlayMode m_playMode = PLAY_ONCE;
    float m_playDirection = 1.0f; // -1.0 after a ping-pong bounce at the end
    bool m_bIsPlaying = false;
    bool m_bIsPaused = false;
    float m_currentTime = 0.0f; // seconds from the first frame
    unsigned int m_currentFrame = 0;
    unsigned int m_currentLoop = 0; // whole lengths folded away
    kSignal0<> SignalFinished;

private:
    // Set the time shown for t: folded into [0, length] while not playing a once mode,
    // else held at the end. False when the clock stops at the start instead.
    bool Fold(float t, float length, float& time);
    bool ApplyOnceRules(float t, float length, float& time);
    // Whole lengths taken from a positive time beyond the length, counted as loops.
    float FoldLoops(float time, float length);
    void Stop();
};

class kSprite : public PlayController {
public:
    // A new sprite of the bank's sprite named id (ignoring case), owned by the caller; null
    // for an empty bank, or after a log line when the bank lacks the name.
    static kSprite* Create(kSharedPtr<kSpriteBank> bank, const char* id);

    void SetColour(unsigned int colour) { m_colour = colour; }
    void SetAlpha(int alpha) { m_alpha = alpha; }
    void SetRotation(float degrees) { m_rotation = degrees; }
    void SetTransparent(bool bTransparent) { m_transparent = bTransparent; }
    // Whether the setters and getters below take display fractions instead of pixels;
    // values stored earlier are not converted.
    void SetNormalCoordinates(bool bNormal) { m_bNormal = bNormal; }

    void SetPosition(float x, float y);
    void SetX(float x);
    void SetY(float y);
    void SetWidth(float width);
    void SetHeight(float height);
    float GetX() const;
    float GetY() const;
    float GetWidth() const;
    float GetHeight() const;

    void Render();
    // Whether the point lies on the current frame: inside its rectangle and, when the frame
    // has a collision mask, on a set block of it.
    bool MouseHit(float x, float y, bool bIgnoreScale) const;

    kSharedPtr<kSpriteBank> m_bank;
    kSpriteBankSprite* m_sprite = nullptr;
    unsigned int m_flipFlags = 0;       // K_SPRITE_FLIP_X, K_SPRITE_FLIP_Y
    unsigned int m_colour = 0xFFFFFFFF; // only the RGB part is used
    float m_x = 0.0f;                   // the hot spot, in pixels
    float m_y = 0.0f;
    float m_width = 0.0f; // drawn size in pixels before scaling
    float m_height = 0.0f;
    float m_hotspotX = 0.0f; // fractions of the size: 0, 0 top-left
    float m_hotspotY = 0.0f;
    int m_alpha = 255;
    bool m_bAlpha = true; // false draws opaque whatever m_alpha holds
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_clipX0 = 0.0f; // the visible part, as fractions of the size
    float m_clipY0 = 0.0f;
    float m_clipX1 = 1.0f;
    float m_clipY1 = 1.0f;
    float m_rotation = 0.0f; // degrees
    bool m_transparent = true;
    bool m_bNormal = false;
    float m_rotationCenterX = 0.0f; // fractions of the size from the frame's top-left corner
    float m_rotationCenterY = 0.0f;

private:
    kSprite(kSharedPtr<kSpriteBank> bank, kSpriteBankSprite* sprite);

    // The current frame's record, or null for a sprite without frames.
    const kSpriteBankFrame* CurrentFrame(unsigned int& frameIndex) const;
    bool IsMaskHit(unsigned int frameIndex, const kSpriteBankFrame& frame, float u, float v) const;
};

} // namespace Kelvo_lib
