#include <modes/mnfastandfunmenu.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsound.h>
#include <services/mntextid.h>
#include <tui/splittime.h>

#include <framework/ktext.h>
#include <kelvo/platform/klog.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

constexpr int kButtonWidth = 256;
// Sentences beside a side panel wrap well inside the screen's part of the display.
constexpr float kLongTextWidth = 0.8f;
// A difficulty outside the three, in running text.
constexpr const char* kUnknownDifficulty = "unknown difficulty";

} // namespace

MNFastAndFunMenu::MNFastAndFunMenu(MNProfile* profile) : MNModeMenu(profile) {
    BuildScreens();
}

void MNFastAndFunMenu::SetProfile(MNProfile* profile) {
    // The best runs seen belong to the profile shown: another one's would announce unlocks
    // that profile made long ago.
    if (profile != m_profile) {
        ForgetSeenBestRuns();
    }
    m_profile = profile;
}

MNFastAndFunData* MNFastAndFunMenu::Data() const {
    return m_profile != nullptr ? m_profile->GetFastAndFunData() : nullptr;
}

int MNFastAndFunMenu::BestRun(ePuzzleDifficulty level) const {
    const MNFastAndFunData* const data = Data();
    const int* const best = data != nullptr ? data->BestRunOf(level) : nullptr;
    return best != nullptr ? *best : -1;
}

TUIButton* MNFastAndFunMenu::GetDifficultyButton(ePuzzleDifficulty level) const {
    TUIButton* const buttons[] = {m_difficultyBeginnerButton, m_difficultyIntermediateButton,
                                  m_difficultyProButton};
    return IsLevel(level) ? buttons[LevelOf(level)] : nullptr;
}

void MNFastAndFunMenu::RemoveScreens() {
    for (TUIScreen* screen :
         {m_difficultyScreen, m_difficultySubScreen, m_confirmScreen, m_confirmSubScreen,
          m_puzzleCompleteScreen, m_subPuzzleCompleteScreen, m_puzzleCompleteUnlockedScreen,
          m_gameOverScreen, m_gameOverUnlockedScreen, m_quitComfirmScreen}) {
        RemoveScreen(screen);
    }
}

TUIButton* MNFastAndFunMenu::AddChoice(TUIScreen* screen, const TUIString& text, float y) {
    return AddButton(screen, text, 0.5f, y, false, kButtonWidth);
}

void MNFastAndFunMenu::AddBack(TUIScreen* screen) {
    AddButton(screen, kText::Text(TEXT_BACK), -1.0f, -2.0f, true, -1);
}

void MNFastAndFunMenu::Build() {
    BuildDifficultyScreens();
    BuildCompleteScreens();
    BuildGameOverScreens();
    m_quitComfirmScreen = AddScreen();
    AddText(m_quitComfirmScreen, kText::Text(TEXT_END_RUN_QUESTION), 0.5f, 0.05f, true);
    AddText(m_quitComfirmScreen, kText::Text(TEXT_ARE_YOU_SURE), 0.5f, 0.2f);
    m_yes = AddChoice(m_quitComfirmScreen, kText::Text(TEXT_YES), 0.6f);
    m_no = AddChoice(m_quitComfirmScreen, kText::Text(TEXT_NO), 0.8f);

    m_difficulty = PUZZLE_DIFFICULTY_BEGINNER;
    m_currentPuzzle = 0;
    m_nextPuzzle = 1;
    m_nextDifficultyString = LevelName(PUZZLE_DIFFICULTY_INTERMEDIATE);
    m_currentDifficultyString = LevelName(PUZZLE_DIFFICULTY_BEGINNER);
    m_best = 0;
    m_state = STATE_CLOSED;
    ForgetSeenBestRuns();
}

void MNFastAndFunMenu::ForgetSeenBestRuns() {
    m_lastMostBeginnerPuzzlesComplete = -1;
    m_lastMostIntermediatePuzzlesComplete = -1;
    m_lastMostProPuzzlesComplete = -1;
}

void MNFastAndFunMenu::BuildDifficultyScreens() {
    m_difficultyScreen = AddScreen();
    AddText(m_difficultyScreen, kText::Text(TEXT_CHOOSE_LEVEL), 0.5f, 0.05f, true);
    m_infoText = AddText(m_difficultyScreen, kText::Text(TEXT_UNLOCK_RULE), 0.5f, 0.2f);
    m_infoText->m_fFixedWidth = kLongTextWidth;
    m_difficultyBeginnerButton =
        AddChoice(m_difficultyScreen, LevelChoice(PUZZLE_DIFFICULTY_BEGINNER), 0.5f);
    m_difficultyIntermediateButton =
        AddChoice(m_difficultyScreen, LevelChoice(PUZZLE_DIFFICULTY_INTERMEDIATE), 0.6f);
    m_difficultyProButton = AddChoice(m_difficultyScreen, LevelChoice(PUZZLE_DIFFICULTY_PRO), 0.7f);
    AddBack(m_difficultyScreen);

    m_difficultySubScreen = AddScreen();
    AddText(m_difficultySubScreen, kText::Text(TEXT_FAST_AND_FUN), 0.5f, 0.05f, true);
    AddText(m_difficultySubScreen, kText::Text(TEXT_FAST_AND_FUN_INTRODUCTION), 0.5f, 0.16f);

    const TUIString best(kText::Text(TEXT_BEST_RUN), &m_currentDifficultyString, &m_best);
    const TUIString need(kText::Text(TEXT_UNLOCK_NEXT), &m_nextDifficultyString);
    m_confirmScreen = AddScreen();
    AddText(m_confirmScreen, kText::Text(TEXT_READY_TO_RACE), 0.5f, 0.05f, true);
    m_bestScore = AddText(m_confirmScreen, best, 0.5f, 0.25f);
    m_needText = AddText(m_confirmScreen, need, 0.5f, 0.5f);
    m_needText->m_fFixedWidth = kLongTextWidth;
    m_confirmPlayButton = AddChoice(m_confirmScreen, kText::Text(TEXT_PLAY), 0.75f);
    AddBack(m_confirmScreen);

    m_confirmSubScreen = AddScreen();
    m_subBestScore = AddText(m_confirmSubScreen, best, 0.5f, 0.1f);
    m_subNeedText = AddText(m_confirmSubScreen, need, 0.5f, 0.57f);
}

void MNFastAndFunMenu::BuildCompleteScreens() {
    const TUIString nextPuzzle(kText::Text(TEXT_PLAY_PUZZLE_NUMBER), &m_nextPuzzle);
    m_puzzleCompleteScreen = AddScreen();
    AddText(m_puzzleCompleteScreen, kText::Text(TEXT_WELL_DONE), 0.5f, 0.05f, true);
    m_completeText =
        AddText(m_puzzleCompleteScreen,
                TUIString(kText::Text(TEXT_SOLVED_ONE_SO_FAR), &m_currentPuzzle), 0.5f, 0.2f);
    m_completePlayButton = AddChoice(m_puzzleCompleteScreen, nextPuzzle, 0.6f);
    m_endChallengeButton = AddChoice(m_puzzleCompleteScreen, kText::Text(TEXT_END_RUN), 0.8f);

    m_subPuzzleCompleteScreen = AddScreen();
    AddText(m_subPuzzleCompleteScreen, TUIString("%s", m_timeRemaining), 0.5f, 0.5f, true);

    m_puzzleCompleteUnlockedScreen = AddScreen();
    AddText(m_puzzleCompleteUnlockedScreen, kText::Text(TEXT_CONGRATULATIONS), 0.5f, 0.05f, true);
    AddText(m_puzzleCompleteUnlockedScreen,
            TUIString(kText::Text(TEXT_SOLVED_SO_FAR), &m_currentPuzzle), 0.5f, 0.2f);
    AddText(m_puzzleCompleteUnlockedScreen,
            TUIString(kText::Text(TEXT_UNLOCKED), &m_nextDifficultyString), 0.5f, 0.35f);
    m_completeUnlockedPlayButton = AddChoice(m_puzzleCompleteUnlockedScreen, nextPuzzle, 0.6f);
    m_endChallengeUnlockedButton =
        AddChoice(m_puzzleCompleteUnlockedScreen, kText::Text(TEXT_END_RUN), 0.8f);
}

void MNFastAndFunMenu::BuildGameOverScreens() {
    m_gameOverScreen = AddScreen();
    AddText(m_gameOverScreen, kText::Text(TEXT_GAME_OVER), 0.5f, 0.05f, true);
    m_gameOverText = AddText(
        m_gameOverScreen, TUIString(kText::Text(TEXT_SOLVED_IN_RUN), &m_currentPuzzle), 0.5f, 0.2f);
    m_gameOverContinueButton = AddChoice(m_gameOverScreen, kText::Text(TEXT_CONTINUE), 0.6f);

    m_gameOverUnlockedScreen = AddScreen();
    AddText(m_gameOverUnlockedScreen, kText::Text(TEXT_GAME_OVER), 0.5f, 0.05f, true);
    AddText(m_gameOverUnlockedScreen, kText::Text(TEXT_CONGRATULATIONS), 0.5f, 0.2f);
    AddText(m_gameOverUnlockedScreen, TUIString(kText::Text(TEXT_SOLVED_IN_RUN), &m_currentPuzzle),
            0.5f, 0.25f);
    AddText(m_gameOverUnlockedScreen,
            TUIString(kText::Text(TEXT_UNLOCKED), &m_nextDifficultyString), 0.5f, 0.4f);
    m_gameOverUnlockedContinueButton =
        AddChoice(m_gameOverUnlockedScreen, kText::Text(TEXT_CONTINUE), 0.6f);
}

void MNFastAndFunMenu::Open() {
    m_state = STATE_OPEN;
    ShowDifficultyChoice();
}

void MNFastAndFunMenu::ShowDifficultyChoice() {
    EnableDifficulties();
    SetActiveScreen(m_difficultyScreen);
    SetActiveSubScreen(m_difficultySubScreen);
}

void MNFastAndFunMenu::EnableDifficulties() {
    const bool bPro = BestRun(PUZZLE_DIFFICULTY_INTERMEDIATE) >= kUnlockRun;
    m_difficultyIntermediateButton->m_bEnabled = BestRun(PUZZLE_DIFFICULTY_BEGINNER) >= kUnlockRun;
    m_difficultyProButton->m_bEnabled = bPro;
    m_infoText->m_bVisible = !bPro;
}

void MNFastAndFunMenu::PostGameMenu(bool bSolved) {
    const int lastSeen[] = {m_lastMostBeginnerPuzzlesComplete,
                            m_lastMostIntermediatePuzzlesComplete, m_lastMostProPuzzlesComplete};
    // Pro opens nothing after it.
    const bool bUnlocked = m_difficulty < PUZZLE_DIFFICULTY_PRO &&
                           BestRun(m_difficulty) == kUnlockRun &&
                           lastSeen[LevelOf(m_difficulty)] == kUnlockRun - 1;
    m_lastMostBeginnerPuzzlesComplete = BestRun(PUZZLE_DIFFICULTY_BEGINNER);
    m_lastMostIntermediatePuzzlesComplete = BestRun(PUZZLE_DIFFICULTY_INTERMEDIATE);
    m_lastMostProPuzzlesComplete = BestRun(PUZZLE_DIFFICULTY_PRO);

    const int effect = bUnlocked ? SFX_RESULT_BEST : (bSolved ? SFX_RESULT_GOOD : SFX_RESULT_POOR);
    if (bSolved) {
        SetActiveScreen(bUnlocked ? m_puzzleCompleteUnlockedScreen : m_puzzleCompleteScreen);
        SetActiveSubScreen(m_subPuzzleCompleteScreen);
    } else {
        SetActiveScreen(bUnlocked ? m_gameOverUnlockedScreen : m_gameOverScreen);
        SetActiveSubScreen(nullptr);
    }
    kLogFmt("Post game: %s%s, effect %d\n", bSolved ? "solved" : "lost",
            bUnlocked ? ", unlocked" : "", effect);
    MNSound::PlaySoundEffect(effect);
    Update();
}

void MNFastAndFunMenu::Update() {
    UpdateBest();
    UpdateTimeRemaining();
    UpdateCounts();
    kLogFmt("Current puzzle %d\n", m_currentPuzzle);
}

void MNFastAndFunMenu::UpdateBest() {
    const bool bLast = m_difficulty == PUZZLE_DIFFICULTY_PRO;
    m_best = BestRun(m_difficulty);
    m_currentDifficultyString = LevelName(m_difficulty);
    m_nextDifficultyString = bLast ? kUnknownDifficulty : LevelName(NextLevel(m_difficulty));
    // Nothing lies beyond pro, and a level already opened needs nothing more.
    const bool bNeedShown = !bLast && m_best < kUnlockRun;
    m_needText->m_bVisible = bNeedShown;
    m_subNeedText->m_bVisible = bNeedShown;
    const int text = m_best == 1 ? TEXT_BEST_RUN_OF_ONE : TEXT_BEST_RUN;
    m_bestScore->m_text = TUIString(kText::Text(text), &m_currentDifficultyString, &m_best);
    m_subBestScore->m_text = TUIString(kText::Text(text), &m_currentDifficultyString, &m_best);
}

void MNFastAndFunMenu::UpdateTimeRemaining() {
    const MNProfile* const active = MNProfileManager::GetActiveProfile();
    const float left = active != nullptr ? active->m_hackTimer : 0.0f;
    int sec = 0;
    int min = 0;
    int hours = 0;
    // A run that ran out shows no time left rather than time below zero.
    SplitTime(left > 0.0f ? static_cast<int>(left) : 0, &sec, &min, &hours);
    // Cut to the buffer: a long label leaves no room for the time.
    std::snprintf(m_timeRemaining, sizeof(m_timeRemaining), "%s: %02d:%02d:%02d",
                  kText::Text(TEXT_TIME), hours, min, sec);
}

void MNFastAndFunMenu::UpdateCounts() {
    const MNFastAndFunData* const data = Data();
    const int current = data != nullptr ? data->m_currentPuzzle : -1;
    m_currentPuzzle = current + 1;
    m_nextPuzzle = current + 2;
    if (m_currentPuzzle > 1) {
        kLogFmt("No more singles\n");
    }
    // One puzzle reads in the singular, any other count in the plural, each time it changes.
    const bool bOne = m_currentPuzzle == 1;
    m_completeText->m_text = TUIString(
        kText::Text(bOne ? TEXT_SOLVED_ONE_SO_FAR : TEXT_SOLVED_SO_FAR), &m_currentPuzzle);
    m_gameOverText->m_text = TUIString(
        kText::Text(bOne ? TEXT_SOLVED_ONE_IN_RUN : TEXT_SOLVED_IN_RUN), &m_currentPuzzle);
}

void MNFastAndFunMenu::ButtonPressed(TUIScreen* screen, TUIButton* button) {
    MNSound::PlaySoundEffect(button->m_bBack ? SFX_BACK : SFX_PRESS);
    if (screen == m_difficultyScreen) {
        if (button->m_bBack) {
            m_state = STATE_CLOSED;
            return;
        }
        for (ePuzzleDifficulty level : PUZZLE_LEVEL_LIST) {
            if (button == GetDifficultyButton(level)) {
                m_difficulty = level;
                SetActiveScreen(m_confirmScreen);
                SetActiveSubScreen(m_confirmSubScreen);
                Update();
            }
        }
    } else if (screen == m_confirmScreen) {
        if (button->m_bBack) {
            SetActiveScreen(m_difficultyScreen);
            SetActiveSubScreen(m_difficultySubScreen);
        } else if (button == m_confirmPlayButton) {
            // In a game before the signals go: a run that cannot start opens the menu again.
            m_state = STATE_GAME;
            NewGameSignal();
            PlaySignal(m_difficulty);
        }
    } else if (screen == m_puzzleCompleteScreen || screen == m_puzzleCompleteUnlockedScreen) {
        if (button == m_completePlayButton || button == m_completeUnlockedPlayButton) {
            PlaySignal(m_difficulty);
        } else if (button == m_endChallengeButton || button == m_endChallengeUnlockedButton) {
            m_prevScreen = screen;
            SetActiveScreen(m_quitComfirmScreen);
            SetActiveSubScreen(nullptr);
        }
    } else if (screen == m_quitComfirmScreen) {
        if (button == m_yes) {
            ShowDifficultyChoice();
            m_state = STATE_CLOSED;
        } else if (button == m_no) {
            SetActiveScreen(m_prevScreen);
            SetActiveSubScreen(nullptr);
        }
    } else if (button == m_gameOverContinueButton || button == m_gameOverUnlockedContinueButton) {
        ShowDifficultyChoice();
    }
}

} // namespace Kelvo_lib
