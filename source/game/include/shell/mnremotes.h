// MNRemotes: what the entry point does to the console's remotes besides reading them. It
// turns the pointer camera off on all four (at power-on and once the input system is
// selected; the input system's Init turns it on), and each frame drops every remote but
// player 1's, the only one that plays. Static; main thread only; nothing can fail.
#pragma once

namespace Kelvo_lib {

class MNRemotes {
public:
    static void TurnPointersOff();
    // A remote dropped stays down until the player connects it again.
    static void DisconnectAllButPlayerOne();
};

} // namespace Kelvo_lib
