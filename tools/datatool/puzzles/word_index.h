// WordIndex: the words of a vocabulary by length, with one bit set per letter position
// and letter, so that the words fitting a partly filled slot are found by intersecting a
// few sets rather than scanning the list. Within a length the most written words come
// first, so the words of a range of counts are a run of ids, and a query limited to
// them costs no more. A word is known by its length and its id among the words of that
// length. Words are upper-case A to Z of 1 to kMaxIndexedLength letters; others are left
// out. Compact (the tool runs in the console's heap); read-only once built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datatool {

constexpr int kMaxIndexedLength = 15;
// A slot pattern's open cell.
constexpr char kOpenCell = '.';

struct RatedWord {
    std::string word; // upper-case A to Z
    int count;        // how often the word is written (word_counts.h, RateWords); 0 when unknown
    // Whether a filler tries the word before others that fit (an answer with a hand-written
    // clue).
    bool preferred = false;
};

// Counts from min to max, both included.
struct CountRange {
    int min;
    int max;
};

class WordIndex {
public:
    explicit WordIndex(const std::vector<RatedWord>& words);

    // The number of words of the length with counts in the range.
    int Count(int length, CountRange range) const;
    std::string Word(int length, int id) const;
    int CountOf(int length, int id) const;
    bool IsPreferred(int length, int id) const;

    // The ids of the words with counts in the range that fit the pattern: letters
    // where the slot has them, kOpenCell elsewhere.
    std::vector<int> Matches(const std::string& pattern, CountRange range) const;
    int CountMatches(const std::string& pattern, CountRange range) const;

private:
    struct LengthGroup {
        std::string letters;             // the words one after another
        std::vector<int> counts;         // most written first
        std::vector<bool> preferred;     // per word
        std::size_t blocks = 0;          // 64-bit words per bit set
        std::vector<std::uint64_t> bits; // [position][letter][block]
    };

    // The ids of the words of the length with counts in the range: first to last,
    // last excluded.
    std::pair<int, int> IdsOf(int length, CountRange range) const;
    // The intersection of the pattern's letter sets over the ids from first to last,
    // into match, whose bit 0 stands for the id first rounded down to a multiple of 64.
    void Intersect(const std::string& pattern, std::pair<int, int> ids,
                   std::vector<std::uint64_t>& match) const;

    std::vector<LengthGroup> m_groups; // by length
};

} // namespace datatool
