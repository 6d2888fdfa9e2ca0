// MNHelpUI: the screen "help_menu": paged help about the four puzzles, the five game modes,
// profiles and hints. Its lists lead to a puzzle's or a mode's three page selectors; each
// page shows as the selector's help line. Back at the top closes it, and closing over the
// screen "game" resumes the current sub-game's puzzle. Registered with and owned by the
// world's UI manager, which it does not own. Main thread only.
#pragma once

#include <tui/mnmenuscreen.h>

namespace Kelvo_lib {

class MNSubGameWorld;

class MNHelpUI : public MNMenuScreen {
public:
    enum eHelpMode { HELP_LISTS = 0, HELP_PUZZLE = 1, HELP_MODE = 2 };
    // The box of a page, below the longest list (fractions of the display).
    static constexpr float kPageTop = 0.60f;
    static constexpr float kPageWidth = 0.76f;

    explicit MNHelpUI(MNSubGameWorld* world) : m_world(world) {}

    void Init() override;
    void Activate(kUILayer* layer) override;

    int GetHelpMode() const { return m_helpMode; }

private:
    // Shows the pages of the puzzle or mode id under the node pagesId.
    void OpenTopic(int id, eHelpMode mode, int pagesId);

    void OnSelect(int id);
    void OnHighlight(int) {}
    void OnStateChange(int id, int state);
    void OnBack();

    MNSubGameWorld* m_world;
    int m_helpMode = HELP_LISTS;
    int m_helpId = -1;
};

} // namespace Kelvo_lib
