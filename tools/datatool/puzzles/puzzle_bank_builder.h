// Fills a puzzle bank from the generators: sudokus, wordsearches, crosswords and
// fitwords at each bank difficulty, the same bank for the same plan. Bank ids count from
// 1 in that order of types, each type in order of difficulty; a puzzle's old id is its
// place among those of its type and difficulty, which with the plan's seed makes that
// one puzzle's grid again. Sudokus are for all languages, the word puzzles (wbritish
// words, WordNet clues) for UK English. Every other crossword and fitword above "MINI"
// carries a hidden word, no two the same in the bank; a grid record's spellout index is
// then 0, else -1. An answer of several clues takes them in turn through the crosswords,
// in the order of their ids. Where a fill has a choice, no answer is given by more than one
// in twenty crosswords (or fitwords) of a difficulty.
#pragma once

#include "crossword_generator.h"
#include "fitword_generator.h"
#include "hidden_word.h"
#include "sudoku_generator.h"
#include "word_list.h"
#include "wordsearch_generator.h"

#include <services/puzzlebankwriter.h>

#include <cstdint>
#include <string>

namespace datatool {

struct PuzzleBankPlan {
    std::uint32_t seed = 1;
    int miniCount = 50;      // difficulty 0 of each type
    int perDifficulty = 100; // each of difficulties 1 to 3 of each type
};

// The generators of the word puzzles, built together from the words of one word list
// (word_list.h) that a setter would use (content_rules.h), each rated by its count in
// the British corpus: the crosswords from those that have a fair clue, fitwords and
// wordsearches from them all, hidden words from the commoner ones that are lemmas or
// their regular forms, whose letters spell no other word of the whole dictionary the list
// comes from (LoadDictionaryAnagrams). The lexicon and the counts are needed only while
// they are built; the rules must outlive them.
struct PuzzleGenerators {
    PuzzleGenerators(std::vector<std::string> words, SharedLetterSets dictionaryAnagrams,
                     const WordNetLexicon& lexicon, const ContentRules& rules,
                     const CorpusCounts& counts);

    CrosswordGenerator crosswords;
    FitwordGenerator fitwords;
    HiddenWordPicker hiddenWords;
    WordsearchGenerator wordsearches;

private:
    // The dictionary's shared letter sets, which no hidden word may spell, the words a
    // setter would use, and the roots their lemmas give their families (one table, which
    // each grid generator and the hidden words keep a copy of).
    struct Vocabulary {
        SharedLetterSets anagrams;
        std::vector<std::string> setterWords;
        LemmaRoots lemmaRoots;
    };
    static Vocabulary SplitVocabulary(std::vector<std::string> words,
                                      SharedLetterSets dictionaryAnagrams,
                                      const WordNetLexicon& lexicon, const ContentRules& rules,
                                      const CorpusCounts& counts);
    PuzzleGenerators(Vocabulary vocabulary, const WordNetLexicon& lexicon,
                     const ContentRules& rules, const CorpusCounts& counts);
    PuzzleGenerators(Vocabulary& vocabulary, const WordNetLexicon& lexicon,
                     const ContentRules& rules, const std::vector<RatedWord>& rated);
};

// Why the plan's puzzles, each of the four types at every difficulty, would not fit in one
// bank (PUZZLE_BANK_MAX_ENTRIES), or empty when they fit.
std::string CheckPlanFits(const PuzzleBankPlan& plan);

// The seed of one generated puzzle.
std::uint32_t PuzzleSeed(std::uint32_t bankSeed, int type, int difficulty, int index);

Kelvo_lib::SudokuData ToSudokuData(const GeneratedSudoku& sudoku, int id, int oldId);
Kelvo_lib::WordsearchData ToWordsearchData(const GeneratedWordsearch& wordsearch, int id,
                                           int oldId);
// hasHiddenWord sets the spellout index.
Kelvo_lib::CrosswordData ToCrosswordData(const GeneratedGridPuzzle& crossword, int id, int oldId,
                                         bool hasHiddenWord);
Kelvo_lib::FitwordData ToFitwordData(const GeneratedGridPuzzle& fitword, int id, int oldId,
                                     bool hasHiddenWord);
Kelvo_lib::SpelloutData ToSpelloutData(const HiddenWord& hidden, int difficulty);

// Generates the plan's puzzles into writer; false with the reason in error when the
// plan does not fit in a bank, or a generator or the writer fails.
bool BuildPuzzleBank(const PuzzleBankPlan& plan, const PuzzleGenerators& generators,
                     Kelvo_lib::PuzzleBankWriter& writer, std::string& error);

} // namespace datatool
