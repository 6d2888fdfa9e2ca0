#include <modes/mntournamentmenu.h>

#include <puzzles/mnpuzzlewidgetkit.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsaveranges.h>
#include <services/mnsound.h>
#include <services/mntextid.h>
#include <services/puzzletypes.h>

#include <framework/ksprite.h>
#include <kelvo/platform/klog.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

constexpr float kTitleY = 0.05f;
constexpr float kMessageWidth = 0.8f; // messages wrap to this share of the display
constexpr int kWideButton = 256;
constexpr int kLadderButton = 188;

// The ladder: slot 1 at the bottom left, climbing a row every five slots.
constexpr float kLadderX = 0.10f;
constexpr float kLadderStepX = 0.08f;
constexpr float kLadderY = 0.27f;
constexpr float kLadderStepY = 0.15f;
constexpr int kLadderRows = MNTournamentMenu::kSlots / MNTournamentMenu::kColumns;

// The info panel beside the ladder: labels from the left edge, values to the right one.
constexpr float kLabelX = 0.57f;
constexpr float kValueX = 0.93f;
constexpr float kInfoRows[] = {0.29f, 0.36f, 0.43f, 0.51f};
// Its box, placed on the 496-line picture and scaled with the display's height.
constexpr float kBoxX = 350.0f;
constexpr float kBoxY = 130.0f;
constexpr float kBoxLines = 496.0f;
constexpr unsigned int kBoxColour = 0xFFFFFF00;

// The slots' marks: their art lies over the button with the hot spot at its top centre.
constexpr float kMarkHotspotX = 0.5f;
constexpr float kMarkHotspotY = 8.0f / 48.0f;
constexpr unsigned int kCompleteColour = 0xFF808080;
constexpr unsigned int kPerfectColour = 0xFF000000;
constexpr unsigned int kPassedColour = 0xFFFF8000;

// Texts of the slot statuses 0 to 5, of what winning each level unlocks, of the ranks from
// the highest score down.
constexpr int kStatusTexts[] = {TEXT_STATUS_LOCKED,   TEXT_STATUS_OPEN,
                                TEXT_STATUS_FAILED,   TEXT_STATUS_PASSED,
                                TEXT_STATUS_COMPLETE, TEXT_STATUS_FIRST_TRY_IN_TIME};
constexpr int kUnlockedTexts[] = {TEXT_INTERMEDIATE_UNLOCKED, TEXT_PRO_UNLOCKED, 0};
struct Rank {
    int minScore;
    int text;
};
constexpr Rank kRanks[] = {{18000, TEXT_RANK_PUZZLE_LEGEND}, {17000, TEXT_RANK_GRAND_MASTER},
                           {15000, TEXT_RANK_MASTER},        {13000, TEXT_RANK_EXPERT},
                           {11000, TEXT_RANK_SHARP_MIND},    {9000, TEXT_RANK_SKILLED_SOLVER},
                           {7000, TEXT_RANK_KEEN_SOLVER},    {5000, TEXT_RANK_APPRENTICE},
                           {3000, TEXT_RANK_NOVICE}};
constexpr int kLowestRank = TEXT_RANK_NEWCOMER;
// The result jingle for a total up to each bound; above the last, none.
struct Jingle {
    int maxScore;
    int effect;
};
constexpr Jingle kJingles[] = {{5000, SFX_RESULT_POOR},
                               {10000, SFX_RESULT_FAIR},
                               {15000, SFX_RESULT_GOOD},
                               {20000, SFX_RESULT_BEST}};
constexpr int kNoPuzzlesText = TEXT_NO_PUZZLES_AT_LEVEL;

// A text id's text followed by a literal suffix.
kString TXT(int id, const char* suffix) {
    return kString(Txt(id)) + kString(suffix);
}

const char* TypeText(int typeFlag) {
    const char* const name = MNModeMenu::KindName(typeFlag);
    return name != nullptr ? name : "unknown puzzle";
}

const char* StatusText(int status) {
    return status >= SLOT_LOCKED && status <= SLOT_PERFECT ? Txt(kStatusTexts[status])
                                                           : "unknown status";
}

} // namespace

int MNTournamentMenu::RankTextId(int score) {
    for (const Rank& rank : kRanks) {
        if (score >= rank.minScore) {
            return rank.text;
        }
    }
    return kLowestRank;
}

int MNTournamentMenu::ResultJingle(int score) {
    for (const Jingle& jingle : kJingles) {
        if (score <= jingle.maxScore) {
            return jingle.effect;
        }
    }
    return -1;
}

MNTournamentMenu::MNTournamentMenu(MNProfile* profile) : MNModeMenu(profile) {
    BuildScreens();
}

MNTournamentData* MNTournamentMenu::Data() const {
    return m_profile != nullptr ? m_profile->GetTournamentData() : nullptr;
}

int MNTournamentMenu::SlotStatus(int index) const {
    const MNTournamentData* const data = Data();
    return data != nullptr ? data->m_puzzleDataList[index].m_puzzleStatus
                           : static_cast<int>(SLOT_LOCKED);
}

bool MNTournamentMenu::IsPlayable(int index) const {
    return IsPlayableSlot(SlotStatus(index));
}

bool MNTournamentMenu::IsFinished(int index) const {
    const int status = SlotStatus(index);
    return status == SLOT_COMPLETE || status == SLOT_PERFECT;
}

int MNTournamentMenu::CountSlots(int statusA, int statusB) const {
    int count = 0;
    for (int i = 0; i < kSlots; ++i) {
        const int status = SlotStatus(i);
        count += status == statusA || status == statusB ? 1 : 0;
    }
    return count;
}

// --- Building ---

void MNTournamentMenu::RemoveScreens() {
    for (TUIScreen* screen :
         {m_resumeScreen, m_difficultyScreen, m_selectScreen, m_resultsScreen,
          m_completeWithPassesScreen, m_noMorePassesScreen, m_scoreScreen, m_failedScreen,
          m_successScreen, m_playAgainScreen, m_allCompleteScreen}) {
        RemoveScreen(screen);
    }
    m_lastPuzzleButton = nullptr;
    m_lastSeenButton = nullptr;
}

void MNTournamentMenu::Build() {
    BuildSprites();
    BuildResumeScreens();
    BuildSelectScreen();
    BuildResultScreens();
    BuildEndScreens();
    m_fadeMusicTimer = 0.0f;
    m_puzzleNumber = 1;
    m_lastPuzzleNumber = -1;
    m_completePuzzleNumber = -1;
    Update();
    m_state = STATE_CLOSED;
}

void MNTournamentMenu::BuildSprites() {
    m_tickSprite = PixelSprite("fe", "pt_tick");
    m_exclamationSprite = PixelSprite("fe", "pt_exclam");
    m_boxSprite = PixelSprite("fe", "wii_pt_info_box");
    for (kSprite* mark : {m_tickSprite.Get(), m_exclamationSprite.Get()}) {
        if (mark != nullptr) {
            mark->m_hotspotX = kMarkHotspotX;
            mark->m_hotspotY = kMarkHotspotY;
        }
    }
    if (m_boxSprite.Get() != nullptr) {
        m_boxSprite->SetColour(kBoxColour);
    }
}

TUIButton* MNTournamentMenu::AddBack(TUIScreen* screen) {
    return AddButton(screen, Txt(TEXT_BACK), -1.0f, -2.0f, true, TUIArt::kFittedButton);
}

TUIText* MNTournamentMenu::AddMessage(TUIScreen* screen, const TUIString& text, float y) {
    TUIText* const message = AddText(screen, text, 0.5f, y);
    message->m_fFixedWidth = kMessageWidth;
    return message;
}

void MNTournamentMenu::BuildResumeScreens() {
    m_resumeScreen = AddScreen();
    AddText(m_resumeScreen, Txt(TEXT_TOURNAMENT_IN_PROGRESS), 0.5f, kTitleY, true);
    AddMessage(m_resumeScreen, Txt(TEXT_TOURNAMENT_IN_PROGRESS_MESSAGE), 0.20f);
    m_resumeButton = AddButton(m_resumeScreen, Txt(TEXT_CONTINUE), 0.5f, 0.60f, false, kWideButton);
    m_startNewButton =
        AddButton(m_resumeScreen, Txt(TEXT_START_NEW), 0.5f, 0.75f, false, kWideButton);
    AddBack(m_resumeScreen);

    m_difficultyScreen = AddScreen();
    AddText(m_difficultyScreen, Txt(TEXT_TOURNAMENT), 0.5f, kTitleY, true);
    AddMessage(m_difficultyScreen, Txt(TEXT_TOURNAMENT_INTRODUCTION), 0.16f);
    AddText(m_difficultyScreen, Txt(TEXT_CHOOSE_LEVEL), 0.5f, 0.39f, true);
    TUIButton** const buttons[] = {&m_beginnerButton, &m_intermediateButton, &m_proButton};
    for (int d = 0; d < PUZZLE_LEVELS; ++d) {
        *buttons[d] = AddButton(m_difficultyScreen, LevelChoice(PUZZLE_LEVEL_LIST[d]), 0.5f,
                                0.50f + 0.10f * static_cast<float>(d), false, kWideButton);
    }
    m_noPuzzlesText = AddMessage(m_difficultyScreen, Txt(kNoPuzzlesText), 0.82f);
    m_noPuzzlesText->m_bVisible = false;
    AddBack(m_difficultyScreen);
}

void MNTournamentMenu::BuildSelectScreen() {
    m_selectScreen = AddScreen();
    TUIScreen* const screen = m_selectScreen;
    AddText(screen, Txt(TEXT_TOURNAMENT), 0.5f, kTitleY, true);
    AddText(screen, TUIString("%s", &m_difficultyString), 0.5f, 0.17f)->m_bBoxed = true;
    const struct {
        int label;
        const char* format;
        TUIStringParam value;
    } rows[] = {{TEXT_LADDER_PUZZLE, "%d", &m_puzzleNumber},
                {TEXT_LADDER_TYPE, "%s", &m_puzzleTypeString},
                {289, "%s", m_timeLimitString},
                {TEXT_LADDER_STATUS, "%s", &m_puzzleStatusString}};
    for (int i = 0; i < 4; ++i) {
        AddText(screen, TUIString(TXT(rows[i].label, ":"), rows[i].value), kLabelX, kInfoRows[i])
            ->m_bAnchorLeft = true;
        AddText(screen, TUIString(rows[i].format, rows[i].value), kValueX, kInfoRows[i])
            ->m_bAnchorRight = true;
    }
    AddText(screen, TUIString(TXT(TEXT_PASSES_USED, " %d/%d"), &m_passesUsed, &m_passes), 0.065f,
            0.83f)
        ->m_bAnchorLeft = true;
    for (int i = 0; i < kSlots; ++i) {
        const int row = kLadderRows - 1 - i / kColumns;
        const int column = i % kColumns;
        m_buttonList[i] = AddButton(screen, TUIString("%d", TUIStringParam::CreateLiteral(i + 1)),
                                    kLadderX + kLadderStepX * static_cast<float>(column),
                                    kLadderY + kLadderStepY * static_cast<float>(row), false,
                                    TUIArt::kSquareButton);
    }
    m_confirmPlayButton =
        AddButton(screen, Txt(TEXT_LADDER_PLAY), 0.75f, 0.60f, false, kLadderButton);
    m_confirmPassButton =
        AddButton(screen, Txt(TEXT_LADDER_PASS), 0.75f, 0.70f, false, kLadderButton);
    AddBack(screen);
}

void MNTournamentMenu::BuildResultScreens() {
    m_resultsScreen = AddScreen();
    AddText(m_resultsScreen, Txt(TEXT_PUZZLE_RESULT), 0.5f, kTitleY, true);
    const struct {
        int label;
        const char* suffix;
        TUIStringParam value;
        float y;
    } lines[] = {{TEXT_LADDER_LEVEL, ": %s", &m_difficultyString, 0.20f},
                 {TEXT_LADDER_PUZZLE, ": %d", &m_completePuzzleNumber, 0.30f},
                 {TEXT_LADDER_TYPE, ": %s", &m_completePuzzleTypeString, 0.40f},
                 {TEXT_TARGET_TIME, ": %s", m_completeTimeLimitString, 0.50f},
                 {TEXT_TIME_TAKEN, ": %s", m_completeTimeTakenString, 0.60f},
                 {TEXT_LADDER_STATUS, ": %s", &m_completePuzzleStatusString, 0.70f}};
    for (const auto& line : lines) {
        AddText(m_resultsScreen, TUIString(TXT(line.label, line.suffix), line.value), 0.5f, line.y);
    }
    m_resultsContinueButton =
        AddButton(m_resultsScreen, Txt(TEXT_CONTINUE), 0.5f, 0.83f, false, kWideButton);

    m_completeWithPassesScreen = AddScreen();
    AddText(m_completeWithPassesScreen, Txt(TEXT_WELL_DONE), 0.5f, kTitleY, true);
    AddMessage(m_completeWithPassesScreen, TUIString(Txt(TEXT_FINISHED_WITH_PASSES), &m_passesUsed),
               0.20f);
    AddMessage(m_completeWithPassesScreen, Txt(TEXT_SOLVE_PASSED_OR_CARRY_ON), 0.40f);
    m_completeAllButton = AddButton(m_completeWithPassesScreen, Txt(TEXT_COMPLETE_ALL), 0.5f, 0.65f,
                                    false, kWideButton);
    m_completeWithPassesContinueButton =
        AddButton(m_completeWithPassesScreen, Txt(TEXT_CONTINUE), 0.5f, 0.80f, false, kWideButton);

    m_noMorePassesScreen = AddScreen();
    AddText(m_noMorePassesScreen, Txt(TEXT_NO_MORE_PASSES), 0.5f, kTitleY, true);
    AddMessage(m_noMorePassesScreen, Txt(TEXT_NO_MORE_PASSES_MESSAGE), 0.20f);
    m_noMorePassesContinueButton =
        AddButton(m_noMorePassesScreen, Txt(TEXT_CONTINUE), 0.5f, 0.60f, false, kWideButton);
    m_noMorePassesEndButton =
        AddButton(m_noMorePassesScreen, Txt(TEXT_END), 0.5f, 0.80f, false, kWideButton);
}

void MNTournamentMenu::BuildEndScreens() {
    m_scoreScreen = AddScreen();
    AddText(m_scoreScreen, Txt(TEXT_TOURNAMENT_COMPLETE), 0.5f, kTitleY, true);
    AddMessage(m_scoreScreen, Txt(TEXT_YOUR_FINAL_SCORE), 0.20f);
    AddText(m_scoreScreen, TUIString("%d", &m_score), 0.5f, 0.30f, true);
    AddMessage(m_scoreScreen, Txt(TEXT_YOUR_RANK), 0.50f);
    AddText(m_scoreScreen, TUIString("%s", &m_rankString), 0.5f, 0.60f, true);
    m_scoreContinueButton =
        AddButton(m_scoreScreen, Txt(TEXT_CONTINUE), 0.5f, 0.80f, false, kWideButton);

    m_failedScreen = AddScreen();
    AddText(m_failedScreen, Txt(TEXT_TOURNAMENT_OVER), 0.5f, kTitleY, true);
    AddMessage(m_failedScreen, Txt(TEXT_TARGET_MISSED), 0.20f);
    AddMessage(m_failedScreen, Txt(TEXT_YOUR_RANK), 0.40f);
    AddText(m_failedScreen, TUIString("%s", &m_rankString), 0.5f, 0.50f, true);
    m_failedContinueButton =
        AddButton(m_failedScreen, Txt(TEXT_CONTINUE), 0.5f, 0.80f, false, kWideButton);

    m_successScreen = AddScreen();
    AddText(m_successScreen, Txt(TEXT_CONGRATULATIONS), 0.5f, kTitleY, true);
    AddMessage(m_successScreen, TUIString("%s", &m_completedDifficulty), 0.20f);
    AddMessage(m_successScreen, Txt(TEXT_PLAY_IT_NOW), 0.55f);
    m_successPlayNowButton =
        AddButton(m_successScreen, Txt(TEXT_YES), 0.5f, 0.70f, false, kWideButton);
    m_successPlayLaterButton =
        AddButton(m_successScreen, Txt(TEXT_NO), 0.5f, 0.85f, false, kWideButton);

    m_playAgainScreen = AddScreen();
    AddText(m_playAgainScreen, Txt(TEXT_PLAY_AGAIN_QUESTION), 0.5f, kTitleY, true);
    AddMessage(m_playAgainScreen, Txt(TEXT_PLAY_AGAIN_MESSAGE), 0.20f);
    m_playAgainButton =
        AddButton(m_playAgainScreen, Txt(TEXT_PLAY_AGAIN), 0.5f, 0.60f, false, kWideButton);
    m_playLaterButton =
        AddButton(m_playAgainScreen, Txt(TEXT_PLAY_LATER), 0.5f, 0.80f, false, kWideButton);

    m_allCompleteScreen = AddScreen();
    AddText(m_allCompleteScreen, Txt(TEXT_CONGRATULATIONS), 0.5f, kTitleY, true);
    AddMessage(m_allCompleteScreen, Txt(TEXT_ALL_LEVELS_WON), 0.20f);
    m_allCompleteContinueButton = AddButton(m_allCompleteScreen, Txt(TEXT_CONTINUE), 0.5f, 0.60f,
                                            false, TUIArt::kFittedButton);
}

// --- What is shown ---

void MNTournamentMenu::FormatTime(char* out, float seconds) const {
    const int total = static_cast<int>(TimeInRange(seconds));
    std::snprintf(out, 32, "%02d:%02d", total / 60, total % 60);
}

void MNTournamentMenu::Update() {
    const MNTournamentData* const data = Data();
    m_score = 0;
    const ePuzzleDifficulty unlocked =
        data != nullptr ? data->GetHighestUnlocked() : PUZZLE_DIFFICULTY_BEGINNER;
    m_intermediateButton->m_bEnabled = unlocked >= PUZZLE_DIFFICULTY_INTERMEDIATE;
    m_proButton->m_bEnabled = unlocked >= PUZZLE_DIFFICULTY_PRO;
    for (int i = 0; i < kSlots; ++i) {
        m_buttonList[i]->m_bEnabled = IsPlayable(i);
        m_buttonList[i]->m_bDone = IsFinished(i); // on paper, where its tick reads
        m_score += data != nullptr ? data->m_puzzleDataList[i].m_score : 0;
    }
    m_difficultyString = data != nullptr ? LevelName(data->GetDifficulty()) : "";
    m_completedDifficulty =
        data != nullptr ? Txt(kUnlockedTexts[LevelOf(data->GetDifficulty())]) : "";
    const int index = m_puzzleNumber - 1;
    m_puzzleStatusString = StatusText(SlotStatus(index));
    m_puzzleTypeString = TypeText(data != nullptr ? data->m_puzzleDataList[index].m_puzzleType : 0);
    FormatTime(m_timeLimitString,
               data != nullptr ? data->m_puzzleDataList[index].m_fTargetTime : 0.0f);
    m_passes = data != nullptr ? data->m_numPasses : 0;
    m_passesUsed = data != nullptr ? data->m_numPassesUsed : 0;
    m_rankString = Txt(RankTextId(m_score));
}

void MNTournamentMenu::Open() {
    const MNTournamentData* const data = Data();
    m_state = STATE_OPEN;
    SetActiveScreen(data == nullptr || data->m_bNewGame ? m_difficultyScreen : m_resumeScreen);
    m_selectScreen->m_activeComponent = m_buttonList[0];
    m_puzzleNumber = 1;
    m_lastPuzzleNumber = -1;
    m_completePuzzleNumber = -1;
    m_lastPuzzleButton = nullptr;
    m_noPuzzlesText->m_bVisible = false;
    Update();
}

void MNTournamentMenu::PostGameMenu() {
    Update();
    SetActiveScreen(m_resultsScreen);
    const MNTournamentData* const data = Data();
    const int played =
        data != nullptr && data->m_currentPuzzle >= 0 && data->m_currentPuzzle < kSlots
            ? data->m_currentPuzzle
            : 0;
    m_completePuzzleNumber = played + 1;
    m_puzzleNumber = played + 2 <= kSlots ? played + 2 : kSlots;
    // The first playable slot after the one just played, when there is one.
    for (int i = played + 1; i < kSlots; ++i) {
        if (IsPlayable(i)) {
            m_puzzleNumber = i + 1;
            break;
        }
    }
    m_lastPuzzleButton = m_buttonList[m_puzzleNumber - 1];
    m_lastPuzzleNumber = -1;
    if (data != nullptr) {
        const MNTournamentPuzzleData& slot = data->m_puzzleDataList[played];
        m_completePuzzleStatusString = StatusText(slot.m_puzzleStatus);
        m_completePuzzleTypeString = TypeText(slot.m_puzzleType);
        FormatTime(m_completeTimeLimitString, slot.m_fTargetTime);
        FormatTime(m_completeTimeTakenString, slot.m_fCompleteTime);
    }
    m_state = STATE_OPEN;
    MNProfileManager::SaveData(false);
}

MNTournamentMenu::eScreen MNTournamentMenu::GetShownScreen() const {
    const TUIScreen* const screens[] = {m_resumeScreen,
                                        m_difficultyScreen,
                                        m_selectScreen,
                                        m_resultsScreen,
                                        m_completeWithPassesScreen,
                                        m_noMorePassesScreen,
                                        m_scoreScreen,
                                        m_failedScreen,
                                        m_successScreen,
                                        m_playAgainScreen,
                                        m_allCompleteScreen};
    for (int i = 0; i < static_cast<int>(sizeof(screens) / sizeof(screens[0])); ++i) {
        if (screens[i] != nullptr && screens[i] == GetActiveScreen()) {
            return static_cast<eScreen>(i);
        }
    }
    return SCREEN_NONE;
}

// --- Ticking and drawing ---

void MNTournamentMenu::Tick(float delta) {
    const bool bPlayable = m_buttonList[m_puzzleNumber - 1]->m_bEnabled;
    m_confirmPlayButton->m_bEnabled = bPlayable;
    m_confirmPassButton->m_bEnabled = bPlayable && SlotStatus(m_puzzleNumber - 1) != SLOT_PASSED;
    // A hover preview ends: the chosen slot is shown again unless the pointer still rests on
    // the hovered one, whose selection the toolkit's tick below then reports anew.
    if (m_lastPuzzleNumber > -1 && m_lastPuzzleNumber != m_puzzleNumber) {
        m_puzzleNumber = m_lastPuzzleNumber;
        m_lastPuzzleNumber = -1;
        if (GetActiveScreen() != nullptr) {
            GetActiveScreen()->m_activeComponent = m_lastPuzzleButton;
        }
        Update();
    }
    TickFade(delta);
    TUI::Tick(delta);
}

void MNTournamentMenu::TickFade(float delta) {
    if (m_fadeMusicTimer > 0.0f) {
        m_fadeMusicTimer -= delta;
        MNSound::ScaleMusic(m_fadeMusicTimer);
        if (m_fadeMusicTimer <= 0.0f) {
            m_fadeMusicTimer = 0.0f;
            const int jingle = ResultJingle(m_score);
            if (jingle >= 0) {
                MNSound::PlaySoundEffect(jingle);
            }
        }
    } else if (m_fadeMusicTimer < 0.0f) {
        m_fadeMusicTimer += delta;
        MNSound::ScaleMusic(1.0f + m_fadeMusicTimer);
        if (m_fadeMusicTimer >= 0.0f) {
            m_fadeMusicTimer = 0.0f;
        }
    }
}

void MNTournamentMenu::StartFadeOut() {
    m_fadeMusicTimer = 1.0f;
}

void MNTournamentMenu::RestoreMusic() {
    m_fadeMusicTimer = 0.0f;
    MNSound::ScaleMusic(1.0f);
}

void MNTournamentMenu::Render() {
    if (GetActiveScreen() == m_selectScreen && m_boxSprite.Get() != nullptr) {
        const float scale = TUIArt::DisplayHeight() / kBoxLines;
        m_boxSprite->m_scaleY = scale;
        m_boxSprite->SetPosition(kBoxX, kBoxY * scale);
        m_boxSprite->Render();
    }
    TUI::Render();
}

void MNTournamentMenu::RenderOverlay() {
    if (GetActiveScreen() != m_selectScreen) {
        return;
    }
    const float width = TUIArt::DisplayWidth();
    const float height = TUIArt::DisplayHeight();
    for (int i = 0; i < kSlots; ++i) {
        const int status = SlotStatus(i);
        kSprite* const mark = status == SLOT_PASSED ? m_exclamationSprite.Get()
                              : IsFinished(i)       ? m_tickSprite.Get()
                                                    : nullptr;
        if (mark == nullptr) {
            continue;
        }
        mark->SetColour(status == SLOT_PASSED     ? kPassedColour
                        : status == SLOT_COMPLETE ? kCompleteColour
                                                  : kPerfectColour);
        mark->SetPosition(m_buttonList[i]->m_fX * width, m_buttonList[i]->m_fY * height);
        mark->Render();
    }
}

// --- The player's choices ---

void MNTournamentMenu::ButtonSelected(TUIScreen* screen, TUIButton* button) {
    if (button != m_lastSeenButton) {
        MNModeMenu::ButtonSelected(screen, button);
        m_lastSeenButton = button;
    }
    if (screen != m_selectScreen) {
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        if (m_buttonList[i] == button && i + 1 != m_puzzleNumber) {
            m_lastPuzzleNumber = m_puzzleNumber;
            m_puzzleNumber = i + 1;
        }
    }
    Update();
}

void MNTournamentMenu::Select(int number) {
    m_puzzleNumber = number;
    m_lastPuzzleNumber = -1;
    m_completePuzzleNumber = -1;
    m_lastPuzzleButton = nullptr;
    m_selectScreen->m_activeComponent = m_buttonList[number - 1];
}

void MNTournamentMenu::ShowSelect(int number) {
    m_puzzleNumber = number;
    SetActiveScreen(m_selectScreen);
    m_selectScreen->m_activeComponent = nullptr;
    Update();
}

int MNTournamentMenu::FindOpenOrPassed(bool bLast) const {
    int found = -1;
    for (int i = 0; i < kSlots && (bLast || found < 0); ++i) {
        const int status = SlotStatus(i);
        found = status == SLOT_OPEN || status == SLOT_PASSED ? i : found;
    }
    return found;
}

void MNTournamentMenu::SelectOpenOrPassed(bool bLast) {
    const int index = FindOpenOrPassed(bLast);
    if (index >= 0) {
        Select(index + 1);
    }
}

void MNTournamentMenu::ButtonPressed(TUIScreen* screen, TUIButton* button) {
    MNSound::PlaySoundEffect(button->m_bBack ? SFX_BACK : SFX_PRESS);
    if (screen == m_resumeScreen) {
        PressResume(button);
    } else if (screen == m_difficultyScreen) {
        PressDifficulty(button);
    } else if (screen == m_selectScreen) {
        PressSelect(button);
    } else {
        PressEnd(button);
    }
}

void MNTournamentMenu::PressResume(TUIButton* button) {
    if (button == m_startNewButton) {
        SetActiveScreen(m_difficultyScreen);
    } else if (button->m_bBack) {
        MNProfileManager::SaveData(false);
        m_state = STATE_CLOSED;
    } else if (button == m_resumeButton && CountSlots(SLOT_LOCKED, SLOT_OPEN) > 0) {
        SetActiveScreen(m_selectScreen);
        m_selectScreen->m_activeComponent = nullptr;
        SelectOpenOrPassed(true);
        kLogFmt("Resumed Puzzle number %d\n", m_puzzleNumber);
        Update();
    } else if (button == m_resumeButton) {
        m_puzzleNumber = kSlots;
        Update();
        SetActiveScreen(CountSlots(SLOT_PASSED, SLOT_PASSED) > 0 ? m_completeWithPassesScreen
                                                                 : m_scoreScreen);
    }
}

bool MNTournamentMenu::StartNewTournament(ePuzzleDifficulty difficulty) {
    m_bNewTournamentRefused = false;
    NewTournamentSignal(difficulty);
    m_noPuzzlesText->m_bVisible = m_bNewTournamentRefused;
    if (m_bNewTournamentRefused) {
        SetActiveScreen(m_difficultyScreen);
        Update();
    }
    return !m_bNewTournamentRefused;
}

void MNTournamentMenu::PressDifficulty(TUIButton* button) {
    if (button->m_bBack) {
        m_state = STATE_CLOSED;
        return;
    }
    const TUIButton* const buttons[] = {m_beginnerButton, m_intermediateButton, m_proButton};
    for (int d = 0; d < PUZZLE_LEVELS; ++d) {
        if (button == buttons[d] && StartNewTournament(PUZZLE_LEVEL_LIST[d])) {
            ShowSelect(1);
        }
    }
}

void MNTournamentMenu::PressSelect(TUIButton* button) {
    MNTournamentData* const data = Data();
    if (button->m_bBack) {
        Update();
        SetActiveScreen(data != nullptr && !data->m_bNewGame ? m_resumeScreen : m_difficultyScreen);
    } else if (button == m_confirmPlayButton) {
        // Set first: the mode may hand the ladder back at once when the puzzle cannot start.
        m_state = STATE_GAME;
        RestoreMusic();
        StartPuzzleSignal(m_puzzleNumber - 1);
    } else if (button == m_confirmPassButton) {
        PressPass();
    } else {
        for (int i = 0; i < kSlots; ++i) {
            if (button == m_buttonList[i] && button->m_bEnabled) {
                m_puzzleNumber = i + 1;
                m_lastPuzzleNumber = -1;
                m_lastPuzzleButton = button;
                Update();
            }
        }
    }
}

void MNTournamentMenu::PressPass() {
    const MNTournamentData* const data = Data();
    if (data == nullptr) {
        return;
    }
    if (data->m_numPasses <= data->m_numPassesUsed) {
        SetActiveScreen(m_noMorePassesScreen);
        return;
    }
    const int status = SlotStatus(m_puzzleNumber - 1);
    if (status == SLOT_OPEN || status == SLOT_FAILED) {
        PassPuzzleSignal(m_puzzleNumber - 1);
        EndOfPuzzleCheck();
        if (GetActiveScreen() == m_selectScreen && m_puzzleNumber < kSlots) {
            Select(m_puzzleNumber + 1);
        }
    }
    Update();
}

void MNTournamentMenu::EndOfPuzzleCheck() {
    const MNTournamentData* const data = Data();
    const int complete = CountSlots(SLOT_COMPLETE, SLOT_PERFECT);
    const int passed = CountSlots(SLOT_PASSED, SLOT_PASSED);
    if (complete == kSlots) {
        StartFadeOut();
        if (data == nullptr || m_score <= data->m_targetScore) {
            MNSound::PlaySoundEffect(SFX_RESULT_POOR);
            SetActiveScreen(m_failedScreen);
        } else {
            SetActiveScreen(m_scoreScreen);
        }
    } else if (complete + passed == kSlots) {
        SetActiveScreen(m_completeWithPassesScreen);
    } else if (data != nullptr && data->m_numPassesUsed < data->m_numPasses) {
        SetActiveScreen(m_selectScreen);
    } else {
        SetActiveScreen(m_noMorePassesScreen);
    }
}

void MNTournamentMenu::PressScoreContinue() {
    MNTournamentData* const data = Data();
    m_fadeMusicTimer = -1.0f;
    const ePuzzleDifficulty d =
        data != nullptr ? data->GetDifficulty() : PUZZLE_DIFFICULTY_BEGINNER;
    const ePuzzleDifficulty h =
        data != nullptr ? data->GetHighestUnlocked() : PUZZLE_DIFFICULTY_BEGINNER;
    if (d < h || (d == PUZZLE_DIFFICULTY_PRO && h == PUZZLE_DIFFICULTY_PRO)) {
        SetActiveScreen(m_playAgainScreen);
    } else if (d == PUZZLE_DIFFICULTY_PRO && h == PUZZLE_DIFFICULTY_INTERMEDIATE) {
        data->SetHighestUnlocked(PUZZLE_DIFFICULTY_PRO);
        MNProfileManager::SaveData(false);
        SetActiveScreen(m_allCompleteScreen);
    } else {
        SetActiveScreen(m_successScreen);
    }
    Update();
}

void MNTournamentMenu::UnlockAndStart(bool bPlayNow) {
    MNTournamentData* const data = Data();
    const ePuzzleDifficulty next =
        NextLevel(data != nullptr ? data->GetDifficulty() : PUZZLE_DIFFICULTY_INTERMEDIATE);
    if (data != nullptr) {
        data->SetHighestUnlocked(next);
    }
    MNProfileManager::SaveData(false);
    const bool bStarted = StartNewTournament(next);
    m_puzzleNumber = 1;
    if (!bPlayNow) {
        Update();
        m_state = STATE_CLOSED;
    } else if (bStarted) {
        ShowSelect(1);
    }
}

void MNTournamentMenu::PressEnd(TUIButton* button) {
    MNTournamentData* const data = Data();
    if (button == m_resultsContinueButton) {
        EndOfPuzzleCheck();
        Update();
    } else if (button == m_scoreContinueButton) {
        PressScoreContinue();
    } else if (button == m_failedContinueButton) {
        // The music, faded out for the result, comes back as after the score.
        m_fadeMusicTimer = -1.0f;
        SetActiveScreen(m_playAgainScreen);
    } else if (button == m_completeAllButton) {
        SetActiveScreen(m_selectScreen);
        SelectOpenOrPassed(false);
        Update();
    } else if (button == m_completeWithPassesContinueButton) {
        StartFadeOut();
        SetActiveScreen(data == nullptr || m_score <= data->m_targetScore ? m_failedScreen
                                                                          : m_scoreScreen);
    } else if (button == m_successPlayNowButton || button == m_successPlayLaterButton) {
        UnlockAndStart(button == m_successPlayNowButton);
    } else if (button == m_playAgainButton || button == m_playLaterButton ||
               button == m_allCompleteContinueButton) {
        if (data != nullptr) {
            data->m_bNewGame = true;
        }
        m_puzzleNumber = 1;
        if (button == m_playAgainButton) {
            SetActiveScreen(m_difficultyScreen);
            Update();
        } else {
            m_state = STATE_CLOSED;
        }
    } else if (button == m_noMorePassesContinueButton) {
        SetActiveScreen(m_selectScreen);
    } else if (button == m_noMorePassesEndButton) {
        m_state = STATE_CLOSED;
    }
}

} // namespace Kelvo_lib
