// CrosswordGenerator: crosswords on British-style blocked grids (grid_pattern.h) filled
// with words that have a WordNet clue (clue_writer.h), the same puzzle for the same
// seed. A "MINI" (difficulty 0) is 5 x 7 or 7 x 7 with 5 words or more; 1 to 3 grow to
// 9 x 9, 11 x 11 and 13 x 13 and take rarer words (grid_puzzle.h). Every word has cells
// that no other word crosses, answers are 3 to 13 letters, and cells and words together
// stay within 204; no two words share a clue, nor does a clue name another answer of its
// grid. Where the filler has a choice it takes an answer with a hand-written clue
// (clue_list.h). A word of several clues takes them in turn by how many times a bank has
// given it so far, so that its clue varies across the bank, passing over one that names
// another answer, and an answer the bank has given up to its limit is taken only where no
// other fits.
// Too poor a vocabulary, or an unknown difficulty, gives nothing. Read-only once built.
#pragma once

#include "clue_writer.h"
#include "grid_puzzle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace datatool {

// Words with their clues (one or more each), the clues kept in one text (the tool runs
// in the console's heap).
class CluedWords {
public:
    // word: upper-case A to Z; clues: not empty, none holding a line break; preferred: the
    // filler tries the word first (RatedWord).
    void Add(const std::string& word, const std::vector<std::string>& clues, int count,
             bool preferred);

    // Gives back the room that adding words left spare.
    void Shrink();

    const std::vector<RatedWord>& Words() const { return m_words; }
    // The clues of word i, one or more.
    std::vector<std::string_view> Clues(std::size_t i) const;

private:
    std::vector<RatedWord> m_words;
    std::string m_clues;
    std::vector<std::uint32_t> m_clueEnds;
};

// The words (upper case, up to 13 letters) that have a fair clue, with their clues: no
// clue given to two answers (an answer with listed clues keeps its own, else the commoner
// keeps it), a word with listed clues preferred, and a word whose clue names a sensitive
// word rated no commoner than a sensitive word itself (grid_puzzle.h).
CluedWords ClueWords(const std::vector<RatedWord>& words, const ClueWriter& clues);

// How many times each answer (upper case) has been clued so far.
using ClueTurns = std::unordered_map<std::string, int>;

// The turn, from turn on through the answer's clues in a cycle (clues[turn % size]), of the
// first clue that names no other of the grid's answers (upper case) as a word: "Superficial"
// is no clue for SHALLOW beside SUPERFICIAL. Nothing when each clue names one.
std::optional<int> FreeClueTurn(const std::vector<std::string_view>& clues, int turn,
                                const std::string& answer, const std::vector<std::string>& answers);

class CrosswordGenerator {
public:
    // lemmaRoots: the roots the words' lemmas give their families (kindred_words.h).
    CrosswordGenerator(CluedWords words, LemmaRoots lemmaRoots);

    // The crossword of the seed, each word given its first clue.
    std::optional<GeneratedGridPuzzle> Generate(int difficulty, std::uint32_t seed) const;
    // The crossword of the seed in a bank that has given the answers in use so far, each word
    // given its clue of the turn that turns counts for it (the first, second, ... in a
    // cycle); both counted on.
    std::optional<GeneratedGridPuzzle> Generate(int difficulty, std::uint32_t seed,
                                                ClueTurns& turns, AnswerUse& use) const;
    const CluedWords& Vocabulary() const { return m_words; }

private:
    // The word's clues; none for a word without one.
    std::vector<std::string_view> CluesOf(const std::string& word) const;

    CluedWords m_words;
    std::vector<std::uint32_t> m_byWord; // word positions in alphabetical order
    WordIndex m_index;
    LemmaRoots m_lemmaRoots;
};

} // namespace datatool
