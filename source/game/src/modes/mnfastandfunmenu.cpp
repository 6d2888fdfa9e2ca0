#include <modes/mnfastandfunmenu.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsound.h>
#include <tui/splittime.h>

#include <framework/ktext.h>
#include <kelvo/platform/klog.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

constexpr int kTextYes = 13;
constexpr int kTextNo = 14;
constexpr int kTextPlay = 19;
constexpr int kTextBack = 20;
constexpr int kTextContinue = 24;
constexpr int kTextCongratulations = 26;
constexpr int kTextGameOver = 27;
constexpr int kTextChooseLevel = 36;
constexpr int kTextFastAndFun = 50;
constexpr int kTextIntroduction = 263;
constexpr int kTextTime = 290;
constexpr int kTextWellDone = 380;
constexpr int kTextUnlockRule = 452;
constexpr int kTextReady = 453;
constexpr int kTextSolvedSoFar = 456;
constexpr int kTextSolvedOneSoFar = 457;
constexpr int kTextPlayPuzzle = 459;
constexpr int kTextSolvedInRun = 465;
constexpr int kTextSolvedOneInRun = 466;
constexpr int kTextUnlocked = 467;
constexpr int kTextUnlockNext = 468;
constexpr int kTextBestRun = 469;
constexpr int kTextBestRunOfOne = 470;
constexpr int kTextEndChallenge = 532;
constexpr int kTextEndChallengeQuestion = 533;
constexpr int kTextSure = 534;

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

int MNFastAndFunMenu::BestRun(int difficulty) const {
    const MNFastAndFunData* const data = Data();
    if (data == nullptr) {
        return -1;
    }
    switch (difficulty) {
    case 0:
        return data->m_mostBeginnerPuzzlesComplete;
    case 1:
        return data->m_mostIntermediatePuzzlesComplete;
    case 2:
        return data->m_mostProPuzzlesComplete;
    default:
        return -1;
    }
}

TUIButton* MNFastAndFunMenu::GetDifficultyButton(int difficulty) const {
    TUIButton* const buttons[] = {m_difficultyBeginnerButton, m_difficultyIntermediateButton,
                                  m_difficultyProButton};
    return difficulty >= 0 && difficulty < 3 ? buttons[difficulty] : nullptr;
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
    AddButton(screen, kText::Text(kTextBack), -1.0f, -2.0f, true, -1);
}

void MNFastAndFunMenu::Build() {
    BuildDifficultyScreens();
    BuildCompleteScreens();
    BuildGameOverScreens();
    m_quitComfirmScreen = AddScreen();
    AddText(m_quitComfirmScreen, kText::Text(kTextEndChallengeQuestion), 0.5f, 0.05f, true);
    AddText(m_quitComfirmScreen, kText::Text(kTextSure), 0.5f, 0.2f);
    m_yes = AddChoice(m_quitComfirmScreen, kText::Text(kTextYes), 0.6f);
    m_no = AddChoice(m_quitComfirmScreen, kText::Text(kTextNo), 0.8f);

    m_difficulty = 0;
    m_currentPuzzle = 0;
    m_nextPuzzle = 1;
    m_nextDifficultyString = kText::Text(kLevelNames[1]);
    m_currentDifficultyString = kText::Text(kLevelNames[0]);
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
    AddText(m_difficultyScreen, kText::Text(kTextChooseLevel), 0.5f, 0.05f, true);
    m_infoText = AddText(m_difficultyScreen, kText::Text(kTextUnlockRule), 0.5f, 0.2f);
    m_infoText->m_fFixedWidth = kLongTextWidth;
    m_difficultyBeginnerButton = AddChoice(m_difficultyScreen, kText::Text(kLevelChoices[0]), 0.5f);
    m_difficultyIntermediateButton =
        AddChoice(m_difficultyScreen, kText::Text(kLevelChoices[1]), 0.6f);
    m_difficultyProButton = AddChoice(m_difficultyScreen, kText::Text(kLevelChoices[2]), 0.7f);
    AddBack(m_difficultyScreen);

    m_difficultySubScreen = AddScreen();
    AddText(m_difficultySubScreen, kText::Text(kTextFastAndFun), 0.5f, 0.05f, true);
    AddText(m_difficultySubScreen, kText::Text(kTextIntroduction), 0.5f, 0.16f);

    const TUIString best(kText::Text(kTextBestRun), &m_currentDifficultyString, &m_best);
    const TUIString need(kText::Text(kTextUnlockNext), &m_nextDifficultyString);
    m_confirmScreen = AddScreen();
    AddText(m_confirmScreen, kText::Text(kTextReady), 0.5f, 0.05f, true);
    m_bestScore = AddText(m_confirmScreen, best, 0.5f, 0.25f);
    m_needText = AddText(m_confirmScreen, need, 0.5f, 0.5f);
    m_needText->m_fFixedWidth = kLongTextWidth;
    m_confirmPlayButton = AddChoice(m_confirmScreen, kText::Text(kTextPlay), 0.75f);
    AddBack(m_confirmScreen);

    m_confirmSubScreen = AddScreen();
    m_subBestScore = AddText(m_confirmSubScreen, best, 0.5f, 0.1f);
    m_subNeedText = AddText(m_confirmSubScreen, need, 0.5f, 0.57f);
}

void MNFastAndFunMenu::BuildCompleteScreens() {
    const TUIString nextPuzzle(kText::Text(kTextPlayPuzzle), &m_nextPuzzle);
    m_puzzleCompleteScreen = AddScreen();
    AddText(m_puzzleCompleteScreen, kText::Text(kTextWellDone), 0.5f, 0.05f, true);
    m_completeText =
        AddText(m_puzzleCompleteScreen,
                TUIString(kText::Text(kTextSolvedOneSoFar), &m_currentPuzzle), 0.5f, 0.2f);
    m_completePlayButton = AddChoice(m_puzzleCompleteScreen, nextPuzzle, 0.6f);
    m_endChallengeButton = AddChoice(m_puzzleCompleteScreen, kText::Text(kTextEndChallenge), 0.8f);

    m_subPuzzleCompleteScreen = AddScreen();
    AddText(m_subPuzzleCompleteScreen, TUIString("%s", m_timeRemaining), 0.5f, 0.5f, true);

    m_puzzleCompleteUnlockedScreen = AddScreen();
    AddText(m_puzzleCompleteUnlockedScreen, kText::Text(kTextCongratulations), 0.5f, 0.05f, true);
    AddText(m_puzzleCompleteUnlockedScreen,
            TUIString(kText::Text(kTextSolvedSoFar), &m_currentPuzzle), 0.5f, 0.2f);
    AddText(m_puzzleCompleteUnlockedScreen,
            TUIString(kText::Text(kTextUnlocked), &m_nextDifficultyString), 0.5f, 0.35f);
    m_completeUnlockedPlayButton = AddChoice(m_puzzleCompleteUnlockedScreen, nextPuzzle, 0.6f);
    m_endChallengeUnlockedButton =
        AddChoice(m_puzzleCompleteUnlockedScreen, kText::Text(kTextEndChallenge), 0.8f);
}

void MNFastAndFunMenu::BuildGameOverScreens() {
    m_gameOverScreen = AddScreen();
    AddText(m_gameOverScreen, kText::Text(kTextGameOver), 0.5f, 0.05f, true);
    m_gameOverText = AddText(
        m_gameOverScreen, TUIString(kText::Text(kTextSolvedInRun), &m_currentPuzzle), 0.5f, 0.2f);
    m_gameOverContinueButton = AddChoice(m_gameOverScreen, kText::Text(kTextContinue), 0.6f);

    m_gameOverUnlockedScreen = AddScreen();
    AddText(m_gameOverUnlockedScreen, kText::Text(kTextGameOver), 0.5f, 0.05f, true);
    AddText(m_gameOverUnlockedScreen, kText::Text(kTextCongratulations), 0.5f, 0.2f);
    AddText(m_gameOverUnlockedScreen, TUIString(kText::Text(kTextSolvedInRun), &m_currentPuzzle),
            0.5f, 0.25f);
    AddText(m_gameOverUnlockedScreen,
            TUIString(kText::Text(kTextUnlocked), &m_nextDifficultyString), 0.5f, 0.4f);
    m_gameOverUnlockedContinueButton =
        AddChoice(m_gameOverUnlockedScreen, kText::Text(kTextContinue), 0.6f);
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
    const bool bPro = BestRun(1) >= kUnlockRun;
    m_difficultyIntermediateButton->m_bEnabled = BestRun(0) >= kUnlockRun;
    m_difficultyProButton->m_bEnabled = bPro;
    m_infoText->m_bVisible = !bPro;
}

void MNFastAndFunMenu::PostGameMenu(bool bSolved) {
    const int lastSeen[] = {m_lastMostBeginnerPuzzlesComplete,
                            m_lastMostIntermediatePuzzlesComplete, m_lastMostProPuzzlesComplete};
    const bool bKnown = m_difficulty >= 0 && m_difficulty < 3;
    // Pro opens nothing after it.
    const bool bUnlocked = bKnown && m_difficulty < 2 && BestRun(m_difficulty) == kUnlockRun &&
                           lastSeen[m_difficulty] == kUnlockRun - 1;
    m_lastMostBeginnerPuzzlesComplete = BestRun(0);
    m_lastMostIntermediatePuzzlesComplete = BestRun(1);
    m_lastMostProPuzzlesComplete = BestRun(2);

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
    m_needText->m_bVisible = true;
    m_subNeedText->m_bVisible = true;
    if (m_difficulty >= 0 && m_difficulty < 3) {
        m_best = BestRun(m_difficulty);
        m_currentDifficultyString = kText::Text(kLevelNames[m_difficulty]);
        m_nextDifficultyString =
            m_difficulty < 2 ? kText::Text(kLevelNames[m_difficulty + 1]) : kUnknownDifficulty;
        // Nothing lies beyond pro, and a level already opened needs nothing more.
        const bool bNeedShown = m_difficulty < 2 && m_best < kUnlockRun;
        m_needText->m_bVisible = bNeedShown;
        m_subNeedText->m_bVisible = bNeedShown;
    } else {
        m_best = -1;
    }
    const int text = m_best == 1 ? kTextBestRunOfOne : kTextBestRun;
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
                  kText::Text(kTextTime), hours, min, sec);
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
    m_completeText->m_text =
        TUIString(kText::Text(bOne ? kTextSolvedOneSoFar : kTextSolvedSoFar), &m_currentPuzzle);
    m_gameOverText->m_text =
        TUIString(kText::Text(bOne ? kTextSolvedOneInRun : kTextSolvedInRun), &m_currentPuzzle);
}

void MNFastAndFunMenu::ButtonPressed(TUIScreen* screen, TUIButton* button) {
    MNSound::PlaySoundEffect(button->m_bBack ? SFX_BACK : SFX_PRESS);
    if (screen == m_difficultyScreen) {
        if (button->m_bBack) {
            m_state = STATE_CLOSED;
            return;
        }
        for (int difficulty = 0; difficulty < 3; ++difficulty) {
            if (button == GetDifficultyButton(difficulty)) {
                m_difficulty = difficulty;
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
