// Puzzle banks read back through the game's bank reader, every puzzle checked by the
// independent checkers, its words, themes and clues by the content checks: a small bank generated
// here from the real word list and WordNet (both builds), and the whole bank the disc
// target wrote beside this test program, with its counts, its answers' shares of a level, and
// its clues below the hardest difficulty all hand-written, three or more for an answer a level
// repeats (release build only: the checks of 1,400 puzzles take half a minute under the
// sanitizers).
#include "content_checks.h"
#include "puzzle_validation.h"
#include "real_vocabulary.h"

#include "puzzles/clue_writer.h"
#include "puzzles/sudoku_rater.h"

#include <services/puzzle.h>
#include <services/puzzlebank.h>

#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <type_traits>

using namespace datatool;
using namespace Kelvo_lib;

namespace {

constexpr int kTypes[] = {PUZZLE_TYPE_SUDOKU, PUZZLE_TYPE_WORDSEARCH, PUZZLE_TYPE_CROSSWORD,
                          PUZZLE_TYPE_FITWORD};

// The bank the disc target writes: <build>/disc/ beside <build>/bin/.
std::filesystem::path DiscBankPath() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "disc" /
           "wii" / "puz_uken.kmn";
}

// Reads a bank's bytes and checks every puzzle in it against the real rules and word list.
class BankChecker {
public:
    explicit BankChecker(std::vector<u8> file)
        : m_file(std::move(file)), m_rules(real_vocabulary::Rules()),
          m_lexicon(*real_vocabulary::Lexicon()), m_counts(*real_vocabulary::Counts()),
          m_letterSets(content_checks::DictionaryLetterSets(kDefaultWordListPath)),
          m_stream(m_file.data(), static_cast<unsigned int>(m_file.size()), K_IO_ACCESS_READ) {
        EXPECT_TRUE(m_bank.Load(&m_stream));
    }

    // The count of each (type, difficulty).
    std::map<std::pair<int, int>, int> Counts() const {
        std::map<std::pair<int, int>, int> counts;
        for (int i = 0; i < m_bank.GetNumEntries(); ++i) {
            ++counts[{m_bank.GetEntry(i).type, m_bank.GetEntry(i).difficulty}];
        }
        return counts;
    }

    int NumEntries() const { return m_bank.GetNumEntries(); }

    // Checks every puzzle, and that no hidden word comes twice; the number of hidden words.
    int CheckEveryPuzzle() {
        for (int i = 0; i < m_bank.GetNumEntries(); ++i) {
            const PuzzleBankEntry entry = m_bank.GetEntry(i);
            Puzzle* puzzle = m_bank.GetPuzzle(entry.id, entry.language < 0 ? 0 : entry.language);
            EXPECT_NE(puzzle, nullptr) << entry.id;
            if (puzzle != nullptr) {
                Check(entry, *puzzle);
            }
        }
        const std::vector<std::string> repeated = content_checks::RepeatedWords(m_hiddenWords);
        EXPECT_TRUE(repeated.empty()) << "hidden word " << repeated[0] << " comes twice";
        for (const auto& [clue, answers] : m_answersByClue) {
            EXPECT_EQ(answers.size(), 1u) << "clue for two answers: " << clue;
        }
        return static_cast<int>(m_hiddenWords.size());
    }

    // The answers given by more than one in twenty crosswords (or fitwords) of one
    // difficulty (by more than 2 of 50, once at least), each with its type, difficulty and
    // count.
    std::vector<std::string> OverusedAnswers() const {
        std::vector<std::string> overused;
        const std::map<std::pair<int, int>, int> counts = Counts();
        for (const auto& [kind, uses] : m_answerUses) {
            const int limit = std::max(1, counts.at(kind) / 20);
            for (const auto& [answer, count] : uses) {
                if (count > limit) {
                    overused.push_back(answer + " in " + std::to_string(count) +
                                       " puzzles of type " + std::to_string(kind.first) +
                                       ", difficulty " + std::to_string(kind.second));
                }
            }
        }
        return overused;
    }

    // The answers that more than one crossword of a difficulty gives.
    std::set<std::string> CrosswordAnswersRepeatedInALevel() const {
        std::set<std::string> repeated;
        for (const auto& [kind, uses] : m_answerUses) {
            for (const auto& [answer, count] : uses) {
                if (kind.first == PUZZLE_TYPE_CROSSWORD && count > 1) {
                    repeated.insert(answer);
                }
            }
        }
        return repeated;
    }

    // The clues below the hardest difficulty that the clue list does not give, by puzzle.
    const std::vector<std::string>& DictionaryCluesBelowHardest() const {
        return m_dictionaryCluesBelowHardest;
    }

    // The clue the crosswords give each answer, at each use.
    const std::map<std::string, std::vector<std::string>>& CluesByAnswer() const {
        return m_cluesByAnswer;
    }

private:
    static void Expect(const std::vector<std::string>& problems, int id) {
        EXPECT_TRUE(problems.empty()) << "puzzle " << id << ": " << problems[0];
    }

    void ExpectShownWords(const std::vector<std::string>& words, int id, int difficulty) const {
        for (const std::string& word : words) {
            Expect(content_checks::ShownWordProblems(word, m_rules), id);
            Expect(content_checks::CommonWordProblems(word, difficulty, m_counts, m_lexicon), id);
            Expect(content_checks::SensitiveProblems(word, difficulty, m_rules), id);
            Expect(content_checks::EverydayProblems(word, difficulty, m_counts, m_lexicon), id);
        }
    }

    template <class Record>
    void ExpectNoKindredWords(const Record& record) const {
        std::vector<std::string> words;
        for (int w = 0; w < record.words.Size(); ++w) {
            words.push_back(record.words(w).word);
        }
        Expect(content_checks::KindredWordProblems(words, m_lexicon), record.puzzleID);
    }

    template <class Record>
    std::vector<std::string> WordsOf(const Record& record, const SpelloutData* spellout) {
        std::vector<std::string> words;
        for (int w = 0; w < record.words.Size(); ++w) {
            words.push_back(record.words(w).word);
            constexpr int kType =
                std::is_same_v<Record, CrosswordData> ? PUZZLE_TYPE_CROSSWORD : PUZZLE_TYPE_FITWORD;
            ++m_answerUses[{kType, record.difficulty}][words.back()];
        }
        if (spellout != nullptr) {
            Expect(content_checks::HiddenWordKinProblems(spellout->word, words, m_lexicon),
                   record.puzzleID);
            words.push_back(spellout->word);
            m_hiddenWords.push_back(spellout->word);
            Expect(puzzle_validation::HiddenWordProblems(*spellout, record), record.puzzleID);
            Expect(content_checks::HiddenWordProblems(spellout->word, m_letterSets, m_rules.family),
                   record.puzzleID);
            EXPECT_EQ(record.spelloutIndex, 0) << record.puzzleID;
        }
        return words;
    }

    void ExpectFamilyClues(const CrosswordData& crossword) {
        for (int w = 0; w < crossword.words.Size(); ++w) {
            const std::string clue = crossword.words(w).clue;
            Expect(content_checks::ClueProblems(clue, crossword.words(w).word, m_rules, m_lexicon),
                   crossword.puzzleID);
            Expect(content_checks::SensitiveProblems(clue, crossword.difficulty, m_rules),
                   crossword.puzzleID);
            if (!m_rules.clues.HasClues(crossword.words(w).word)) {
                Expect(content_checks::DictionaryClueProblems(clue, crossword.words(w).word,
                                                              m_rules, m_lexicon),
                       crossword.puzzleID);
                if (crossword.difficulty < 3) {
                    m_dictionaryCluesBelowHardest.push_back(std::to_string(crossword.puzzleID) +
                                                            ": " + clue);
                }
            }
            m_cluesByAnswer[crossword.words(w).word].push_back(clue);
            m_answersByClue[clue.substr(0, clue.rfind(" ("))].insert(crossword.words(w).word);
        }
        Expect(content_checks::RepeatedClueProblems(crossword), crossword.puzzleID);
        Expect(content_checks::ClueNamesAnotherAnswerProblems(crossword), crossword.puzzleID);
    }

    void Check(const PuzzleBankEntry& entry, Puzzle& puzzle) {
        switch (puzzle.GetType()) {
        case PUZZLE_TYPE_SUDOKU: {
            const SudokuData& sudoku = *static_cast<SudokuPuzzle&>(puzzle).m_sudoku;
            Expect(puzzle_validation::SudokuProblems(sudoku), entry.id);
            const SudokuLayout& layout = *SudokuLayout::OfSize(sudoku.size);
            EXPECT_EQ(
                RateSudoku(layout, SudokuCells(sudoku.givens, sudoku.givens + layout.NumCells())),
                SudokuRatingOfDifficulty(sudoku.difficulty))
                << entry.id;
            return;
        }
        case PUZZLE_TYPE_WORDSEARCH: {
            const WordsearchData& wordsearch = *static_cast<WordsearchPuzzle&>(puzzle).m_wordsearch;
            Expect(puzzle_validation::WordsearchProblems(wordsearch), entry.id);
            std::vector<std::string> words;
            for (int w = 0; w < wordsearch.words.Size(); ++w) {
                words.push_back(wordsearch.words(w).word);
                Expect(content_checks::ThemeProblems(wordsearch.title, words.back(), m_lexicon),
                       entry.id);
            }
            ExpectShownWords(words, entry.id, wordsearch.difficulty);
            ExpectNoKindredWords(wordsearch);
            Expect(content_checks::GridLineProblems(wordsearch, m_rules.family), entry.id);
            return;
        }
        case PUZZLE_TYPE_CROSSWORD: {
            const CrosswordPuzzle& crossword = static_cast<CrosswordPuzzle&>(puzzle);
            Expect(puzzle_validation::CrosswordProblems(*crossword.m_crossword), entry.id);
            ExpectFamilyClues(*crossword.m_crossword);
            ExpectNoKindredWords(*crossword.m_crossword);
            ExpectShownWords(WordsOf(*crossword.m_crossword, crossword.m_spellout), entry.id,
                             crossword.m_crossword->difficulty);
            return;
        }
        default: {
            const FitwordPuzzle& fitword = static_cast<FitwordPuzzle&>(puzzle);
            Expect(puzzle_validation::FitwordProblems(*fitword.m_fitword), entry.id);
            ExpectNoKindredWords(*fitword.m_fitword);
            ExpectShownWords(WordsOf(*fitword.m_fitword, fitword.m_spellout), entry.id,
                             fitword.m_fitword->difficulty);
            return;
        }
        }
    }

    std::vector<u8> m_file;
    const ContentRules& m_rules;
    const WordNetLexicon& m_lexicon;
    const CorpusCounts& m_counts;
    std::vector<std::string> m_hiddenWords;
    std::map<std::string, std::vector<std::string>> m_cluesByAnswer;
    std::map<std::string, std::set<std::string>> m_answersByClue;
    std::vector<std::string> m_dictionaryCluesBelowHardest;
    std::map<std::pair<int, int>, std::map<std::string, int>> m_answerUses; // by type, difficulty
    const std::vector<std::size_t> m_letterSets;
    kMemoryIOStream m_stream;
    PuzzleBank m_bank;
};

std::vector<u8> GenerateBank(const PuzzleBankPlan& plan, const PuzzleGenerators& generators) {
    PuzzleBankWriter writer;
    std::string error;
    EXPECT_TRUE(BuildPuzzleBank(plan, generators, writer, error)) << error;
    kArray<u8> file;
    writer.Write(file);
    return {file.Data(), file.Data() + file.Size()};
}

constexpr PuzzleBankPlan kSmallPlan{7, 3, 4};

class GeneratedBank : public testing::Test {
protected:
    static void TearDownTestSuite() { real_vocabulary::ReleaseGenerators(); }
};

TEST_F(GeneratedBank, EveryPuzzleOfEveryTypePassesTheCheckers) {
    const PuzzleGenerators* generators = real_vocabulary::Generators();
    ASSERT_NE(generators, nullptr);
    BankChecker bank(GenerateBank(kSmallPlan, *generators));
    const std::map<std::pair<int, int>, int> counts = bank.Counts();
    for (int type : kTypes) {
        EXPECT_EQ(counts.at({type, 0}), kSmallPlan.miniCount) << type;
        for (int difficulty = 1; difficulty <= 3; ++difficulty) {
            EXPECT_EQ(counts.at({type, difficulty}), kSmallPlan.perDifficulty) << type;
        }
    }
    // Every other crossword and fitword above "MINI" carries a hidden word.
    EXPECT_EQ(bank.CheckEveryPuzzle(), 2 * 3 * ((kSmallPlan.perDifficulty + 1) / 2));
}

TEST_F(GeneratedBank, SameSeedGivesTheSameBytesAndAnotherSeedOtherPuzzles) {
    const PuzzleGenerators* generators = real_vocabulary::Generators();
    ASSERT_NE(generators, nullptr);
    const PuzzleBankPlan plan{11, 1, 1};
    const std::vector<u8> first = GenerateBank(plan, *generators);
    EXPECT_EQ(GenerateBank(plan, *generators), first);
    EXPECT_NE(GenerateBank(PuzzleBankPlan{12, 1, 1}, *generators), first);
}

TEST(ClueList, EveryListedClueFollowsTheRulesOfTheBanksClues) {
    const WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    ASSERT_NE(lexicon, nullptr);
    const ContentRules& rules = real_vocabulary::Rules();
    EXPECT_GT(rules.clues.Answers().size(), 2000u);
    const std::vector<std::string> problems =
        content_checks::ListedClueProblems(rules.clues, ClueWriter(*lexicon, rules), *lexicon);
    for (const std::string& problem : problems) {
        ADD_FAILURE() << problem;
    }
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PUZZLES_SANITIZED_BUILD 1
#endif
#endif

// Gives the real vocabulary back when it ends: the sound and sprite suites that follow need
// the arena whole, and a later suite that uses the vocabulary loads it again.
class DiscBank : public testing::Test {
protected:
    static void TearDownTestSuite() { real_vocabulary::ReleaseVocabulary(); }
};

TEST_F(DiscBank, HoldsEnoughPuzzlesOfEachTypeAndEveryOnePassesEveryCheck) {
#ifdef PUZZLES_SANITIZED_BUILD
    GTEST_SKIP() << "the whole bank is checked in the release build";
#endif
    ASSERT_NE(real_vocabulary::Lexicon(), nullptr);
    ASSERT_NE(real_vocabulary::Counts(), nullptr);
    std::ifstream in(DiscBankPath(), std::ios::binary);
    ASSERT_TRUE(in) << DiscBankPath() << " is missing: build the disc target";
    std::vector<u8> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    BankChecker bank(std::move(file));
    EXPECT_LE(bank.NumEntries(), PUZZLE_BANK_MAX_ENTRIES);
    const std::map<std::pair<int, int>, int> counts = bank.Counts();
    for (int type : kTypes) {
        EXPECT_GE(counts.at({type, 0}), 50) << type;
        for (int difficulty = 1; difficulty <= 3; ++difficulty) {
            EXPECT_GE(counts.at({type, difficulty}), 100) << type << " " << difficulty;
        }
    }
    EXPECT_GT(bank.CheckEveryPuzzle(), 0);
    for (const std::string& overused : bank.OverusedAnswers()) {
        ADD_FAILURE() << overused;
    }
    // Below the hardest difficulty every clue is written by hand.
    for (const std::string& clue : bank.DictionaryCluesBelowHardest()) {
        ADD_FAILURE() << "a dictionary's clue in puzzle " << clue;
    }
    // An answer the crosswords often give, of several good senses, is not always
    // clued alike.
    const ClueWriter writer(*real_vocabulary::Lexicon(), real_vocabulary::Rules());
    int often = 0;
    int varied = 0;
    for (const auto& [answer, clues] : bank.CluesByAnswer()) {
        if (clues.size() >= 6 && writer.CluesFor(answer).size() > 1) {
            ++often;
            varied += std::set<std::string>(clues.begin(), clues.end()).size() > 1 ? 1 : 0;
        }
    }
    EXPECT_GT(often, 8);
    EXPECT_GE(varied * 10, often * 9);
    // An answer that a level gives more than once has clues enough to vary there.
    for (const std::string& answer : bank.CrosswordAnswersRepeatedInALevel()) {
        EXPECT_GE(writer.CluesFor(answer).size(), 3u) << answer << " repeats within a level";
    }
}

} // namespace
