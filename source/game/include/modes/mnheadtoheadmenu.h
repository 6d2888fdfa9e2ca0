// MNHeadToHeadMenu: the Head to Head menu: the choice of variant (Sprint or Marathon) with
// its details beside it, the two set-up screens (level, lives or time limit, puzzle types),
// and the screens between turns, at game over and with the results, whose names, lives,
// times and winner are read from the profile's MNHeadToHeadData each time they are drawn.
// It talks to the mode through three signals. Owned by the mode; it owns its screens and
// box sprite. Main thread only; an unknown screen number only refreshes the shown values.
#pragma once

#include <modes/mnmodemenu.h>

#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

class kSprite;
class MNProfile;

class MNHeadToHeadMenu : public MNModeMenu {
public:
    // The screens PostGameMenu shows, by number.
    enum eScreen {
        SCREEN_PLAYER1_CORRECT = 0,
        SCREEN_PLAYER2_CORRECT = 1,
        SCREEN_PLAYER1_SPRINT_ERROR = 2,
        SCREEN_PLAYER2_SPRINT_ERROR = 3,
        SCREEN_PLAYER1_MARATHON_ERROR = 4,
        SCREEN_PLAYER2_MARATHON_ERROR = 5,
        SCREEN_SPRINT_GAME_OVER = 6,
        SCREEN_MARATHON_GAME_OVER = 7,
        SCREEN_MODE_CHOICE = 8,
        NUM_POST_GAME_SCREENS = 8, // 0 to 7 have a screen of their own
    };
    static constexpr int kNumChoices = 5;
    static constexpr int kLivesList[kNumChoices] = {3, 4, 5, 6, 7};
    static constexpr int kTimeLimitList[kNumChoices] = {120, 240, 360, 480, 600}; // seconds

    // One of the two set-up screens and what it holds.
    struct Setup {
        TUIScreen* screen = nullptr;
        TUISpinner* spinner = nullptr; // lives or time limit
        TUISpinner* difficultySpinner = nullptr;
        TUIButton* doneButton = nullptr;
        TUIScreen* detailsScreen = nullptr;
    };

    explicit MNHeadToHeadMenu(MNProfile* profile);
    ~MNHeadToHeadMenu() override;

    // The variant choice, open.
    void Open();
    // The shown values from the profile's record, then screen menu (eScreen).
    void PostGameMenu(int menu);

    // The box behind the variant's texts on the variant choice, then the active screen.
    void Render() override;
    // On the variant choice: the room inside the box, below the details' top, that the
    // details of the variant under the pointer are wrapped and drawn into (pixels).
    kUIRect PopUpDetailsRoom();
    void ButtonPressed(TUIScreen* screen, TUIButton* button) override;
    void ButtonSelected(TUIScreen* screen, TUIButton* button) override;
    void RadioButtonPressed(TUIScreen* screen, TUIRadioButton* radio) override;

    // The screens and buttons, for callers that look at what shows.
    TUIScreen* GetPostGameScreen(int menu) const;
    TUIButton* GetContinueButton(int menu) const;
    TUIScreen* GetModeScreen() const { return m_modeScreen; }
    TUIButton* GetModeSprintButton() const { return m_modeSprintButton; }
    TUIButton* GetModeMarathonButton() const { return m_modeMarathonButton; }
    TUIScreen* GetModeDetailsScreen() const { return m_modeDetailsScreen; }
    TUIText* GetModeDetailsText() const { return m_modeDetailsText; }
    const Setup& GetSprintSetup() const { return m_sprint; }
    const Setup& GetMarathonSetup() const { return m_marathon; }
    TUIScreen* GetSprintResultsScreen() const { return m_sprintResultsScreen; }
    TUIScreen* GetMarathonResultsScreen() const { return m_marathonResultsScreen; }
    int GetState() const { return m_state; }

    kSignal3<int, int, ePuzzleDifficulty> NewSprintSignal;     // lives, puzzle-type mask, level
    kSignal3<float, int, ePuzzleDifficulty> NewMarathonSignal; // seconds, type mask, level
    kSignal0<> PlaySignal; // start, or go on after a turn's screen

private:
    void Build() override;
    void RemoveScreens() override;
    void BuildModeScreens();
    // A variant's name over its details, on the details beside the variant choice.
    void AddVariantDetails(int nameId, int detailsId, float y);
    void BuildSetup(Setup& setup, int titleId, int choiceId, const kArray<TUIString>& choices,
                    int detailsId);
    void BuildPostGameScreens();
    // A screen of texts (id, y) and a Continue button.
    TUIScreen* AddContinueScreen(int menu);
    void AddTurnScreen(int menu, const char** nextName);
    void AddSprintErrorScreen(int menu, const char** nextName);
    void AddMarathonErrorScreen(int menu, const char** name);
    TUIScreen* AddResultsScreen(int titleId, int* player1Value, int* player2Value);
    TUIButton* AddContinueButton(TUIScreen* screen);
    void AddBackButton(TUIScreen* screen);
    void ResetShownValues();

    void ShowModeChoice();
    void ShowSetup(const Setup& setup);
    const Setup* SetupOf(const TUIScreen* screen) const;
    int PostGameScreenOf(const TUIScreen* screen) const;
    void PostGamePressed(int menu);
    // Done on a set-up screen: the game starts with the ticked types, if any.
    void StartGame(const Setup& setup);
    static int TickedTypes(const TUIScreen* screen);
    kUIRect PopUpBox();
    void RenderBox();

    Setup m_sprint;
    Setup m_marathon;
    TUIScreen* m_postGameScreens[NUM_POST_GAME_SCREENS] = {};
    TUIButton* m_postGameContinueButtons[NUM_POST_GAME_SCREENS] = {};
    TUIScreen* m_sprintResultsScreen = nullptr;
    TUIScreen* m_marathonResultsScreen = nullptr;
    TUIScreen* m_modeScreen = nullptr;
    TUIButton* m_modeSprintButton = nullptr;
    TUIButton* m_modeMarathonButton = nullptr;
    TUIText* m_modeText = nullptr;
    TUIText* m_modeDetailsText = nullptr;
    TUIScreen* m_modeDetailsScreen = nullptr;
    const char* m_modeString = nullptr;
    const char* m_modeDetailsString = nullptr;
    const char* m_player1Name = nullptr;
    const char* m_player2Name = nullptr;
    const char* m_winnerName = nullptr;
    int m_player1Lives = 0;
    int m_player2Lives = 0;
    int m_player1Time = 0;
    int m_player2Time = 0;
    kSharedPtr<kSprite> m_boxSprite;
};

} // namespace Kelvo_lib
