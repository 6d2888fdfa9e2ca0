// MNPuzzleMode: what every game mode shares: its menu shown through a host screen, and one
// puzzle at a time played on a layer "game" in place of the menu layer, with the pause and
// help screens pushed above it, stop and save into a resume record, resuming from it, and
// the anagram on a solved puzzle's hidden word played inside the menu host. The mode owns
// its menu, host, background, puzzle screen and anagrams. Main thread only; a missing
// puzzle or an unknown type is logged and leaves the player on the menu.
#pragma once

#include <modes/mnmodemenuhost.h>
#include <puzzles/mnpuzzlerules.h>
#include <services/mnsubgame.h>
#include <tui/mnbackground.h>

namespace Kelvo_lib {

class MNAnagram;
class MNModeMenu;
class MNPuzzleUI;
class Puzzle;
struct SaveGameActivePuzzle;

class MNPuzzleMode : public MNSubGame {
public:
    // The one place a puzzle screen is made by kind: null (logged) for an unknown flag.
    static MNPuzzleUI* CreatePuzzleScreen(int typeFlag);
    // The background look of an ePuzzleTypeFlag, the menus' look for any other.
    static eBackgroundLook BackgroundMode(int typeFlag);
    // The row of a kind in the modes' score tables (sudoku, crossword, fitword, wordsearch),
    // -1 for any other flag.
    static int ScoreTableIndex(int typeFlag);
    // The kind's name in log lines ("sudoku"), "unknown" for any other flag.
    static const char* KindName(int typeFlag);
    // The rules a game mode (eGameMode) plays a puzzle of typeFlag at its difficulty by. A
    // difficulty past pro gives no hints (logged); an unknown mode or kind gives plain rules
    // without hints.
    static MNPuzzleRules RulesOf(int gameMode, int typeFlag, ePuzzleDifficulty difficulty);
    // A random bank id of an ePuzzleTypeFlag and difficulty in the game's language, drawn with
    // the game's generator and marked in the active profile's played puzzles; -1 when the bank
    // has none.
    static int DrawPuzzleId(int typeFlag, ePuzzleDifficulty difficulty);
    // That puzzle, loaded from the bank; null (logged) when none can be drawn or loaded.
    static Puzzle* DrawPuzzle(int typeFlag, ePuzzleDifficulty difficulty);

    ~MNPuzzleMode() override;

    // Deletes the host's widget and host, the puzzle screen and anagrams, the menu and the
    // background.
    void Deinit() override;
    // Pops the two layers of Activate or of play.
    void Deactivate() override;
    void Tick(float delta) override;
    kUI* GetScreen() override { return nullptr; }
    void AbandonPuzzle() override { DoGameOver(GAME_OVER_ABANDONED); }
    void ResetPuzzle() override;
    void ResumePuzzle() override;

    MNPuzzleUI* GetPuzzleScreen() const { return m_gameUI; }
    kUIWidget* GetWidgetGame() const { return m_game; }
    MNAnagram* GetWaitingAnagram() const { return m_spellout; }
    bool IsAnagramRunning() const { return m_bAnagram; }
    int GetCurrentPuzzleType() const { return m_currentPuzzleType; }
    MNBackgroundUI* GetBackgroundScreen() const { return m_bg; }

    // Game-over results.
    enum eGameOver {
        GAME_OVER_SOLVED = 0,
        GAME_OVER_FAILED = 1,
        GAME_OVER_ABANDONED = 2,
        GAME_OVER_LEAVE = 3,
    };

protected:
    // menuId and bgId are the names the host and the background are registered under.
    // bAnagrams: crosswords and fitwords hand their hidden word to an anagram.
    MNPuzzleMode(MNSubGameWorld* world, int gameMode, bool bAnagrams, const char* menuId,
                 const char* bgId);

    // Takes the menu and the host pair, connects the host's signals and the menu's help,
    // makes the background and registers both screens.
    void InitHost(MNModeMenu* menu, MNModeHostUI* host, kUIWidget* widget, kSignal1<float>& tick,
                  kSignal0<>& render);
    // Background 0 and the layers "bg" and "menu" with the mode's screens.
    void PushMenuLayers();
    // Pops the top layer and shows the menu on a new layer "menu".
    void ShowMenuLayer();
    void SetBackground(eBackgroundLook look);

    // Puts up a new screen for the bank's puzzle of typeFlag, set for the mode and started,
    // with the mode connected, and loads saved's state when given; in modes with anagrams the
    // hidden word goes to the screen and to a waiting anagram. False (logged, the layers as
    // they were) for a null puzzle, one of another kind, one the screen refuses, or a screen
    // the disc gave no art for.
    bool StartPuzzle(Puzzle* puzzle, int typeFlag, const SaveGameActivePuzzle* saved = nullptr);
    // Stores the running puzzle in record and saves with the override; marks the record
    // active only when the screen wrote its state.
    bool StorePuzzle(SaveGameActivePuzzle& record);
    // Stop and save: the running puzzle stored in record (when there is one and no anagram
    // runs), then the game over that leaves for the front end.
    void StopAndSave(SaveGameActivePuzzle* record);
    // Starts the stored puzzle, if any, and clears the record whatever it held, but for a
    // puzzle whose screen the disc gave no art for: that stays stored.
    void ResumeStoredPuzzle(SaveGameActivePuzzle& record);
    // The shared opening of a game over: the result the screen's state gives, the mode
    // disconnected from its game over, the menu back on top. result is kept for the anagram.
    int EndPuzzleScreen(int result);
    // After a solved crossword or fitword with a waiting anagram: plays it inside the host.
    bool HandOverToAnagram(int result);
    // Ends the anagram that ran: disconnected and deleted.
    void EndAnagram();
    // Disconnects the mode from the puzzle screen's game over, pause and help, the slots the
    // shared start connected.
    void DisconnectPuzzleScreen();

    // The mode's own handling of a game over.
    virtual void DoGameOver(int result) = 0;
    // Tick and draw the widget game if any, else the menu; a menu neither open nor in a
    // game sends the world back to the front end.
    virtual void TickUI(float delta);
    virtual void RenderUI();
    bool IsMenuOpen() const;
    bool IsMenuInGame() const;
    // Modes with a clock of their own stop it here, as the pause screen goes up.
    virtual void PauseClock() {}
    // How much help a pre-filled puzzle's open entries get (MNPuzzleRules::prefillLevel).
    virtual int PrefillLevel() const { return 0; }
    // The target time a puzzle of typeFlag is counted down to (MNPuzzleRules::targetTime).
    virtual float PuzzleTargetTime(int /*typeFlag*/) const { return MNPuzzleRules::kNoTarget; }
    // The mode's rules for the bank's puzzle of typeFlag.
    MNPuzzleRules RulesFor(const Puzzle& puzzle, int typeFlag) const;

    void OnGameOver() { DoGameOver(GAME_OVER_FAILED); }
    void OnGamePause();
    void OnHowToPlay();
    void OnHelp();

    kUILayer* TopLayer() const;
    // The puzzle screen when it is of the kind being played, else null (none, or an anagram).
    MNPuzzleUI* RunningScreen() const;

    const int m_gameMode;
    const bool m_bAnagrams;
    const char* const m_menuId;
    const char* const m_bgId;
    MNModeMenu* m_menu = nullptr;
    MNModeHostUI* m_host = nullptr;
    kUIWidget* m_hostWidget = nullptr;
    MNBackgroundUI* m_bg = nullptr;
    MNPuzzleUI* m_gameUI = nullptr;
    kUILayer* m_gameLayer = nullptr;
    kUILayer* m_menuLayer = nullptr;
    int m_currentPuzzleType = 0;
    kUIWidget* m_game = nullptr;
    MNAnagram* m_spellout = nullptr;
    bool m_bAnagram = false;

private:
    void PrepareAnagram(Puzzle* puzzle);
    void ReleaseWaitingAnagram();
    void PushHelp(kUILayer* layer);

    // The last start was refused for want of the screen's art.
    bool m_bScreenUndrawable = false;
};

} // namespace Kelvo_lib
