// MenuNodeData: the game's one table of menu entries, built in code: 74 kMenuNode entries
// whose position in the list is their id. Every menu-widget screen builds its own copy and
// points its widget at one root of it, so states changed in one copy stay there. The table
// owns its nodes and deletes them with itself. Main thread only; an id outside the table
// (negative or too large) is logged and gives null.
#pragma once

#include <framework/kmenu.h>

namespace Kelvo_lib {

// The ids of the entries that screens act on.
enum eMenuNode {
    MENU_LANGUAGES = 0,
    MENU_LANGUAGE_UK_ENGLISH = 3,
    MENU_LANGUAGE_DUTCH = 8,
    MENU_MAIN = 20,
    MENU_TOURNAMENT = 21,
    MENU_QUICKBLAST = 22,
    MENU_SIMPLYPUZZLE = 23,
    MENU_FASTANDFUN = 24,
    MENU_HEADTOHEAD = 25,
    MENU_OPTIONS = 26,
    MENU_EFFECTS_VOLUME = 29,
    MENU_MUSIC_VOLUME = 30,
    MENU_CHANGE_LANGUAGE = 31,
    MENU_CHANGE_LANGUAGE_YES = 32,
    MENU_CHANGE_LANGUAGE_NO = 33,
    MENU_PAUSE = 35,
    MENU_PAUSE_RESUME = 36,
    MENU_PAUSE_RESET = 37,
    MENU_PAUSE_QUIT = 38,
    MENU_PAUSE_ABANDON_MODE = 39,
    MENU_PAUSE_ABANDON_PUZZLE = 40,
    MENU_PAUSE_OPTIONS = 41,
    MENU_PAUSE_EFFECTS_VOLUME = 43,
    MENU_PAUSE_MUSIC_VOLUME = 44,
    MENU_CONFIRM = 45,
    MENU_CONFIRM_YES = 46,
    MENU_CONFIRM_NO = 47,
    MENU_HINTS = 48,
    MENU_HINT_FIRST = 49,
    MENU_HELP = 52,
    MENU_HELP_PUZZLES = 53,
    MENU_HELP_CROSSWORD = 54,
    MENU_HELP_SUDOKU = 57,
    MENU_HELP_MODES = 58,
    MENU_HELP_TOURNAMENT = 59,
    MENU_HELP_HEADTOHEAD = 63,
    MENU_PUZZLE_PAGES = 64,
    MENU_PUZZLE_RULES = 65,
    MENU_PUZZLE_HOW = 66,
    MENU_PUZZLE_HINTS = 67,
    MENU_MODE_PAGES = 68,
    MENU_MODE_ABOUT = 69,
    MENU_MODE_HOW = 70,
    MENU_MODE_SCORING = 71,
    MENU_PROFILE_PAGES = 72,
    MENU_HINT_PAGES = 73,
    MENU_NODE_COUNT = 74,
};

class MenuNodeData {
public:
    MenuNodeData();
    MenuNodeData(const MenuNodeData&) = delete;
    MenuNodeData& operator=(const MenuNodeData&) = delete;
    ~MenuNodeData();

    kMenuNode* GetNode(int id) const;
    int Size() const { return m_nodeList.Size(); }

    kArray<kMenuNode*> m_nodeList;
};

} // namespace Kelvo_lib
