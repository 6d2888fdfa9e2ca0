// The console's home-button menu: a menu over the game with a bar at the top holding its
// title and a close button, and two large buttons, "Reset" and "Wii Menu". The stand-in
// keeps the menu's state and layout; the game feeds it remote 1's pointer and A each
// frame, draws it from HBMGetButton and HBMGetHotButton, and acts on the choice it
// reports. Positions are fractions of the picture (0 at the left and top). Main thread.
#pragma once

#include <console/types.h>

enum HBMSelect : s32 {
    HBM_SELECT_NONE = -1,
    HBM_SELECT_CLOSE = 0,
    HBM_SELECT_RESET = 1,
    HBM_SELECT_MENU = 2,
};

constexpr s32 HBM_BUTTON_COUNT = 3;

struct HBMButton {
    f32 x;
    f32 y;
    f32 w;
    f32 h;
    const char* label;
};

// Opening an open menu, or closing a closed one, changes nothing.
void HBMOpen();
void HBMClose();
bool HBMIsOpen();
// One frame of the open menu: the pointer lights the button under it; an A press on a
// button chooses it and closes the menu. HBM_SELECT_NONE while nothing is chosen, and
// always while the menu is closed.
HBMSelect HBMCalc(f32 nx, f32 ny, bool bAPressed);
// The button lit by the pointer, or HBM_SELECT_NONE.
HBMSelect HBMGetHotButton();
// A button's place and label; a bad index is reported and gives the close button.
const HBMButton& HBMGetButton(s32 button);
// The bar at the top, where the title and the close button stand.
f32 HBMGetBarHeight();
const char* HBMGetTitle();
