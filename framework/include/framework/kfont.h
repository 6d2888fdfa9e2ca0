// kFont: draws and measures text with a bitmap font, one sprite of a bank whose 256 frames
// are glyphs in a 16 x 16 grid filled column by column (frame f shows the character
// 0x21 + f / 16 + 16 x (f % 16), a space beyond 0xFF). Text is Latin-1 bytes; '\n' breaks
// lines, there is no other layout. It shares its bank; glyphs draw through kSpriteManager.
// Main thread only. A font whose sprite is missing is empty: it measures 0 and draws
// nothing; characters without a glyph are skipped.
#pragma once

#include <framework/kspritebank.h>
#include <framework/kspritemanager.h>

#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

class kFont {
public:
    static constexpr int kNumChars = 256;

    // The character frame 0 to 255 of a glyph sheet shows.
    static char CharacterOfFrame(int frame);

    kFont(kSharedPtr<kSpriteBank> spriteBank, const char* id);
    kFont(const kFont&) = delete;
    kFont& operator=(const kFont&) = delete;
    ~kFont();

    void SetScale(float scale) { SetScaleXY(scale, scale); }
    void SetScaleXY(float scaleX, float scaleY);
    // While set, SetColour picks the shadow for the text colour by itself.
    static void SetAutoShadow(bool bAutoShadow);
    // Stores the colour; the shadow follows it when the automatic shadow is on and
    // bNoAutoShadow is false, and goes off otherwise.
    void SetColour(unsigned int colour, bool bNoAutoShadow);
    // Call after SetColour, which resets the shadow.
    void SetShadow(bool bShadow, unsigned int colour);
    // Pixels taken off every glyph and line advance; negative values count as 0.
    void SetPixelSpacingReduction(int x, int y);
    // 0 or less: proportional advances; more: every glyph advances this many frame pixels.
    void SetFixedCharWidth(int width);

    // Pixel width and height of one character, at the current scale; 0 without a glyph.
    int ChrWidth(char c) const;
    int ChrHeight(char c) const;
    // The widest line and the height of all lines, in pixels; a null text leaves them.
    void GetStringBound(int& outWidth, int& outHeight, const char* text) const;
    // The same as fractions of the display.
    void GetStringBound(float& outWidth, float& outHeight, const char* text) const;

    // Draws with the first glyph's frame box at pixel (x, y); each glyph turns about its own
    // top-left corner.
    void Print(int x, int y, const char* text, int flipFlags, float rotation) const;
    // The same at a position in display fractions.
    void Print(float x, float y, const char* text) const;
    // Draws each line centred across the display, the first one's top at pixel y.
    void PrintCenterX(int y, const char* inText) const;
    void PrintCenterX(float y, const char* text) const;

private:
    // What the pen does for one character.
    enum class Step { Glyph, Space, LineBreak, Skip };

    Step StepOf(unsigned char c) const;
    // The glyph's ink extent in frame pixels, 0 x 0 for a frame without cells.
    void InkSize(int frame, int& width, int& height) const;
    int SpaceAdvance() const;
    int LineAdvance() const;
    // The glyph's width at the current scale and its one-pixel gap, without reduction.
    int GlyphWidth(unsigned char c) const;
    int GlyphAdvance(unsigned char c) const;
    // The pen's start on the line at text: x, or the centred start when bCentre.
    int LineStart(int x, const char* text, bool bCentre) const;
    void Draw(int x, int y, const char* text, int flipFlags, float rotation, bool bCentre) const;
    void DrawGlyph(SpriteState& state, unsigned char c, int x, int y) const;

    kSharedPtr<kSpriteBank> m_spriteBank;
    kSpriteBankSprite* m_sprite = nullptr; // null: an empty font
    unsigned int m_colour = 0xFFFFFFFF;
    int m_maxWidth = 0; // the widest and the highest glyph in frame pixels
    int m_maxHeight = 0;
    char* m_charList = nullptr; // the character each frame shows
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    int m_asciiMap[kNumChars]; // character code to its lowest frame, -1 for none
    int m_reduceSpacingPixelsX = 0;
    int m_reduceSpacingPixelsY = 0;
    int m_fixedCharWidth = 0;
    bool m_bShadow = false;
    unsigned int m_shadowColour = 0;
};

} // namespace Kelvo_lib
