// MNPuzzleBottomButtons: the row of buttons along the bottom of a puzzle widget's play view:
// MENU, HINT and a kind's own third one (the fitword's CLEAR), each a "Generic_BG_Buttons"
// sprite with its caption in "wii_grid_font". A button acts when the A button goes down over
// it and is let go over it; in a row that shares the press (the wordsearch's), a press over
// any button and a release over another counts too. The kind says each frame how its hint and
// third buttons look: hidden (neither drawn nor read), greyed (drawn grey, never acts) or
// live; the menu is always live. The puzzle widget owns the row; main thread only.
#pragma once

#include <services/mninputedge.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

class MNPuzzleBottomButtons {
public:
    enum eButton { BUTTON_NONE = -1, BUTTON_MENU, BUTTON_HINT, BUTTON_THIRD, K_NUM_BUTTONS };
    enum eLook { LOOK_HIDDEN, LOOK_GREYED, LOOK_LIVE };
    // Where the row stands: title-safe above the picture's bottom edge, or on it.
    enum ePlace { PLACE_TITLE_SAFE, PLACE_ON_BOTTOM_EDGE };
    // Whether the release must be over the button the press was over, or over any button.
    enum ePress { PRESS_EACH, PRESS_SHARED };

    // How a kind's row stands and reads.
    struct Style {
        ePlace place;
        ePress press;
        int thirdCaption; // the third button's text id; -1 for a row without one
    };

    explicit MNPuzzleBottomButtons(const Style& style) : m_style(style) {}

    // Loads the art and places the row from x 80, the buttons 10 pixels apart; false when
    // any is missing.
    bool Load();
    // One frame of play: the button the A button was let go over and that acts, or
    // BUTTON_NONE.
    eButton Tick(const MNInputEdge& input, eLook hint, eLook third);
    // The buttons shown: a live one as drawn with a white caption, a greyed one tinted grey
    // with a grey caption.
    void Render(eLook hint, eLook third);

    // A button's sprite; null for a row's missing third button or missing art.
    const kSprite* GetSprite(eButton button) const { return m_sprites[button].Get(); }
    kFont& GetFont() { return *m_font.Get(); }

private:
    bool IsShown(eButton button, const eLook (&looks)[K_NUM_BUTTONS]) const;

    Style m_style;
    kSharedPtr<kSprite> m_sprites[K_NUM_BUTTONS];
    kSharedPtr<kFont> m_font;
    eButton m_pressed = BUTTON_NONE;
};

} // namespace Kelvo_lib
