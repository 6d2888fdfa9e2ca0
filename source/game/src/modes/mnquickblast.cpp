#include <modes/mnquickblast.h>

#include <modes/mnquickblastmenu.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsound.h>
#include <services/mnsubgameworld.h>
#include <services/puzzlebank.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

constexpr int kNumTypes = 4;

// Costs and limits by [type][level], the types in the order sudoku, crossword, fitword,
// wordsearch; a hint's cost also by its kind.
constexpr int s_scoreTable[kNumTypes][PUZZLE_LEVELS][3] = {
    {{30, 30, 30}, {60, 60, 60}, {100, 100, 100}},
    {{30, 30, 30}, {60, 60, 60}, {100, 100, 100}},
    {{30, 30, 30}, {60, 60, 60}, {100, 100, 100}},
    {{30, 30, 30}, {60, 60, 60}, {100, 100, 100}}};
constexpr int s_errorScoreTable[kNumTypes][PUZZLE_LEVELS] = {
    {30, 60, 100}, {30, 60, 100}, {30, 60, 100}, {30, 60, 100}};
constexpr int s_timeLimitTable[kNumTypes][PUZZLE_LEVELS] = {
    {780, 1320, 2700}, {240, 660, 1080}, {200, 280, 420}, {180, 360, 780}};
// Bonuses by level.
constexpr int kCompletionBonus[PUZZLE_LEVELS] = {500, 1000, 1500};
constexpr int kPerfectionBonus[PUZZLE_LEVELS] = {200, 250, 300};
constexpr int kAnswerPoints[PUZZLE_LEVELS] = {100, 150, 200};
constexpr int kHintKinds = 3;

// The type after typeFlag in the run's rotation: sudoku, fitword, wordsearch, crossword.
int NextType(int typeFlag) {
    switch (typeFlag) {
    case PUZZLE_FLAG_SUDOKU:
        return PUZZLE_FLAG_FITWORD;
    case PUZZLE_FLAG_FITWORD:
        return PUZZLE_FLAG_WORDSEARCH;
    case PUZZLE_FLAG_WORDSEARCH:
        return PUZZLE_FLAG_CROSSWORD;
    default:
        return PUZZLE_FLAG_SUDOKU;
    }
}

// The hints' cost: every kind of a crossword's hint costs as its one kind does.
int HintCost(const MNPuzzleUI& screen, int t, int d, bool& bHinted) {
    const bool bCrossword = screen.GetPuzzleType() == PUZZLE_FLAG_CROSSWORD;
    int cost = 0;
    for (int kind = 0; kind < (bCrossword ? 1 : kHintKinds); ++kind) {
        const int used = screen.GetHintsUsed(kind);
        if (used > 0) {
            bHinted = true;
            cost += used * s_scoreTable[t][d][kind];
            kLogFmt("Hint[%d], hints used: %d, cph: %d, score = %d\n", kind, used,
                    s_scoreTable[t][d][kind], -cost);
        }
    }
    return cost;
}

} // namespace

MNQuickBlast::MNQuickBlast(MNSubGameWorld* world)
    : MNPuzzleMode(world, GAME_MODE_QUICKBLAST, false, "quick_blast_menu", "quick_blast_bg") {}

MNQuickBlastMenu* MNQuickBlast::GetMenu() const {
    return static_cast<MNQuickBlastMenu*>(m_menu);
}

MNQuickBlastData* MNQuickBlast::Data() const {
    MNProfile* const profile = m_world->GetProfile();
    return profile != nullptr ? profile->GetQuickBlastData() : nullptr;
}

void MNQuickBlast::Init() {
    kLogFmt("MNQuickBlast::Init\n");
    MNQuickBlastMenu* const menu = new MNQuickBlastMenu(m_world->GetProfile());
    menu->PlaySignal.Connect(this, &MNQuickBlast::OnPlay);
    menu->NewGameSignal.Connect(this, &MNQuickBlast::OnNewGame);
    QuickBlastUIWidget* const widget = new QuickBlastUIWidget;
    InitHost(menu, new QuickBlastUI, widget, widget->TickSignal, widget->RenderSignal);
    m_runClock.Clear();
    m_bStartNew = false;
    m_bTimerExpired = false;
    m_currentPuzzleType = 0;
}

void MNQuickBlast::Deinit() {
    if (m_menu != nullptr) {
        kLogFmt("MNQuickBlast::Deinit\n");
    }
    MNPuzzleMode::Deinit();
}

void MNQuickBlast::Activate() {
    GetMenu()->SetProfile(m_world->GetProfile());
    GetMenu()->Rebuild();
    PushMenuLayers();
    m_runClock.Clear();
    m_countdown.Restart();
    m_bPaused = false;
    m_bStartNew = false;
    GetMenu()->Open();
}

void MNQuickBlast::RenderUI() {
    if (!m_bStartNew) {
        MNPuzzleMode::RenderUI();
    }
}

void MNQuickBlast::OnNewGame() {
    MNQuickBlastData* const data = Data();
    if (data == nullptr) {
        return;
    }
    data->m_bNewGame = false;
    data->m_currentScore = 0;
    data->m_statOffset = 0;
    for (MNQuickBlastStat& stat : data->m_statList) {
        stat.m_score = -1;
    }
    if (MNProfile* const active = MNProfileManager::GetActiveProfile()) {
        active->m_hackTimer = 0.0f;
    }
    m_runClock.Clear();
    m_bPaused = false;
    m_bTimerExpired = false;
    MNProfileManager::SaveData(false);
}

// A run started from the menu begins at score 0, whatever a run cut off earlier (by a power
// cut, say) left in the record, with all its time ahead.
void MNQuickBlast::OnPlay() {
    MNQuickBlastData* const data = Data();
    if (data == nullptr) {
        return;
    }
    data->m_currentScore = 0;
    m_runClock.Clear();
    m_countdown.Restart();
    if (MNProfile* const active = MNProfileManager::GetActiveProfile()) {
        active->m_hackTimer = data->m_fTimeLimit;
    }
    if (!PlayNextPuzzle()) {
        GetMenu()->Open();
    }
}

bool MNQuickBlast::PlayNextPuzzle() {
    kLogFmt("MNQuickBlast::OnPlay\n");
    m_bGameDone = false;
    m_bTimerExpired = false;
    m_bPaused = false;
    MNQuickBlastData* const data = Data();
    if (data == nullptr) {
        return false;
    }
    data->m_bNewGame = false;
    const int types = data->m_puzzles & MNQuickBlastMenu::kTypeMask;
    if (types == 0) {
        kLogFmt("ERROR: Quick Blast has no puzzle type chosen (%d)\n", data->m_puzzles);
        return false;
    }
    int type = m_currentPuzzleType;
    do {
        type = NextType(type);
    } while ((types & type) == 0);
    kLogFmt("QuickBlast: puzzle type = %d\n", type);
    Puzzle* const puzzle = DrawPuzzle(type, data->GetDifficulty());
    return StartPuzzle(puzzle, type);
}

void MNQuickBlast::Tick(float delta) {
    MNPuzzleMode::Tick(delta);
    if (m_bStartNew) {
        StartNew();
    }
    if (m_gameUI != nullptr && !m_bGameDone) {
        TickRunClock(delta);
    }
}

void MNQuickBlast::StartNew() {
    m_bStartNew = false;
    if (!PlayNextPuzzle()) {
        kLogFmt("ERROR: the run ends: no next puzzle\n");
        FinishRun();
        MNProfileManager::SaveData(false);
    }
}

float MNQuickBlast::RunTimeLeft() const {
    const MNQuickBlastData* const data = Data();
    return data != nullptr ? data->m_fTimeLimit - m_runClock.Total() : 0.0f;
}

void MNQuickBlast::TickRunClock(float delta) {
    if (!m_bPaused) {
        if (!m_runClock.Follow(m_gameUI->GetTime())) {
            return;
        }
        const float remaining = RunTimeLeft();
        if (MNProfile* const active = MNProfileManager::GetActiveProfile()) {
            active->m_hackTimer = remaining;
        }
        if (m_countdown.Warn(remaining, delta)) {
            MNSound::PlaySoundEffect(SFX_LAST_SECONDS);
        }
        if (static_cast<int>(remaining) == 0 && !m_bTimerExpired) {
            m_bTimerExpired = true;
            MNSound::PlaySoundEffect(SFX_TIME_UP);
        }
    }
    if (RunTimeLeft() <= 0.0f) {
        EndRunByTime();
    }
}

void MNQuickBlast::EndRunByTime() {
    kLogFmt("Doing game end stuff\n");
    CalculateScore(0.0f, true);
    FinishRun();
    ShowMenuLayer();
    SetBackground(BACKGROUND_MENUS);
    // The history is saved at once, so switching off on the results loses nothing.
    MNProfileManager::SaveData(false);
}

void MNQuickBlast::FinishRun() {
    NewScore();
    GetMenu()->PostGameMenu();
    m_runClock.Clear();
    m_bGameDone = true;
}

void MNQuickBlast::PauseClock() {
    m_bPaused = true;
    kLogFmt("Pause at: %f\n", static_cast<double>(m_runClock.Total()));
}

void MNQuickBlast::UnPause() {
    m_bPaused = false;
    kLogFmt("Resumed at: %f\n", static_cast<double>(m_runClock.Total()));
}

void MNQuickBlast::DoGameOver(int result) {
    kLogFmt("OnGameOver\n");
    const MNPuzzleUI* const screen = RunningScreen();
    const float time = screen != nullptr ? screen->GetTime() : 0.0f;
    result = EndPuzzleScreen(result);
    m_runClock.EndPuzzle();
    const MNQuickBlastData* const data = Data();
    const int level = data != nullptr ? LevelOf(data->GetDifficulty()) : 0;
    kLogFmt("Time taken to complete puzzle %f, diff %d\n", static_cast<double>(time), level);
    switch (result) {
    case GAME_OVER_SOLVED: {
        const bool bRunOver = RunTimeLeft() <= 0.0f;
        CalculateScore(time, bRunOver);
        if (bRunOver) {
            FinishRun();
        } else {
            m_bStartNew = true;
        }
        break;
    }
    case GAME_OVER_ABANDONED:
        CalculateScore(time, true);
        m_bStartNew = true;
        break;
    case GAME_OVER_FAILED:
        CalculateScore(time, true);
        FinishRun();
        break;
    default:
        m_world->SetCurrentSubGame(SUBGAME_FRONTEND);
        break;
    }
    SetBackground(BACKGROUND_MENUS);
    MNProfileManager::SaveData(false);
}

int MNQuickBlast::PuzzleScore(const MNPuzzleUI& screen, ePuzzleDifficulty difficulty, float time,
                              bool timedOut) {
    const int t = ScoreTableIndex(screen.GetPuzzleType());
    if (t < 0 || !IsLevel(difficulty)) {
        kLogFmt("ERROR: no Quick Blast score for type %d at difficulty %d\n",
                screen.GetPuzzleType(), BankValueOf(difficulty));
        return 0;
    }
    const int d = LevelOf(difficulty);
    const int correct = screen.GetNumCorrect();
    bool bHinted = false;
    int score = -HintCost(screen, t, d, bHinted);
    const int errors = screen.GetNumErrorsMade();
    if (errors != 0) {
        score -= errors * s_errorScoreTable[t][d];
        kLogFmt("Errors: No:%d, cpe: %d, score = %d\n", errors, s_errorScoreTable[t][d], score);
    }
    if (time < static_cast<float>(s_timeLimitTable[t][d]) && !timedOut) {
        score += (d + 1) * 100 + 200;
        kLogFmt("Time Bonus: %d, Score: %d\n", (d + 1) * 100 + 200, score);
    }
    kLogFmt("Number of answers corret %d\n", correct);
    if (!timedOut) {
        score += kCompletionBonus[d];
        kLogFmt("Completion Bonus: %d, Score: %d\n", kCompletionBonus[d], score);
        if (!bHinted && errors == 0) {
            score += kPerfectionBonus[d];
            kLogFmt("Perfection Bonus: %d, Score: %d\n", kPerfectionBonus[d], score);
        }
    }
    score += correct * kAnswerPoints[d];
    kLogFmt("Correct Answer score: %d, Score: %d\n", correct * kAnswerPoints[d], score);
    kLogFmt("Score : %d after quickblast puzzle\n", score);
    score = score < 0 ? 0 : score;
    kLogFmt("Score > 0 : %d after quickblast puzzle\n", score);
    return score;
}

void MNQuickBlast::CalculateScore(float time, bool timedOut) {
    MNQuickBlastData* const data = Data();
    const MNPuzzleUI* const screen = RunningScreen();
    if (data == nullptr || screen == nullptr) {
        kLogFmt("ERROR: no puzzle to score\n");
        return;
    }
    data->m_currentScore += PuzzleScore(*screen, data->GetDifficulty(), time, timedOut);
}

void MNQuickBlast::NewScore() {
    MNQuickBlastData* const data = Data();
    if (data == nullptr) {
        return;
    }
    int index = 0;
    while (index < MN_QUICKBLAST_STATS && data->m_statList[index].m_score >= 0) {
        ++index;
    }
    if (index == MN_QUICKBLAST_STATS) {
        for (int i = 1; i < MN_QUICKBLAST_STATS; ++i) {
            data->m_statList[i - 1] = data->m_statList[i];
        }
        ++data->m_statOffset;
        index = MN_QUICKBLAST_STATS - 1;
    }
    data->m_statList[index].m_score = data->m_currentScore < 0 ? 0 : data->m_currentScore;
    data->m_currentScore = 0;
}

} // namespace Kelvo_lib
