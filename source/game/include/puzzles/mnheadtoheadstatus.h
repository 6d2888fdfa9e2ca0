// MNHeadToHeadStatus: what a puzzle widget shows and obeys of a Head to Head game, read from
// the active profile: the two players' lines (name and lives in a Sprint, name and time left
// in a Marathon) and the pause once a Marathon clock has run out, until the mode ends the
// puzzle. A value read afresh each frame; main thread only. Without a profile there is
// nothing to show and nothing pauses.
#pragma once

namespace Kelvo_lib {

class kFont;

class MNHeadToHeadStatus {
public:
    // Whether a puzzle whose players take turns waits for its Head to Head mode to end it.
    static bool IsPaused(bool bTakeTurns);

    // Reads the players; false without an active profile.
    bool Read();
    const char* GetLine(int player) const { return m_lines[player]; }
    // The player's line with its top-left corner at (x, y): the player to move in
    // moverColour, the one waiting in white, which reads on every puzzle screen's dark
    // background.
    void Print(kFont& font, int player, int x, int y, unsigned int moverColour) const;

private:
    char m_lines[2][96] = {};
    bool m_bPlayer1ToMove = true;
};

} // namespace Kelvo_lib
