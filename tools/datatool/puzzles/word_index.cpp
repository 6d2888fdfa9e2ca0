#include "word_index.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace datatool {
namespace {

constexpr int kLetters = 26;

bool IsIndexable(const std::string& word) {
    return !word.empty() && word.size() <= static_cast<std::size_t>(kMaxIndexedLength) &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

} // namespace

WordIndex::WordIndex(const std::vector<RatedWord>& words) : m_groups(kMaxIndexedLength + 1) {
    std::vector<const RatedWord*> sorted;
    for (const RatedWord& word : words) {
        if (IsIndexable(word.word)) {
            sorted.push_back(&word);
        }
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const RatedWord* a, const RatedWord* b) { return a->count > b->count; });
    for (const RatedWord* word : sorted) {
        LengthGroup& group = m_groups[word->word.size()];
        group.letters += word->word;
        group.counts.push_back(word->count);
        group.preferred.push_back(word->preferred);
    }
    for (std::size_t length = 1; length < m_groups.size(); ++length) {
        LengthGroup& group = m_groups[length];
        const std::size_t count = group.counts.size();
        group.blocks = (count + 63) / 64;
        group.bits.assign(length * kLetters * group.blocks, 0);
        for (std::size_t id = 0; id < count; ++id) {
            for (std::size_t position = 0; position < length; ++position) {
                const std::size_t set =
                    position * kLetters +
                    static_cast<std::size_t>(group.letters[id * length + position] - 'A');
                group.bits[set * group.blocks + id / 64] |= std::uint64_t{1} << (id % 64);
            }
        }
    }
}

std::pair<int, int> WordIndex::IdsOf(int length, CountRange range) const {
    if (length < 1 || length > kMaxIndexedLength || range.min > range.max) {
        return {0, 0};
    }
    const std::vector<int>& counts = m_groups[static_cast<std::size_t>(length)].counts;
    // Most used first: the range begins at the first count not above max and ends before
    // the first below min.
    const auto first = std::lower_bound(counts.begin(), counts.end(), range.max, std::greater<>());
    const auto last = std::upper_bound(first, counts.end(), range.min, std::greater<>());
    return {static_cast<int>(first - counts.begin()), static_cast<int>(last - counts.begin())};
}

int WordIndex::Count(int length, CountRange range) const {
    const auto [first, last] = IdsOf(length, range);
    return last - first;
}

std::string WordIndex::Word(int length, int id) const {
    return m_groups[static_cast<std::size_t>(length)].letters.substr(
        static_cast<std::size_t>(id * length), static_cast<std::size_t>(length));
}

int WordIndex::CountOf(int length, int id) const {
    return m_groups[static_cast<std::size_t>(length)].counts[static_cast<std::size_t>(id)];
}

bool WordIndex::IsPreferred(int length, int id) const {
    return m_groups[static_cast<std::size_t>(length)].preferred[static_cast<std::size_t>(id)];
}

void WordIndex::Intersect(const std::string& pattern, std::pair<int, int> ids,
                          std::vector<std::uint64_t>& match) const {
    const LengthGroup& group = m_groups[pattern.size()];
    const std::size_t firstBlock = static_cast<std::size_t>(ids.first) / 64;
    const std::size_t endBlock = (static_cast<std::size_t>(ids.second) + 63) / 64;
    match.assign(endBlock - firstBlock, ~std::uint64_t{0});
    match.front() &= ~std::uint64_t{0} << (ids.first % 64);
    if (ids.second % 64 != 0) {
        match.back() &= (std::uint64_t{1} << (ids.second % 64)) - 1;
    }
    for (std::size_t position = 0; position < pattern.size(); ++position) {
        const char letter = pattern[position];
        if (letter < 'A' || letter > 'Z') {
            continue;
        }
        const std::uint64_t* set =
            &group.bits[(position * kLetters + static_cast<std::size_t>(letter - 'A')) *
                            group.blocks +
                        firstBlock];
        for (std::size_t block = 0; block < match.size(); ++block) {
            match[block] &= set[block];
        }
    }
}

std::vector<int> WordIndex::Matches(const std::string& pattern, CountRange range) const {
    std::vector<int> matches;
    const std::pair<int, int> ids = IdsOf(static_cast<int>(pattern.size()), range);
    if (ids.first == ids.second) {
        return matches;
    }
    std::vector<std::uint64_t> match;
    Intersect(pattern, ids, match);
    const int base = ids.first / 64 * 64;
    for (std::size_t block = 0; block < match.size(); ++block) {
        for (std::uint64_t bits = match[block]; bits != 0; bits &= bits - 1) {
            matches.push_back(base + static_cast<int>(block * 64) + std::countr_zero(bits));
        }
    }
    return matches;
}

int WordIndex::CountMatches(const std::string& pattern, CountRange range) const {
    const std::pair<int, int> ids = IdsOf(static_cast<int>(pattern.size()), range);
    if (ids.first == ids.second) {
        return 0;
    }
    std::vector<std::uint64_t> match;
    Intersect(pattern, ids, match);
    int count = 0;
    for (std::uint64_t bits : match) {
        count += std::popcount(bits);
    }
    return count;
}

} // namespace datatool
