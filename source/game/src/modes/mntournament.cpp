#include <modes/mntournament.h>

#include <modes/mntournamentmenu.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsound.h>
#include <services/mnsubgameworld.h>
#include <services/puzzle.h>
#include <services/puzzlebank.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

constexpr int kSlots = MN_TOURNAMENT_SLOTS;
constexpr int kSmallSudokuSize = 6;
constexpr float kSmallSudokuTarget = 220.0f;

// The kind of a slot by the low two bits of a draw, with its target times by level.
struct SlotKind {
    int typeFlag;
    float targetTime[PUZZLE_LEVELS];
};
constexpr SlotKind kSlotKinds[] = {{PUZZLE_FLAG_SUDOKU, {780.0f, 1320.0f, 2700.0f}},
                                   {PUZZLE_FLAG_WORDSEARCH, {180.0f, 360.0f, 780.0f}},
                                   {PUZZLE_FLAG_FITWORD, {200.0f, 280.0f, 420.0f}},
                                   {PUZZLE_FLAG_CROSSWORD, {240.0f, 660.0f, 1080.0f}}};

// Points lost per hint by kind and per error, for sudoku, crossword, fitword and wordsearch
// in that order, then by level (and hint kind).
constexpr int s_scoreTable[4][PUZZLE_LEVELS][PUZZLE_HINT_KINDS] = {
    {{50, 80, 100}, {75, 125, 150}, {100, 175, 250}},
    {{50, 80, 100}, {75, 125, 150}, {100, 175, 250}},
    {{50, 80, 100}, {75, 125, 150}, {100, 175, 250}},
    {{75, 100, 150}, {100, 150, 250}, {200, 225, 350}}};
constexpr int s_errorScoreTable[4][PUZZLE_LEVELS] = {
    {50, 75, 100}, {50, 75, 100}, {50, 72, 100}, {75, 100, 200}};

constexpr int kFirstInTimeBase = 700;
constexpr int kSolvedBase = 500;
constexpr int kNoErrorBonus = 100;
constexpr int kFirstInTimeBonus = 200;
constexpr int kInTimeBonus = 300;

bool IsSlot(int slot) {
    return slot >= 0 && slot < kSlots;
}

// Whether a slot before index already holds the puzzle.
bool IsInLadder(const MNTournamentData& data, int index, int id) {
    for (int i = 0; i < index; ++i) {
        if (data.m_puzzleDataList[i].m_puzzleId == id) {
            return true;
        }
    }
    return false;
}

} // namespace

MNTournament::MNTournament(MNSubGameWorld* world)
    : MNPuzzleMode(world, GAME_MODE_TOURNAMENT, true, "tournament_menu", "tournament_bg") {}

MNTournamentMenu* MNTournament::GetMenu() const {
    return static_cast<MNTournamentMenu*>(m_menu);
}

void MNTournament::Init() {
    kLogFmt("MNTournament::Init\n");
    MNTournamentMenu* const menu = new MNTournamentMenu(m_world->GetProfile());
    menu->NewTournamentSignal.Connect(this, &MNTournament::OnNewTournament);
    menu->StartPuzzleSignal.Connect(this, &MNTournament::OnStartPuzzle);
    menu->PassPuzzleSignal.Connect(this, &MNTournament::OnPassPuzzle);
    TournamentUIWidget* const widget = new TournamentUIWidget;
    InitHost(menu, new TournamentUI, widget, widget->TickSignal, widget->RenderSignal);
    m_currentPuzzleType = 0;
}

void MNTournament::Deinit() {
    if (m_menu != nullptr) {
        kLogFmt("MNTournament::Deinit\n");
    }
    MNPuzzleMode::Deinit();
}

MNTournamentData* MNTournament::Data() const {
    MNProfile* const profile = m_world->GetProfile();
    return profile != nullptr ? profile->GetTournamentData() : nullptr;
}

SaveGameActivePuzzle* MNTournament::ResumeRecord() const {
    MNProfile* const profile = m_world->GetProfile();
    return profile != nullptr ? &profile->GetSaveData()->tournamentActivePuzzle : nullptr;
}

MNTournamentPuzzleData& MNTournament::CurrentSlot() const {
    MNTournamentData& data = *Data();
    if (!IsSlot(data.m_currentPuzzle)) {
        kLogFmt("ERROR: tournament slot %d out of range; slot 1 used\n", data.m_currentPuzzle);
        data.m_currentPuzzle = 0;
    }
    return data.m_puzzleDataList[data.m_currentPuzzle];
}

float MNTournament::PuzzleTargetTime(int typeFlag) const {
    const MNTournamentData* const data = Data();
    if (data == nullptr || !IsSlot(data->m_currentPuzzle)) {
        return MNPuzzleRules::kNoTarget;
    }
    const MNTournamentPuzzleData& slot = data->m_puzzleDataList[data->m_currentPuzzle];
    return slot.m_puzzleType == typeFlag ? slot.m_fTargetTime : MNPuzzleRules::kNoTarget;
}

void MNTournament::Activate() {
    GetMenu()->SetProfile(m_world->GetProfile());
    PushMenuLayers();
    GetMenu()->Rebuild();
    GetMenu()->Open();
    SaveGameActivePuzzle* const record = ResumeRecord();
    if (record != nullptr) {
        ResumeStoredPuzzle(*record);
    }
}

void MNTournament::Deactivate() {
    MNPuzzleMode::Deactivate();
    GetMenu()->RestoreMusic();
}

// --- A new ladder ---

float MNTournament::TargetTime(int typeFlag, ePuzzleDifficulty difficulty, bool bSmallSudoku) {
    const int level = LevelOf(difficulty);
    if (typeFlag == PUZZLE_FLAG_SUDOKU && level == 0 && bSmallSudoku) {
        return kSmallSudokuTarget;
    }
    for (const SlotKind& kind : kSlotKinds) {
        if (kind.typeFlag == typeFlag) {
            return kind.targetTime[level];
        }
    }
    return 0.0f;
}

bool MNTournament::DrawSlot(ePuzzleDifficulty difficulty, SlotDraw& draw) const {
    const int language = MNProfileManager::GetLanguage();
    PuzzleBank* const bank = MNProfile::GetPuzzlebank();
    draw.typeFlag = kSlotKinds[MNProfile::GetRandomGen()->draw() & 3u].typeFlag;
    draw.id = DrawPuzzleId(draw.typeFlag, difficulty);
    if (draw.id < 0) {
        return false;
    }
    bool bSmallSudoku = false;
    // Only a beginner sudoku's target depends on its size.
    if (draw.typeFlag == PUZZLE_FLAG_SUDOKU && difficulty == PUZZLE_DIFFICULTY_BEGINNER) {
        Puzzle* const puzzle = bank->GetPuzzle(draw.id, language);
        if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_SUDOKU) {
            kLogFmt("ERROR: sudoku %d cannot be read; drawn again\n", draw.id);
            return false;
        }
        bSmallSudoku = static_cast<SudokuPuzzle*>(puzzle)->m_sudoku->size == kSmallSudokuSize;
    }
    draw.targetTime = TargetTime(draw.typeFlag, difficulty, bSmallSudoku);
    return true;
}

bool MNTournament::DrawLadder(ePuzzleDifficulty difficulty, MNTournamentData& data) const {
    for (int i = 0; i < kSlots; ++i) {
        SlotDraw chosen{};
        bool bDrawn = false;
        bool bRepeat = true;
        // A thin bank cannot fill the ladder with different puzzles: the draws are bounded.
        for (int attempt = 0; attempt < kMaxDrawsPerSlot && bRepeat; ++attempt) {
            SlotDraw draw{};
            if (!DrawSlot(difficulty, draw)) {
                continue;
            }
            chosen = draw;
            bDrawn = true;
            kLogFmt("%d : id: %d, type: %d\n", i, draw.id, draw.typeFlag);
            bRepeat = IsInLadder(data, i, draw.id);
            if (bRepeat) {
                kLogFmt(" ALREADY USED THIS PUZZLE!\n  RE-RANDOMIZING\n");
            }
        }
        if (!bDrawn) {
            kLogFmt("ERROR: no puzzle at difficulty %d for slot %d\n", LevelOf(difficulty), i + 1);
            return false;
        }
        if (bRepeat) {
            kLogFmt("Too few puzzles at difficulty %d: slot %d plays puzzle %d again\n",
                    LevelOf(difficulty), i + 1, chosen.id);
        }
        data.m_puzzleDataList[i] =
            MNTournamentPuzzleData{static_cast<char>(chosen.typeFlag),
                                   chosen.id,
                                   static_cast<char>(i == 0 ? SLOT_OPEN : SLOT_LOCKED),
                                   0,
                                   chosen.targetTime,
                                   0.0f};
    }
    return true;
}

void MNTournament::OnNewTournament(ePuzzleDifficulty difficulty) {
    kLogFmt("OnNewTournament %d\n", LevelOf(difficulty));
    MNTournamentData* const data = Data();
    MNTournamentData ladder{};
    if (data != nullptr) {
        ladder = *data;
    }
    // The record changes only once a whole ladder is drawn.
    if (data == nullptr || !IsLevel(difficulty) || !DrawLadder(difficulty, ladder)) {
        kLogFmt("ERROR: no tournament at difficulty %d\n", LevelOf(difficulty));
        GetMenu()->NewTournamentRefused();
        return;
    }
    ladder.SetDifficulty(difficulty);
    ladder.m_bNewGame = true;
    ladder.m_numPassesUsed = 0;
    ladder.m_numPasses = static_cast<char>(kPassesByDifficulty[LevelOf(difficulty)]);
    *data = ladder;
    MNProfileManager::SaveData(false);
}

// --- Playing and passing slots ---

void MNTournament::OnStartPuzzle(int slot) {
    kLogFmt("OnStartPuzzle %d\n", slot);
    MNTournamentData* const data = Data();
    if (data == nullptr || !IsSlot(slot) ||
        data->m_puzzleDataList[slot].m_puzzleStatus == SLOT_LOCKED) {
        GetMenu()->PuzzleRefused();
        return;
    }
    data->m_currentPuzzle = slot;
    MNSound::StopMusic();
    const MNTournamentPuzzleData& entry = data->m_puzzleDataList[slot];
    Puzzle* const puzzle =
        MNProfile::GetPuzzlebank()->GetPuzzle(entry.m_puzzleId, MNProfileManager::GetLanguage());
    if (!StartPuzzle(puzzle, entry.m_puzzleType)) {
        GetMenu()->PuzzleRefused();
        return;
    }
    data->m_bNewGame = false;
}

void MNTournament::PassSlot(int slot) {
    MNTournamentData& data = *Data();
    MNTournamentPuzzleData& entry = data.m_puzzleDataList[slot];
    if (entry.m_puzzleStatus != SLOT_PASSED) {
        ++data.m_numPassesUsed;
        entry.m_puzzleStatus = SLOT_PASSED;
    }
    if (data.m_numPassesUsed < data.m_numPasses && slot + 1 < kSlots &&
        data.m_puzzleDataList[slot + 1].m_puzzleStatus == SLOT_LOCKED) {
        data.m_puzzleDataList[slot + 1].m_puzzleStatus = SLOT_OPEN;
    }
}

void MNTournament::OnPassPuzzle(int slot) {
    kLogFmt("OnPassPuzzle %d\n", slot);
    MNTournamentData* const data = Data();
    if (data == nullptr || !IsSlot(slot)) {
        return;
    }
    PassSlot(slot);
    data->m_bNewGame = false;
    MNProfileManager::SaveData(false);
}

void MNTournament::QuitPuzzle() {
    StopAndSave(ResumeRecord());
}

// --- Results ---

void MNTournament::UnlockAfter(int slot) {
    MNTournamentData& data = *Data();
    for (int i = slot + 1; i < kSlots; ++i) {
        char& status = data.m_puzzleDataList[i].m_puzzleStatus;
        if (status == SLOT_OPEN) {
            return;
        }
        if (status == SLOT_LOCKED) {
            status = SLOT_OPEN;
            return;
        }
    }
}

void MNTournament::SolveSlot() {
    MNTournamentData& data = *Data();
    MNTournamentPuzzleData& slot = CurrentSlot();
    if (slot.m_puzzleStatus == SLOT_PASSED && data.m_numPassesUsed > 0) {
        --data.m_numPassesUsed;
    }
    const bool bInTime = slot.m_fCompleteTime <= slot.m_fTargetTime;
    slot.m_puzzleStatus =
        slot.m_puzzleStatus == SLOT_OPEN && bInTime ? SLOT_PERFECT : SLOT_COMPLETE;
    UnlockAfter(data.m_currentPuzzle);
}

int MNTournament::ScoreOf(const MNTournamentSolve& solve) {
    int score = solve.bFirstInTime ? kFirstInTimeBase : kSolvedBase;
    const int table = ScoreTableIndex(solve.typeFlag);
    if (table < 0) {
        kLogFmt("ERROR: no score table for puzzle type %d\n", solve.typeFlag);
        return score;
    }
    const int d = LevelOf(solve.difficulty);
    if (solve.typeFlag == PUZZLE_FLAG_CROSSWORD) {
        score -= s_scoreTable[table][d][0] * solve.hintsUsed[0];
        score = score < 0 ? 0 : score;
        kLogFmt("hints:: [%d] score %d\n", solve.hintsUsed[0], score);
    } else {
        for (int kind = 0; kind < PUZZLE_HINT_KINDS; ++kind) {
            score -= s_scoreTable[table][d][kind] * solve.hintsUsed[kind];
            kLogFmt("hints:: [%d] %d\n", kind, solve.hintsUsed[kind]);
        }
    }
    if (solve.errors == 0) {
        score += kNoErrorBonus;
    } else {
        score -= s_errorScoreTable[table][d] * solve.errors;
    }
    if (solve.completeTime <= solve.targetTime) {
        score += solve.bFirstInTime ? kFirstInTimeBonus : kInTimeBonus;
    }
    return score;
}

void MNTournament::CalculateScore() {
    kLogFmt("Calculating score\n");
    const MNPuzzleUI& screen = *m_gameUI;
    MNTournamentPuzzleData& slot = CurrentSlot();
    MNTournamentSolve solve{screen.GetPuzzleType(),
                            Data()->GetDifficulty(),
                            slot.m_puzzleStatus == SLOT_PERFECT,
                            {},
                            screen.GetNumErrorsMade(),
                            slot.m_fCompleteTime,
                            slot.m_fTargetTime};
    for (int kind = 0; kind < PUZZLE_HINT_KINDS; ++kind) {
        solve.hintsUsed[kind] = screen.GetHintsUsed(kind);
    }
    slot.m_score = ScoreOf(solve);
    kLogFmt("score:: %d\n", slot.m_score);
}

void MNTournament::DoGameOver(int result) {
    kLogFmt("OnGameOver\n");
    // The anagram's end changes nothing of the slot: the ladder and its result come back.
    if (!m_bAnagram) {
        const MNPuzzleUI* const screen = RunningScreen();
        if (screen == nullptr) {
            kLogFmt("ERROR: game over without a puzzle being played\n");
            return;
        }
        const float time = screen->GetTime();
        result = EndPuzzleScreen(result);
        MNTournamentPuzzleData& slot = CurrentSlot();
        slot.m_fCompleteTime = time;
        switch (result) {
        case GAME_OVER_SOLVED:
            SolveSlot();
            CalculateScore();
            break;
        case GAME_OVER_ABANDONED:
            PassSlot(Data()->m_currentPuzzle);
            break;
        case GAME_OVER_FAILED:
            if (slot.m_puzzleStatus == SLOT_OPEN) {
                slot.m_puzzleStatus = SLOT_FAILED;
            }
            break;
        case GAME_OVER_LEAVE:
            m_world->SetCurrentSubGame(SUBGAME_FRONTEND);
            break;
        default:
            break;
        }
        if (HandOverToAnagram(result)) {
            m_currentPuzzleType = PUZZLE_FLAG_ANAGRAM;
            SetBackground(BACKGROUND_MENUS);
            MNProfileManager::SaveData(false);
            return;
        }
    }
    SetBackground(BACKGROUND_MENUS);
    MNProfileManager::SaveData(false);
    GetMenu()->PostGameMenu();
    EndAnagram();
}

} // namespace Kelvo_lib
