// MNLanguageUI: the screen "language_menu", the list of the game's languages. The language
// is fixed to UK English: each time the screen is pushed it chooses UK English at once and
// moves on to the profile screen (or to the main menu once a profile is chosen). Uncovered
// again it stays and waits for a choice instead of moving on a second time. Registered
// with and owned by the world's UI manager. Main thread only.
#pragma once

#include <tui/mnmenuscreen.h>

namespace Kelvo_lib {

class MNLanguageUI : public MNMenuScreen {
public:
    void Init() override;
    void Activate(kUILayer* layer) override;

    // Whether the North-American language set applies: never in this game.
    static bool GetNOA();
    // The eLanguage a language entry stands for; UK English for any other id.
    static int LanguageOfNode(int id);

private:
    void OnSelect(int id);
    void OnHighlight(int id);

    // Where this screen stood when it last moved on, to tell a new push from an uncovering.
    kUILayer* m_movedOnLayer = nullptr;
    int m_movedOnDepth = -1;
};

} // namespace Kelvo_lib
