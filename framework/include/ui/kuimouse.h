// kUIMouse: the remote's pointer as a screen position, normalised (0 to 1 across the
// display) and in whole pixels of the current render surface. Every query reads the
// input table afresh. Main thread only. Without a current input system the position
// stays where it was, and without a render surface the pixel position is 0; both are
// logged once when they begin.
#pragma once

namespace Kelvo_lib {

// Recomputes the position from the input table's pointer axes of device 0.
void UpdateMouse();

class kUIMouse {
public:
    static void Tick(float) {}

    static int GetPixelX();
    static int GetPixelY();
    static int GetIntX() { return GetPixelX(); }
    static int GetIntY() { return GetPixelY(); }
    // 0 to 1 across the display.
    static float GetX();
    // 0 to 1 down the display.
    static float GetY();
};

} // namespace Kelvo_lib
