#include <frontend/mnhelpui.h>

#include <services/mnsubgame.h>
#include <services/mnsubgameworld.h>
#include <tui/wiisudokuhelphack.h>

#include <kelvo/platform/klog.h>

#include <strings.h>

namespace Kelvo_lib {

namespace {

struct PageList {
    int count;
    int texts[9];
};

// A puzzle's (rules, how to play, hints) or a mode's (about, how to play, scoring) pages.
struct Topic {
    int id;       // the list entry's node id
    int scriptId; // the title of its pages
    PageList pages[3];
};

constexpr Topic s_topics[] = {
    {54, 54, {{3, {148, 187, 188}}, {3, {152, 153, 154}}, {1, {162}}}},
    {55, 56, {{4, {166, 167, 187, 188}}, {4, {172, 173, 174, 175}}, {3, {184, 185, 186}}}},
    {56, 58, {{2, {189, 190}}, {3, {194, 195, 196}}, {3, {203, 204, 205}}}},
    {57,
     60,
     {{3, {206, 207, 208}}, {8, {218, 219, 220, 221, 223, 224, 225, 226}}, {3, {238, 239, 240}}}},
    {59, 44, {{1, {241}}, {4, {242, 243, 244, 245}}, {4, {246, 247, 248, 249}}}},
    {60, 46, {{1, {250}}, {4, {251, 252, 253, 254}}, {5, {255, 256, 257, 258, 259}}}},
    {61, 48, {{1, {260}}, {1, {261}}, {1, {262}}}},
    {62, 50, {{1, {263}}, {4, {264, 265, 266, 267}}, {1, {268}}}},
    {63, 52, {{1, {269}}, {9, {270, 271, 272, 273, 274, 275, 276, 277, 278}}, {2, {279, 280}}}},
};

constexpr PageList s_profilePages = {3, {281, 282, 283}};
constexpr PageList s_hintPages = {3, {284, 285, 286}};

const Topic* FindTopic(int id) {
    for (const Topic& topic : s_topics) {
        if (topic.id == id) {
            return &topic;
        }
    }
    return nullptr;
}

int PageText(const PageList& pages, int state) {
    if (state < 0 || state >= pages.count) {
        kLogFmt("MNHelpUI: no page %d of %d\n", state, pages.count);
        return -1;
    }
    return pages.texts[state];
}

void SetPages(kMenuNode* node, const PageList& pages) {
    if (node != nullptr) {
        node->m_numStates = pages.count;
        node->m_currentState = 0;
    }
}

} // namespace

void MNHelpUI::Init() {
    MNMenuScreen::Init();
    m_menuWidget->SetAllowBackAtRoot(true);
    // The pages are the help lines of the page selectors: shown in a larger box, and
    // without a help button (help has no help of its own).
    m_menuWidget->SetShowHelpButton(false);
    m_menuWidget->SetHelpArea(kPageTop, kPageWidth);
    m_menuWidget->SignalSelect.Connect(this, &MNHelpUI::OnSelect);
    m_menuWidget->SignalHighlight.Connect(this, &MNHelpUI::OnHighlight);
    m_menuWidget->SignalBack.Connect(this, &MNHelpUI::OnBack);
    m_menuWidget->SignalStateChange.Connect(this, &MNHelpUI::OnStateChange);
    SetPages(FindNode(MENU_HINT_PAGES), s_hintPages);
    SetPages(FindNode(MENU_PROFILE_PAGES), s_profilePages);
}

void MNHelpUI::Activate(kUILayer* layer) {
    m_layer = layer;
    ShowNode(MENU_HELP);
    m_helpMode = HELP_LISTS;
    m_helpId = -1;
    m_menuWidget->SetSudokuMode(GetWiiSudokuHelpHack());
}

void MNHelpUI::OnSelect(int id) {
    if (id >= MENU_HELP_TOURNAMENT && id <= MENU_HELP_HEADTOHEAD) {
        OpenTopic(id, HELP_MODE, MENU_MODE_PAGES);
    } else if (id >= MENU_HELP_CROSSWORD && id <= MENU_HELP_SUDOKU) {
        OpenTopic(id, HELP_PUZZLE, MENU_PUZZLE_PAGES);
    }
}

void MNHelpUI::OpenTopic(int id, eHelpMode mode, int pagesId) {
    m_helpMode = mode;
    m_helpId = id;
    if (const Topic* const topic = FindTopic(id)) {
        if (kMenuNode* const pages = FindNode(pagesId)) {
            pages->m_scriptId = topic->scriptId;
        }
        for (int i = 0; i < 3; ++i) {
            SetPages(FindNode(pagesId + 1 + i), topic->pages[i]);
        }
    }
    ShowNode(pagesId);
}

void MNHelpUI::OnStateChange(int id, int state) {
    const PageList* pages = nullptr;
    const Topic* const topic = FindTopic(m_helpId);
    if (id == MENU_HINT_PAGES) {
        pages = &s_hintPages;
    } else if (id == MENU_PROFILE_PAGES) {
        pages = &s_profilePages;
    } else if (topic != nullptr && m_helpMode == HELP_PUZZLE && id >= MENU_PUZZLE_RULES &&
               id <= MENU_PUZZLE_HINTS) {
        pages = &topic->pages[id - MENU_PUZZLE_RULES];
    } else if (topic != nullptr && m_helpMode == HELP_MODE && id >= MENU_MODE_ABOUT &&
               id <= MENU_MODE_SCORING) {
        pages = &topic->pages[id - MENU_MODE_ABOUT];
    }
    kMenuNode* const node = FindNode(id);
    if (pages != nullptr && node != nullptr) {
        node->m_helpId = PageText(*pages, state);
    }
}

void MNHelpUI::OnBack() {
    if (m_helpMode != HELP_LISTS) {
        const int list = m_helpMode == HELP_PUZZLE ? MENU_HELP_PUZZLES : MENU_HELP_MODES;
        m_helpMode = HELP_LISTS;
        m_helpId = -1;
        ShowNode(list);
        return;
    }
    kUILayer* const layer = m_layer;
    const int count = layer != nullptr ? layer->GetNumUIs() : 0;
    const kUI* const below = count >= 2 ? layer->GetUI(count - 2) : nullptr;
    const bool bOverGame = below != nullptr && strcasecmp(below->GetId(), "game") == 0;
    MNSubGame* const subGame = m_world != nullptr ? m_world->GetCurrentSubGame() : nullptr;
    if (bOverGame && subGame != nullptr) {
        subGame->ResumePuzzle();
    }
    Close();
}

} // namespace Kelvo_lib
