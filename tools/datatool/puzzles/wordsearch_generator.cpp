#include "wordsearch_generator.h"

#include "seeded_random.h"

#include <algorithm>
#include <set>
#include <utility>

namespace datatool {

const WordsearchDirection kWordsearchDirections[8] = {
    {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1},
};

namespace {

constexpr int kMaxAttempts = 200;
constexpr int kMaxFills = 8;
// Filler letters drawn again, at most, to clear a grid of blocked words.
constexpr int kMaxRedraws = 64;
constexpr std::size_t kMinThemeWords = 60;
// A theme is used only when it offers this many times the words a puzzle needs.
constexpr std::size_t kThemeChoiceFactor = 3;

const char* const kStartLetters = "ABCDEFGHILMNOPRSTW";
constexpr WordClass kNoun = WordClass::Noun;
constexpr WordClass kVerb = WordClass::Verb;
constexpr WordClass kAdjective = WordClass::Adjective;
constexpr WordClass kAdverb = WordClass::Adverb;

// Prefixes, then suffixes.
const WordAffix kAffixes[] = {
    {"OVER", true},
    {"UNDER", true},
    {"OUT", true},
    {"BACK", true},
    {"FORE", true},
    {"INTER", true},
    {"SUPER", true},
    {"DIS", true, {kVerb, kAdjective, kAdverb}},
    {"MIS", true, {kVerb, kAdjective, kAdverb}},
    {"PRE", true, {kVerb, kAdjective, kAdverb}},
    {"RE", true, {kVerb, kAdjective, kAdverb}},
    {"UN", true, {kVerb, kAdjective, kAdverb}},
    {"ING", false, {kVerb}, true, {kVerb}},
    {"NESS", false, {kNoun}, true, {kAdjective}},
    {"TION", false, {kNoun}, false},
    {"ABLE", false, {kAdjective}, false},
    {"MENT", false, {kNoun}, true, {kVerb}},
    {"FUL", false, {kAdjective}, true},
    {"LESS", false, {kAdjective}, true},
    {"OUS", false, {kAdjective}, false},
    {"IST", false, {kNoun}, true},
    {"ISH", false, {kAdjective}, true},
    {"ITY", false, {kNoun}, false},
    {"IVE", false, {kAdjective}, false},
    {"SHIP", false, {kNoun}, true},
    {"HOOD", false, {kNoun}, true},
    {"ANCE", false, {kNoun}, false},
    {"ENCE", false, {kNoun}, false},
    {"WARD", false, {kAdjective, kAdverb}, true},
    {"LY", false, {kAdverb, kAdjective}, true},
    // Comparisons alone: a word that looks like a doer may be none ("manner", "mother").
    {"ER", false, {kAdjective}, true, {kAdjective}},
    {"ED", false, {kVerb, kAdjective}, true, {kVerb}},
};
// A stem or the word after a prefix has at least this many letters.
constexpr std::size_t kMinAffixedPart = 3;
const char* const kDoubledLetters = "ELOST";

// Filler letters in the proportions of English text, per ten thousand letters.
const int kLetterWeights[26] = {817, 149, 278, 425, 1270, 223, 202, 609, 697, 15,  77, 403, 241,
                                675, 751, 193, 10,  599,  633, 906, 276, 98,  236, 15, 197, 7};

bool Contains(const std::string& word, const std::string& key) {
    return word.find(key) != std::string::npos;
}

std::string Reversed(const std::string& word) {
    return {word.rbegin(), word.rend()};
}

// Whether one word shows inside the other, read either way: the grid would then hold
// the shorter one twice.
bool Overlaps(const std::string& a, const std::string& b) {
    return Contains(a, b) || Contains(a, Reversed(b)) || Contains(b, a) || Contains(b, Reversed(a));
}

char FillerLetter(SeededRandom& random) {
    int pick = random.Below(10000);
    for (int letter = 0; letter < 26; ++letter) {
        pick -= kLetterWeights[letter];
        if (pick < 0) {
            return static_cast<char>('A' + letter);
        }
    }
    return 'E';
}

// The grid under construction: letters, 0 where nothing is placed yet.
class WordGrid {
public:
    explicit WordGrid(int side)
        : m_side(side), m_letters(static_cast<std::size_t>(side * side), 0) {}

    int Side() const { return m_side; }
    const std::string& Letters() const { return m_letters; }

    // The cells of word from cell start in a direction, or nothing when it leaves the
    // grid or crosses a different letter.
    std::optional<std::vector<int>> Fit(const std::string& word, int start,
                                        WordsearchDirection direction) const {
        std::vector<int> cells;
        int x = start % m_side;
        int y = start / m_side;
        for (char letter : word) {
            if (x < 0 || y < 0 || x >= m_side || y >= m_side) {
                return std::nullopt;
            }
            const int cell = x + y * m_side;
            const char held = m_letters[static_cast<std::size_t>(cell)];
            if (held != 0 && held != letter) {
                return std::nullopt;
            }
            cells.push_back(cell);
            x += direction.dx;
            y += direction.dy;
        }
        return cells;
    }

    void Place(const PlacedWord& placed) {
        for (std::size_t i = 0; i < placed.cells.size(); ++i) {
            m_letters[static_cast<std::size_t>(placed.cells[i])] = placed.word[i];
        }
    }

    // A copy with every empty cell filled from the letter source.
    template <class LetterSource>
    std::string Filled(LetterSource nextLetter) const {
        std::string filled = m_letters;
        for (char& letter : filled) {
            if (letter == 0) {
                letter = nextLetter();
            }
        }
        return filled;
    }

private:
    int m_side;
    std::string m_letters;
};

// The two end cells of a line, whichever way it is read.
std::pair<int, int> Ends(int first, int last) {
    return first < last ? std::pair{first, last} : std::pair{last, first};
}

bool SharesBothEnds(const std::vector<int>& cells, const std::vector<PlacedWord>& placed) {
    const std::pair<int, int> ends = Ends(cells.front(), cells.back());
    return std::any_of(placed.begin(), placed.end(), [&](const PlacedWord& other) {
        return Ends(other.cells.front(), other.cells.back()) == ends;
    });
}

// Every place the word fits that keeps the end cells of words apart; one at random.
std::optional<PlacedWord> ChoosePlacement(const WordGrid& grid, const std::string& word,
                                          const std::vector<PlacedWord>& placed,
                                          SeededRandom& random) {
    std::vector<std::vector<int>> options;
    for (int start = 0; start < grid.Side() * grid.Side(); ++start) {
        for (const WordsearchDirection& direction : kWordsearchDirections) {
            std::optional<std::vector<int>> cells = grid.Fit(word, start, direction);
            if (cells && !SharesBothEnds(*cells, placed)) {
                options.push_back(std::move(*cells));
            }
        }
    }
    if (options.empty()) {
        return std::nullopt;
    }
    return PlacedWord{
        word, options[static_cast<std::size_t>(random.Below(static_cast<int>(options.size())))]};
}

// The distinct pairs of end cells at which the word can be read in the letters.
int CountReadings(const std::string& letters, int side, const std::string& word) {
    std::set<std::pair<int, int>> readings;
    for (int start = 0; start < side * side; ++start) {
        for (const WordsearchDirection& direction : kWordsearchDirections) {
            int x = start % side;
            int y = start / side;
            std::size_t matched = 0;
            for (; matched < word.size(); ++matched, x += direction.dx, y += direction.dy) {
                if (x < 0 || y < 0 || x >= side || y >= side ||
                    letters[static_cast<std::size_t>(x + y * side)] != word[matched]) {
                    break;
                }
            }
            if (matched == word.size()) {
                readings.insert(Ends(start, x - direction.dx + (y - direction.dy) * side));
            }
        }
    }
    return static_cast<int>(readings.size());
}

bool EachWordReadsOnce(const std::string& letters, int side, const std::vector<PlacedWord>& words) {
    return std::all_of(words.begin(), words.end(), [&](const PlacedWord& placed) {
        return CountReadings(letters, side, placed.word) == 1;
    });
}

// Filler letters: those of the hidden words themselves from difficulty 2 (decoys that
// look like the words), English letter frequencies below.
class FillerLetters {
public:
    FillerLetters(const std::vector<PlacedWord>& words, int difficulty) {
        for (const PlacedWord& placed : words) {
            m_pool += difficulty >= 2 ? placed.word : std::string();
        }
    }

    char Next(SeededRandom& random) const {
        return m_pool.empty() ? FillerLetter(random)
                              : m_pool[static_cast<std::size_t>(
                                    random.Below(static_cast<int>(m_pool.size())))];
    }

private:
    std::string m_pool;
};

// Which placed words cover each cell, as bits.
std::vector<std::uint32_t> WordsByCell(int side, const std::vector<PlacedWord>& words) {
    std::vector<std::uint32_t> covered(static_cast<std::size_t>(side * side), 0);
    for (std::size_t w = 0; w < words.size(); ++w) {
        for (int cell : words[w].cells) {
            covered[static_cast<std::size_t>(cell)] |= 1u << w;
        }
    }
    return covered;
}

// The cells of a blocked word somewhere in the grid that do not all lie in one placed
// word (kWordsearchMaxWords fits the bits); empty when the grid is clean. A word inside a
// placed word is no fault ("RAPE" in "GRAPE"), but read on into a filler letter it may be
// ("RAPES").
std::vector<int> FirstBlockedRun(const std::string& letters,
                                 const std::vector<std::vector<int>>& lines,
                                 const std::vector<std::uint32_t>& covered,
                                 const FamilyFilter& family) {
    for (const std::vector<int>& line : lines) {
        for (const bool backwards : {false, true}) {
            const auto cellAt = [&](std::size_t i) {
                return line[backwards ? line.size() - 1 - i : i];
            };
            std::string text;
            for (std::size_t i = 0; i < line.size(); ++i) {
                text += letters[static_cast<std::size_t>(cellAt(i))];
            }
            for (const auto& [start, length] : family.FindBlockedWords(text)) {
                std::vector<int> run;
                std::uint32_t common = ~0u;
                for (std::size_t i = start; i < start + length; ++i) {
                    run.push_back(cellAt(i));
                    common &= covered[static_cast<std::size_t>(cellAt(i))];
                }
                if (common == 0) {
                    return run;
                }
            }
        }
    }
    return {};
}

// Fills the empty cells, then draws again filler letters that spell a blocked word until
// none does; nothing when a blocked word lies in the placed words alone or the redraws
// run out.
std::optional<std::string> FillGrid(const WordGrid& grid, const std::vector<PlacedWord>& words,
                                    int difficulty, const FamilyFilter& family,
                                    SeededRandom& random) {
    const FillerLetters filler(words, difficulty);
    std::string letters = grid.Filled([&] { return filler.Next(random); });
    const std::vector<std::uint32_t> covered = WordsByCell(grid.Side(), words);
    const std::vector<std::vector<int>> lines = WordsearchLines(grid.Side());
    for (int redraw = 0; redraw < kMaxRedraws; ++redraw) {
        std::vector<int> fillerCells;
        for (int cell : FirstBlockedRun(letters, lines, covered, family)) {
            if (grid.Letters()[static_cast<std::size_t>(cell)] == 0) {
                fillerCells.push_back(cell);
            }
        }
        if (fillerCells.empty()) {
            // Clean, or spelt by the placed words alone, which no redraw mends.
            return FirstBlockedRun(letters, lines, covered, family).empty()
                       ? std::optional<std::string>(std::move(letters))
                       : std::nullopt;
        }
        const int cell = fillerCells[static_cast<std::size_t>(
            random.Below(static_cast<int>(fillerCells.size())))];
        letters[static_cast<std::size_t>(cell)] = filler.Next(random);
    }
    return std::nullopt;
}

// Places the candidates in turn, each where it fits at random, until wanted words are
// placed; a word that would pass the trail limit, lie inside a placed one or be kindred
// to one (kindred_words.h) is skipped.
std::vector<PlacedWord> PlaceWords(WordGrid& grid,
                                   const std::vector<const std::string*>& candidates, int wanted,
                                   const LemmaRoots& lemmaRoots, SeededRandom& random) {
    std::vector<PlacedWord> placed;
    KindredWords kindred(lemmaRoots);
    int trailCells = 0;
    for (const std::string* word : candidates) {
        if (static_cast<int>(placed.size()) == wanted) {
            break;
        }
        const int length = static_cast<int>(word->size());
        if (trailCells + length > kWordsearchMaxTrailCells || kindred.HasKinOf(*word) ||
            std::any_of(placed.begin(), placed.end(),
                        [&](const PlacedWord& other) { return Overlaps(*word, other.word); })) {
            continue;
        }
        std::optional<PlacedWord> placement = ChoosePlacement(grid, *word, placed, random);
        if (placement) {
            grid.Place(*placement);
            kindred.Add(*word);
            placed.push_back(std::move(*placement));
            trailCells += length;
        }
    }
    return placed;
}

} // namespace

std::vector<std::vector<int>> WordsearchLines(int side) {
    std::vector<std::vector<int>> lines;
    const auto addLine = [&](int x, int y, WordsearchDirection direction) {
        std::vector<int> line;
        for (; x >= 0 && y >= 0 && x < side && y < side; x += direction.dx, y += direction.dy) {
            line.push_back(x + y * side);
        }
        lines.push_back(std::move(line));
    };
    for (int i = 0; i < side; ++i) {
        addLine(0, i, {1, 0});  // rows
        addLine(i, 0, {0, 1});  // columns
        addLine(i, 0, {1, 1});  // diagonals from the top row
        addLine(i, 0, {-1, 1}); // anti-diagonals from the top row
        if (i > 0) {
            addLine(0, i, {1, 1});         // diagonals from the left column
            addLine(side - 1, i, {-1, 1}); // anti-diagonals from the right column
        }
    }
    return lines;
}

std::optional<WordsearchShape> WordsearchShapeOfDifficulty(int difficulty) {
    switch (difficulty) {
    case 0:
        return WordsearchShape{7, 5, 6, 3, 6, 10000};
    case 1:
        return WordsearchShape{10, 10, 12, 3, 8, 5000};
    case 2:
        return WordsearchShape{12, 14, 16, 4, 10, 1000};
    case 3:
        return WordsearchShape{15, 20, 24, 4, 12, 500};
    default:
        return std::nullopt;
    }
}

// Whether one of the classes is one of the wanted ones (any, when none is wanted).
bool IsOfClass(const std::vector<WordClass>& classes, const std::vector<WordClass>& wanted) {
    return std::any_of(classes.begin(), classes.end(), [&](WordClass wordClass) {
        return wanted.empty() || std::find(wanted.begin(), wanted.end(), wordClass) != wanted.end();
    });
}

bool CarriesAffix(const std::string& word, const WordAffix& affix, const WordNetLexicon& lexicon) {
    const std::string letters = LowerCase(affix.letters);
    const std::string lower = LowerCase(word);
    if (lower.size() < letters.size() + kMinAffixedPart ||
        !(affix.prefix ? lower.starts_with(letters) : lower.ends_with(letters))) {
        return false;
    }
    // A prefix's classes are those of the word after it, a suffix's those of the word.
    const bool ofClass = IsOfClass(
        lexicon.ClassesOf(affix.prefix ? lower.substr(letters.size()) : lower), affix.classes);
    if (affix.prefix) {
        const std::vector<std::string> bases = lexicon.BaseForms(lower.substr(letters.size()));
        return ofClass && std::any_of(bases.begin(), bases.end(), [](const std::string& base) {
                   return base.size() >= kMinAffixedPart;
               });
    }
    const std::vector<std::string> stems =
        WordsBeforeEnding(lower.substr(0, lower.size() - letters.size()), letters);
    return ofClass && (!affix.wordStem ||
                       std::any_of(stems.begin(), stems.end(), [&](const std::string& stem) {
                           return lexicon.HasLemma(stem) &&
                                  IsOfClass(lexicon.ClassesOf(stem), affix.stemClasses);
                       }));
}

WordsearchGenerator::WordsearchGenerator(const std::vector<RatedWord>& words,
                                         const FamilyFilter& family, const WordNetLexicon& lexicon,
                                         LemmaRoots lemmaRoots)
    : m_family(family), m_lemmaRoots(std::move(lemmaRoots)) {
    // One block each of the words' size: grown by doubling, they would hold up to twice that
    // on the console's heap, where the tests build the generators.
    m_words.reserve(words.size());
    m_counts.reserve(words.size());
    for (const RatedWord& word : words) {
        m_words.push_back(word.word);
        m_counts.push_back(word.count);
    }
    for (const char* letter = kStartLetters; *letter != 0; ++letter) {
        AddTheme(std::string("Starting with ") + *letter,
                 [&](const std::string& word) { return word[0] == *letter; });
    }
    for (const WordAffix& affix : kAffixes) {
        AddTheme(std::string(affix.prefix ? "Beginning with " : "Ending in ") + affix.letters,
                 [&](const std::string& word) { return CarriesAffix(word, affix, lexicon); });
    }
    for (const char* letter = kDoubledLetters; *letter != 0; ++letter) {
        AddTheme(std::string("Double ") + *letter,
                 [&](const std::string& word) { return Contains(word, std::string(2, *letter)); });
    }
}

void WordsearchGenerator::AddTheme(std::string title,
                                   const std::function<bool(const std::string&)>& fits) {
    Theme theme{std::move(title), {}};
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        if (fits(m_words[i])) {
            theme.words.push_back(static_cast<int>(i));
        }
    }
    if (theme.words.size() >= kMinThemeWords) {
        m_themes.push_back(std::move(theme));
    }
}

std::vector<const std::string*>
WordsearchGenerator::Candidates(const Theme& theme, const WordsearchShape& shape) const {
    std::vector<const std::string*> candidates;
    for (int index : theme.words) {
        const std::string& word = m_words[static_cast<std::size_t>(index)];
        const int length = static_cast<int>(word.size());
        if (length >= shape.minLength && length <= std::min(shape.maxLength, shape.side) &&
            m_counts[static_cast<std::size_t>(index)] >= shape.minCount) {
            candidates.push_back(&word);
        }
    }
    return candidates;
}

std::optional<GeneratedWordsearch> WordsearchGenerator::Generate(int difficulty,
                                                                 std::uint32_t seed) const {
    const std::optional<WordsearchShape> shape = WordsearchShapeOfDifficulty(difficulty);
    if (!shape || m_themes.empty()) {
        return std::nullopt;
    }
    SeededRandom random(seed);
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const Theme& theme =
            m_themes[static_cast<std::size_t>(random.Below(static_cast<int>(m_themes.size())))];
        std::vector<const std::string*> candidates = Candidates(theme, *shape);
        if (candidates.size() < kThemeChoiceFactor * static_cast<std::size_t>(shape->maxWords)) {
            continue;
        }
        random.Shuffle(candidates);
        const int wanted = random.Between(shape->minWords, shape->maxWords);
        WordGrid grid(shape->side);
        std::vector<PlacedWord> placed = PlaceWords(grid, candidates, wanted, m_lemmaRoots, random);
        for (int fill = 0; fill < kMaxFills && static_cast<int>(placed.size()) >= shape->minWords;
             ++fill) {
            std::optional<std::string> letters =
                FillGrid(grid, placed, difficulty, m_family, random);
            if (letters && EachWordReadsOnce(*letters, shape->side, placed)) {
                return GeneratedWordsearch{shape->side, shape->side,         difficulty,
                                           theme.title, std::move(*letters), std::move(placed)};
            }
        }
    }
    return std::nullopt;
}

} // namespace datatool
