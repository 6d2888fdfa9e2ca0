#include <tui/mnhintui.h>

#include <services/mntextid.h>
#include <services/puzzletypes.h>
#include <tui/wiisudokuhelphack.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

// The help line of each hint kind, by puzzle type.
struct KindHelp {
    int puzzleType;
    int helpIds[MNHintUI::kNumKinds];
};

constexpr KindHelp s_kindHelp[] = {
    {PUZZLE_FLAG_SUDOKU,
     {TEXT_SUDOKU_SMALL_HINT_HELP, TEXT_SUDOKU_BIGGER_HINT_HELP, TEXT_SUDOKU_BIGGEST_HINT_HELP}},
    {PUZZLE_FLAG_FITWORD,
     {TEXT_FITWORD_SMALL_HINT_HELP, TEXT_FITWORD_BIGGER_HINT_HELP, TEXT_FITWORD_BIGGEST_HINT_HELP}},
    {PUZZLE_FLAG_WORDSEARCH,
     {TEXT_WORDSEARCH_SMALL_HINT_HELP, TEXT_WORDSEARCH_BIGGER_HINT_HELP,
      TEXT_WORDSEARCH_BIGGEST_HINT_HELP}},
};
constexpr int s_defaultKindHelp[MNHintUI::kNumKinds] = {TEXT_SMALL_HINT_HELP, TEXT_BIGGER_HINT_HELP,
                                                        TEXT_BIGGEST_HINT_HELP};

const int* KindHelpIds(int puzzleType) {
    for (const KindHelp& entry : s_kindHelp) {
        if (entry.puzzleType == puzzleType) {
            return entry.helpIds;
        }
    }
    kLogFmt("MNHintUI: no hint texts for puzzle type %d\n", puzzleType);
    return s_defaultKindHelp;
}

} // namespace

void MNHintUI::Init() {
    MNMenuScreen::Init();
    m_menuWidget->SetAllowBackAtRoot(true);
    m_menuWidget->SignalSelect.Connect(this, &MNHintUI::OnSelect);
    m_menuWidget->SignalBack.Connect(this, &MNHintUI::OnBack);
    m_menuWidget->SignalHelp.Connect(this, &MNHintUI::OnHelp);
}

void MNHintUI::SetPuzzleType(int puzzleType) {
    m_puzzleType = puzzleType;
    const int* const helpIds = KindHelpIds(puzzleType);
    for (int kind = 0; kind < kNumKinds; ++kind) {
        if (kMenuNode* const node = FindNode(MENU_HINT_FIRST + kind)) {
            node->m_helpId = helpIds[kind];
        }
    }
}

void MNHintUI::SetHintsLeft(const int* hintsLeft) {
    if (hintsLeft == nullptr) {
        kLogFmt("MNHintUI: no hint counts given\n");
    }
    for (int kind = 0; kind < kNumKinds; ++kind) {
        m_hintsLeft[kind] = hintsLeft != nullptr ? hintsLeft[kind] : 0;
    }
    ShowKinds();
}

int MNHintUI::GetHintsLeft(int kind) const {
    return kind >= 0 && kind < kNumKinds ? m_hintsLeft[kind] : 0;
}

void MNHintUI::ShowKinds() {
    kMenuNode* const root = FindNode(MENU_HINTS);
    int firstShown = -1;
    for (int kind = 0; kind < kNumKinds; ++kind) {
        if (kMenuNode* const node = FindNode(MENU_HINT_FIRST + kind)) {
            node->m_bHide = m_hintsLeft[kind] <= 0;
            if (!node->m_bHide && firstShown < 0) {
                firstShown = kind;
            }
        }
    }
    if (root != nullptr) {
        root->m_currentChild = firstShown >= 0 ? firstShown : 0;
    }
}

void MNHintUI::Activate(kUILayer* layer) {
    m_layer = layer;
    ShowNode(MENU_HINTS);
    ShowKinds();
}

void MNHintUI::Finish(int kind) {
    Close();
    PerformHintSignal(kind);
}

void MNHintUI::OnSelect(int id) {
    const int kind = id - MENU_HINT_FIRST;
    if (kind >= 0 && kind < kNumKinds && m_hintsLeft[kind] > 0) {
        Finish(kind);
    }
}

void MNHintUI::OnHelp() {
    // The help opened over a sudoku takes the sudoku's dark text; back to white after.
    WiiSudokuHelpHack(m_puzzleType == PUZZLE_FLAG_SUDOKU);
    PushScreen("help_menu");
    WiiSudokuHelpHack(false);
}

} // namespace Kelvo_lib
