// MNQuickBlastMenu: the Quick Blast menu. It starts the configured run, or sets up a new one
// (a warning that the history will be cleared, then the name on the on-screen keyboard, the
// level, the run's time and the puzzle types), shows a finished run's results and the graph
// of the last seven scores around the one chosen. It edits the profile's Quick Blast record
// directly and tells the mode through NewGameSignal and PlaySignal. Owned by the mode; main
// thread only. Without a profile it shows empty values and starts nothing.
#pragma once

#include <modes/mnmodemenu.h>
#include <services/mnsavedata.h>

#include <kelvo/containers/kstring.h>

namespace Kelvo_lib {

class MNKeyboard;
class MNProfile;
class kSprite;
struct MNQuickBlastData;

class MNQuickBlastMenu : public MNModeMenu {
public:
    static constexpr int kNumTimeLimits = 6;
    // The run lengths offered, in seconds.
    static constexpr int s_timeLimitList[kNumTimeLimits] = {300, 600, 900, 1200, 1500, 1800};
    static constexpr int kMaxName = MN_TYPED_NAME_LETTERS;
    // Puzzle type bits a run can play.
    static constexpr int kTypeMask = 0x0F;

    explicit MNQuickBlastMenu(MNProfile* profile);
    ~MNQuickBlastMenu() override;

    // The start screen; play is disabled until a run has been set up.
    void Open();
    // The results of the run that ended, beside its summary.
    void PostGameMenu();
    // Every shown value from the profile's record, and the history's lines.
    void Update();

    // The menu, then on the name screen the keyboard, whose typing goes into the profile.
    void Tick(float delta) override;
    // The summary's box, the keyboard or the graph, then the menu over them.
    void Render() override;
    void ButtonPressed(TUIScreen* screen, TUIButton* button) override;
    void RadioButtonPressed(TUIScreen* screen, TUIRadioButton* radio) override;
    void SpinnerPressed(TUIScreen* screen, TUISpinner* spinner) override;

    // A line of the line sprite from one point to the other, in pixels.
    void DrawLine(float x1, float y1, float x2, float y2, unsigned int colour);

    TUIScreen* GetStartScreen() const { return m_startScreen; }
    TUIScreen* GetWarningScreen() const { return m_warningScreen; }
    TUIScreen* GetConfigScreen() const { return m_configScreen; }
    TUIScreen* GetEditNameScreen() const { return m_editNameScreen; }
    TUIScreen* GetResultsScreen() const { return m_resultsScreen; }
    TUIScreen* GetStatsScreen() const { return m_statsScreen; }
    TUIButton* GetPlayButton() const { return m_startPlayButton; }
    TUIButton* GetDoneButton() const { return m_configDoneButton; }
    TUIButton* GetSaveNameButton() const { return m_saveNameButton; }
    TUISpinner* GetStatsSpinner() const { return m_statsSpinner; }
    const char* GetTimeString() const { return m_timeString; }
    const char* GetGameListString() const { return m_gameListString; }
    int GetScore() const { return m_score; }

    kSignal0<> NewGameSignal;
    kSignal0<> PlaySignal;

private:
    MNQuickBlastData* Data() const;
    void Build() override;
    void BuildKeyboard();
    void BuildStartScreen();
    void BuildWarningScreen();
    void BuildConfigScreen(const kArray<TUIString>& difficulties, const kArray<TUIString>& times);
    void BuildSummary();
    void BuildEditNameScreen();
    void BuildResultsScreen();
    void BuildStatsScreens();
    void RemoveScreens() override;
    // Each label of the summary's four rows with its value, at the rows' heights.
    void AddSummaryRows(TUIScreen* screen, const float* labelX, float valueX, const float* y,
                        bool bAnchored);

    void UpdateStrings(const MNQuickBlastData& data);
    void UpdateStats(const MNQuickBlastData& data);
    void ShowStart();
    void ConfirmNewRun();
    void StartNameEntry();
    void StartPressed(TUIButton* button);
    void WarningPressed(TUIButton* button);
    void ConfigPressed(TUIButton* button);
    void EditNamePressed(TUIButton* button);
    void TickKeyboard();

    void RenderBox();
    void RenderGraph();

    TUIScreen* m_startScreen = nullptr;
    TUIButton* m_startConfigButton = nullptr;
    TUIButton* m_startPlayButton = nullptr;
    TUIScreen* m_editNameScreen = nullptr;
    TUIButton* m_saveNameButton = nullptr;
    TUIScreen* m_warningScreen = nullptr;
    TUIButton* m_warningYesButton = nullptr;
    TUIButton* m_warningNoButton = nullptr;
    TUIScreen* m_configScreen = nullptr;
    TUISpinner* m_configDifficultySpinner = nullptr;
    TUISpinner* m_configTimeSpinner = nullptr;
    TUIButton* m_configDoneButton = nullptr;
    TUIButton* m_editNameButton = nullptr;
    TUIRadioButton* m_crosswordRadio = nullptr;
    TUIRadioButton* m_fitwordRadio = nullptr;
    TUIRadioButton* m_sudokuRadio = nullptr;
    TUIRadioButton* m_wordsearchRadio = nullptr;
    TUIScreen* m_configSubScreen = nullptr;
    TUIScreen* m_resultsScreen = nullptr;
    TUIButton* m_resultsContinueButton = nullptr;
    TUIScreen* m_statsScreen = nullptr;
    TUISpinner* m_statsSpinner = nullptr;
    TUIButton* m_statsDoneButton = nullptr;
    TUIScreen* m_statsSubScreen = nullptr;

    const char* m_difficultyString = "";
    char m_timeString[32] = {};
    char m_gameListString[128] = {};
    char m_nameString[32] = {};
    int m_score = 0;

    MNKeyboard* m_keyboard = nullptr;
    bool m_bKeyboardDebounce = false;

    kString m_savedName;
    kString m_savedNameBeforeBack;
    ePuzzleDifficulty m_savedDifficulty = PUZZLE_DIFFICULTY_BEGINNER;
    float m_savedTimeLimit = 0.0f;
    char m_savedPuzzles = 0;

    kSprite* m_graphSprite = nullptr;
    kSprite* m_graphLineSprite = nullptr;
    kSprite* m_dotSprite = nullptr;
    kSprite* m_boxSprite = nullptr;
};

} // namespace Kelvo_lib
