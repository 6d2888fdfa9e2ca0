#include "puzzle_bank_builder.h"

#include "seeded_random.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace datatool {

using namespace Kelvo_lib;

namespace {

constexpr int kUkEnglish = 0;
constexpr int kMaxDifficulty = BankValueOf(PUZZLE_DIFFICULTY_PRO);

template <int N>
void CopyText(char (&out)[N], const std::string& text) {
    std::memset(out, 0, N);
    std::memcpy(out, text.data(), text.size() < N ? text.size() : N - 1);
}

// Every this many grid puzzles above "MINI", the first carries a hidden word.
constexpr int kHiddenWordEvery = 2;
// The stream of random numbers of a puzzle's hidden word, apart from its grid's.
constexpr std::uint32_t kHiddenWordStream = 0x5E11;

int CountAt(const PuzzleBankPlan& plan, int difficulty) {
    return difficulty == 0 ? plan.miniCount : plan.perDifficulty;
}

// The share of one kind and difficulty's puzzles, in percent, that may give one answer before
// the filler takes it only where nothing else fits.
constexpr int kAnswerSharePercent = 5;

// The answers a kind's puzzles give at each difficulty, so far. The share is rounded down, so
// that no answer passes it: 2 of the 50 "MINI" puzzles, not 3 (6 %); one at least.
std::vector<AnswerUse> AnswerUses(const PuzzleBankPlan& plan) {
    std::vector<AnswerUse> uses;
    for (int difficulty = 0; difficulty <= kMaxDifficulty; ++difficulty) {
        uses.emplace_back(std::max(1, CountAt(plan, difficulty) * kAnswerSharePercent / 100));
    }
    return uses;
}

// Sudoku, wordsearch, crossword and fitword.
constexpr int kPuzzleTypes = 4;

std::string Failure(const char* what, int difficulty, std::uint32_t seed) {
    return std::string(what) + " at difficulty " + std::to_string(difficulty) + " from seed " +
           std::to_string(seed);
}

// Generates and adds every puzzle of one type, by difficulty, with addOne(difficulty,
// seed, id, index) giving the reason it failed or nothing; the first reason, or empty.
template <class AddOne>
std::string AddType(const PuzzleBankPlan& plan, int type, int& nextId, AddOne addOne) {
    for (int difficulty = 0; difficulty <= kMaxDifficulty; ++difficulty) {
        for (int index = 0; index < CountAt(plan, difficulty); ++index) {
            const std::uint32_t seed = PuzzleSeed(plan.seed, type, difficulty, index);
            std::string failure = addOne(difficulty, seed, nextId++, index);
            if (!failure.empty()) {
                return failure;
            }
        }
    }
    return {};
}

template <class Record>
Record ToGridRecord(const GeneratedGridPuzzle& puzzle, int id, int oldId, bool hasHiddenWord) {
    Record record;
    record.puzzleID = id;
    record.oldPuzzleID = oldId;
    record.language = kUkEnglish;
    record.numRows = static_cast<u8>(puzzle.rows);
    record.numCols = static_cast<u8>(puzzle.cols);
    record.spelloutIndex = static_cast<short>(hasHiddenWord ? 0 : -1);
    record.difficulty = static_cast<u8>(puzzle.difficulty);
    const int cells = puzzle.rows * puzzle.cols;
    record.cells.SetSize(cells);
    record.cellsDone.SetSize(cells);
    for (int cell = 0; cell < cells; ++cell) {
        record.cells(cell) = CrosswordDataCell{CROSSWORD_NO_WORD, CROSSWORD_NO_WORD,
                                               CROSSWORD_NO_WORD, CROSSWORD_NO_WORD};
        const char letter = puzzle.letters[static_cast<std::size_t>(cell)];
        record.cellsDone(cell) = letter == kBlockCell ? 0 : letter;
    }
    for (const GridPuzzleWord& placed : puzzle.words) {
        const int index = record.words.Add();
        auto& word = record.words(index);
        std::memset(&word, 0, sizeof(word));
        word.bDirection = placed.down;
        word.startCell = placed.startCell;
        CopyText(word.word, placed.word);
        if constexpr (requires { word.clue; }) {
            CopyText(word.clue, placed.clue);
        }
        const int step = placed.down ? puzzle.cols : 1;
        for (std::size_t letter = 0; letter < placed.word.size(); ++letter) {
            CrosswordDataCell& cell =
                record.cells(placed.startCell + static_cast<int>(letter) * step);
            (placed.down ? cell.wordIndexD : cell.wordIndexA) = static_cast<u8>(index);
            (placed.down ? cell.wordLetterD : cell.wordLetterA) = static_cast<u8>(letter);
        }
    }
    return record;
}

// Generates (by generate(difficulty, seed)) and adds the crosswords (or fitwords) of the
// plan, every other one above "MINI" with a hidden word not in usedHiddenWords (to which
// it is added), through the writer's add for their record.
template <class Record, class Generate>
std::string AddGridPuzzles(const PuzzleBankPlan& plan, int type, int& nextId,
                           const Generate& generate, const HiddenWordPicker& hiddenWords,
                           std::set<std::string>& usedHiddenWords, PuzzleBankWriter& writer,
                           bool (PuzzleBankWriter::*add)(const Record&, const SpelloutData*)) {
    return AddType(plan, type, nextId,
                   [&](int difficulty, std::uint32_t seed, int id, int index) -> std::string {
                       const std::optional<GeneratedGridPuzzle> puzzle = generate(difficulty, seed);
                       if (!puzzle) {
                           return Failure("no grid puzzle", difficulty, seed);
                       }
                       std::optional<HiddenWord> hidden;
                       if (difficulty > 0 && index % kHiddenWordEvery == 0) {
                           SeededRandom random(MixSeed(seed, kHiddenWordStream, 0));
                           hidden = hiddenWords.Pick(*puzzle, random, usedHiddenWords);
                       }
                       if (hidden) {
                           usedHiddenWords.insert(hidden->word);
                       }
                       const SpelloutData spellout =
                           hidden ? ToSpelloutData(*hidden, difficulty) : SpelloutData();
                       const Record record =
                           ToGridRecord<Record>(*puzzle, id, index, hidden.has_value());
                       if (!(writer.*add)(record, hidden ? &spellout : nullptr)) {
                           return Failure("grid puzzle refused by the bank", difficulty, seed);
                       }
                       return {};
                   });
}

// The words that are lemmas or their regular forms: no hidden word is old or irregular.
std::vector<std::string> RegularForms(std::vector<std::string> words,
                                      const WordNetLexicon& lexicon) {
    std::erase_if(words,
                  [&](const std::string& word) { return !lexicon.IsRegularForm(LowerCase(word)); });
    return words;
}

} // namespace

PuzzleGenerators::PuzzleGenerators(std::vector<std::string> words,
                                   SharedLetterSets dictionaryAnagrams,
                                   const WordNetLexicon& lexicon, const ContentRules& rules,
                                   const CorpusCounts& counts)
    : PuzzleGenerators(
          SplitVocabulary(std::move(words), std::move(dictionaryAnagrams), lexicon, rules, counts),
          lexicon, rules, counts) {}

PuzzleGenerators::Vocabulary PuzzleGenerators::SplitVocabulary(std::vector<std::string> words,
                                                               SharedLetterSets dictionaryAnagrams,
                                                               const WordNetLexicon& lexicon,
                                                               const ContentRules& rules,
                                                               const CorpusCounts& counts) {
    std::vector<std::string> setterWords = SetterWords(std::move(words), lexicon, rules, counts);
    LemmaRoots lemmaRoots(setterWords, lexicon);
    return {std::move(dictionaryAnagrams), std::move(setterWords), std::move(lemmaRoots)};
}

PuzzleGenerators::PuzzleGenerators(Vocabulary vocabulary, const WordNetLexicon& lexicon,
                                   const ContentRules& rules, const CorpusCounts& counts)
    : PuzzleGenerators(vocabulary, lexicon, rules,
                       RateWords(vocabulary.setterWords, counts, rules)) {}

PuzzleGenerators::PuzzleGenerators(Vocabulary& vocabulary, const WordNetLexicon& lexicon,
                                   const ContentRules& rules, const std::vector<RatedWord>& rated)
    : crosswords(ClueWords(rated, ClueWriter(lexicon, rules)), vocabulary.lemmaRoots),
      fitwords(rated, vocabulary.lemmaRoots),
      hiddenWords(
          RegularForms(WordsOfDifficulty(rated, BankValueOf(PUZZLE_DIFFICULTY_BEGINNER)), lexicon),
          vocabulary.anagrams, rules.family, vocabulary.lemmaRoots),
      wordsearches(rated, rules.family, lexicon, vocabulary.lemmaRoots) {}

std::uint32_t PuzzleSeed(std::uint32_t bankSeed, int type, int difficulty, int index) {
    return MixSeed(bankSeed, static_cast<std::uint32_t>(type * 4 + difficulty),
                   static_cast<std::uint32_t>(index));
}

SudokuData ToSudokuData(const GeneratedSudoku& sudoku, int id, int oldId) {
    SudokuData data;
    data.puzzleID = id;
    data.oldPuzzleID = oldId;
    data.language = PUZZLE_LANGUAGE_ALL;
    data.size = static_cast<u8>(sudoku.size);
    data.difficulty = static_cast<u8>(sudoku.difficulty);
    std::memcpy(data.givens, sudoku.givens.data(), sudoku.givens.size());
    std::memcpy(data.solution, sudoku.solution.data(), sudoku.solution.size());
    return data;
}

WordsearchData ToWordsearchData(const GeneratedWordsearch& wordsearch, int id, int oldId) {
    WordsearchData data;
    data.puzzleID = id;
    data.oldPuzzleID = oldId;
    data.numRows = static_cast<unsigned char>(wordsearch.rows);
    data.numCols = static_cast<unsigned char>(wordsearch.cols);
    data.difficulty = static_cast<unsigned char>(wordsearch.difficulty);
    data.language = kUkEnglish;
    CopyText(data.title, wordsearch.title);
    for (char letter : wordsearch.grid) {
        data.gridMap.Push(letter);
    }
    for (const PlacedWord& placed : wordsearch.words) {
        WordsearchDataWord& word = data.words(data.words.Add());
        word.cellStartIndex = data.wordTrails.Size();
        for (int cell : placed.cells) {
            data.wordTrails.Push(cell);
        }
        word.cellEndIndex = data.wordTrails.Size() - 1;
        CopyText(word.word, placed.word);
    }
    data.numWords = static_cast<unsigned char>(data.words.Size());
    data.numTrailCells = static_cast<unsigned char>(data.wordTrails.Size());
    return data;
}

CrosswordData ToCrosswordData(const GeneratedGridPuzzle& crossword, int id, int oldId,
                              bool hasHiddenWord) {
    return ToGridRecord<CrosswordData>(crossword, id, oldId, hasHiddenWord);
}

FitwordData ToFitwordData(const GeneratedGridPuzzle& fitword, int id, int oldId,
                          bool hasHiddenWord) {
    return ToGridRecord<FitwordData>(fitword, id, oldId, hasHiddenWord);
}

SpelloutData ToSpelloutData(const HiddenWord& hidden, int difficulty) {
    SpelloutData spellout;
    CopyText(spellout.word, hidden.word);
    for (int cell : hidden.cells) {
        spellout.cells.Push(cell);
    }
    spellout.difficulty = static_cast<unsigned int>(difficulty);
    return spellout;
}

std::string CheckPlanFits(const PuzzleBankPlan& plan) {
    const long long asked = kPuzzleTypes * (static_cast<long long>(plan.miniCount) +
                                            kMaxDifficulty * plan.perDifficulty);
    if (asked <= PUZZLE_BANK_MAX_ENTRIES) {
        return {};
    }
    return "the bank would be full: it holds at most " + std::to_string(PUZZLE_BANK_MAX_ENTRIES) +
           " puzzles, and " + std::to_string(kPuzzleTypes) + " kinds of " +
           std::to_string(plan.miniCount) + " MINI puzzles and " +
           std::to_string(plan.perDifficulty) + " at each of difficulties 1 to " +
           std::to_string(kMaxDifficulty) + " make " + std::to_string(asked);
}

bool BuildPuzzleBank(const PuzzleBankPlan& plan, const PuzzleGenerators& generators,
                     PuzzleBankWriter& writer, std::string& error) {
    error = CheckPlanFits(plan);
    if (!error.empty()) {
        return false;
    }
    int nextId = 1;
    error = AddType(plan, PUZZLE_TYPE_SUDOKU, nextId,
                    [&](int difficulty, std::uint32_t seed, int id, int index) -> std::string {
                        const std::optional<GeneratedSudoku> sudoku =
                            GenerateSudoku(difficulty, seed);
                        if (!sudoku) {
                            return Failure("no sudoku", difficulty, seed);
                        }
                        if (!writer.AddSudoku(ToSudokuData(*sudoku, id, index))) {
                            return Failure("sudoku refused by the bank", difficulty, seed);
                        }
                        return {};
                    });
    if (!error.empty()) {
        return false;
    }
    error = AddType(plan, PUZZLE_TYPE_WORDSEARCH, nextId,
                    [&](int difficulty, std::uint32_t seed, int id, int index) -> std::string {
                        const std::optional<GeneratedWordsearch> wordsearch =
                            generators.wordsearches.Generate(difficulty, seed);
                        if (!wordsearch) {
                            return Failure("no wordsearch", difficulty, seed);
                        }
                        if (!writer.AddWordsearch(ToWordsearchData(*wordsearch, id, index))) {
                            return Failure("wordsearch refused by the bank", difficulty, seed);
                        }
                        return {};
                    });
    if (!error.empty()) {
        return false;
    }
    std::set<std::string> usedHiddenWords;
    ClueTurns clueTurns;
    std::vector<AnswerUse> crosswordAnswers = AnswerUses(plan);
    const auto crossword = [&](int difficulty, std::uint32_t seed) {
        return generators.crosswords.Generate(
            difficulty, seed, clueTurns, crosswordAnswers[static_cast<std::size_t>(difficulty)]);
    };
    error = AddGridPuzzles(plan, PUZZLE_TYPE_CROSSWORD, nextId, crossword, generators.hiddenWords,
                           usedHiddenWords, writer, &PuzzleBankWriter::AddCrossword);
    if (!error.empty()) {
        return false;
    }
    std::vector<AnswerUse> fitwordAnswers = AnswerUses(plan);
    const auto fitword = [&](int difficulty, std::uint32_t seed) {
        return generators.fitwords.Generate(difficulty, seed,
                                            fitwordAnswers[static_cast<std::size_t>(difficulty)]);
    };
    error = AddGridPuzzles(plan, PUZZLE_TYPE_FITWORD, nextId, fitword, generators.hiddenWords,
                           usedHiddenWords, writer, &PuzzleBankWriter::AddFitword);
    return error.empty();
}

} // namespace datatool
