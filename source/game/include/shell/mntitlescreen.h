// MNTitleScreen: the title screen shown after the splash sequence: the game's logo on the
// night-blue background, a pulsing prompt and the title music. An A press that begins on
// the screen closes it when released. Static service, main thread only; missing art
// draws nothing in its place.
#pragma once

namespace Kelvo_lib {

class MNTitleScreen {
public:
    // Seconds of one pulse of the prompt.
    static constexpr float K_PROMPT_PERIOD = 1.6f;

    // Takes the logo and prompt sprites from the bank "title"; the screen is open.
    static void Init();
    static void Deinit();
    // The first tick starts the title music; then watches the A button.
    static void Tick(float delta);
    static void Render();
    static bool IsClosed();
};

} // namespace Kelvo_lib
