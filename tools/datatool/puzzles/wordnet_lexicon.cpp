#include "wordnet_lexicon.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <fstream>
#include <set>
#include <string_view>

namespace datatool {
namespace {

struct ClassFiles {
    WordClass wordClass;
    const char* name; // "noun" for index.noun, data.noun and noun.exc
};

constexpr ClassFiles kClassFiles[] = {
    {WordClass::Noun, "noun"},
    {WordClass::Verb, "verb"},
    {WordClass::Adjective, "adj"},
    {WordClass::Adverb, "adv"},
};

// WordNet's detachment rules: an ending and what replaces it in the base form.
struct Detachment {
    WordClass wordClass;
    const char* ending;
    const char* base;
};

constexpr Detachment kDetachments[] = {
    {WordClass::Noun, "s", ""},        {WordClass::Noun, "ses", "s"},
    {WordClass::Noun, "xes", "x"},     {WordClass::Noun, "zes", "z"},
    {WordClass::Noun, "ches", "ch"},   {WordClass::Noun, "shes", "sh"},
    {WordClass::Noun, "men", "man"},   {WordClass::Noun, "ies", "y"},
    {WordClass::Verb, "s", ""},        {WordClass::Verb, "ies", "y"},
    {WordClass::Verb, "es", "e"},      {WordClass::Verb, "es", ""},
    {WordClass::Verb, "ed", "e"},      {WordClass::Verb, "ed", ""},
    {WordClass::Verb, "ing", "e"},     {WordClass::Verb, "ing", ""},
    {WordClass::Adjective, "er", ""},  {WordClass::Adjective, "est", ""},
    {WordClass::Adjective, "er", "e"}, {WordClass::Adjective, "est", "e"},
};

bool IsLowerCaseWord(std::string_view word) {
    return !word.empty() &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = line.find_first_not_of(' ');
    while (start != std::string_view::npos) {
        const std::size_t end = line.find(' ', start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        start = end == std::string_view::npos ? end : line.find_first_not_of(' ', end);
    }
    return fields;
}

// A whole number in the base, or -1.
long Number(std::string_view text, int base) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && value >= 0
               ? value
               : -1;
}

// Each line of the stream, without its end of line, but WordNet's licence lines (which
// begin with blanks).
template <class Visit>
void ForEachLine(std::istream& lines, Visit visit) {
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] != ' ') {
            visit(std::string_view(line));
        }
    }
}

// One lemma of an index file: its name and the offsets of its synsets.
struct IndexLine {
    std::string_view lemma;
    std::vector<std::uint32_t> offsets;
};

// lemma pos synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt synset_offset...; only
// lemmas of letters a to z.
std::optional<IndexLine> ParseIndexLine(std::string_view line) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() < 4 || !IsLowerCaseWord(fields[0]) || fields[0].size() > UINT8_MAX) {
        return std::nullopt;
    }
    const long synsets = Number(fields[2], 10);
    const long pointers = Number(fields[3], 10);
    if (synsets < 1 || synsets > UINT16_MAX || pointers < 0 ||
        fields.size() != static_cast<std::size_t>(6 + pointers + synsets)) {
        return std::nullopt;
    }
    IndexLine parsed{fields[0], {}};
    for (long i = 0; i < synsets; ++i) {
        const long offset = Number(fields[static_cast<std::size_t>(6 + pointers + i)], 10);
        if (offset < 0 || offset > static_cast<long>(UINT32_MAX)) {
            return std::nullopt;
        }
        parsed.offsets.push_back(static_cast<std::uint32_t>(offset));
    }
    return parsed;
}

// f_cnt + f_num w_num [+ f_num w_num...] from fields[at]: the frames of the synset's
// word number word (w_num 0 stands for every word), into frames.
void ReadFrames(const std::vector<std::string_view>& fields, std::size_t at, int word,
                std::vector<int>& frames) {
    const long count = at < fields.size() ? Number(fields[at], 10) : -1;
    for (long i = 0; i < count; ++i) {
        const std::size_t frame = at + 1 + static_cast<std::size_t>(3 * i);
        if (frame + 2 >= fields.size() || fields[frame] != "+") {
            return;
        }
        const long wordNumber = Number(fields[frame + 2], 16);
        if (wordNumber == 0 || wordNumber == word) {
            frames.push_back(static_cast<int>(Number(fields[frame + 1], 10)));
        }
    }
}

std::string FilePath(const std::string& directory, const char* prefix, const char* suffix) {
    return directory + "/" + prefix + suffix;
}

} // namespace

std::string LowerCase(std::string_view word) {
    std::string lower(word);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::optional<WordNetLexicon> WordNetLexicon::Load(const std::string& directory) {
    WordNetLexicon lexicon;
    for (const ClassFiles& classFiles : kClassFiles) {
        std::ifstream& data = lexicon.m_data[static_cast<std::size_t>(classFiles.wordClass)];
        data.open(FilePath(directory, "data.", classFiles.name), std::ios::binary);
        if (!data) {
            return std::nullopt;
        }
    }
    if (!lexicon.ReadIndexes(directory)) {
        return std::nullopt;
    }
    lexicon.ReadExceptions(directory);
    lexicon.ReadUseCounts(directory);
    return lexicon;
}

// lemma pos synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt synset_offset...
// Read twice, to count and then to fill tables of the exact size.
bool WordNetLexicon::ReadIndexes(const std::string& directory) {
    for (const bool fill : {false, true}) {
        std::size_t entries = 0;
        std::size_t senses = 0;
        std::size_t nameBytes = 0;
        for (const ClassFiles& classFiles : kClassFiles) {
            std::ifstream index(FilePath(directory, "index.", classFiles.name));
            if (!index) {
                return false;
            }
            ForEachLine(index, [&](std::string_view line) {
                const std::optional<IndexLine> parsed = ParseIndexLine(line);
                if (!parsed) {
                    return;
                }
                ++entries;
                senses += parsed->offsets.size();
                nameBytes += parsed->lemma.size();
                if (!fill) {
                    return;
                }
                m_entries.push_back(Entry{static_cast<std::uint32_t>(m_names.size()),
                                          static_cast<std::uint8_t>(parsed->lemma.size()),
                                          classFiles.wordClass,
                                          static_cast<std::uint16_t>(parsed->offsets.size()),
                                          static_cast<std::uint32_t>(m_senses.size())});
                m_names += parsed->lemma;
                for (std::size_t i = 0; i < parsed->offsets.size(); ++i) {
                    m_senses.push_back(SenseRef{parsed->offsets[i], 0,
                                                static_cast<std::uint16_t>(i + 1),
                                                classFiles.wordClass});
                }
            });
        }
        if (!fill) {
            m_entries.reserve(entries);
            m_senses.reserve(senses);
            m_names.reserve(nameBytes);
        }
    }
    std::sort(m_entries.begin(), m_entries.end(), [&](const Entry& a, const Entry& b) {
        const std::string_view nameA = NameOf(a);
        const std::string_view nameB = NameOf(b);
        return nameA != nameB ? nameA < nameB : a.wordClass < b.wordClass;
    });
    return true;
}

// inflected base [base...]
void WordNetLexicon::ReadExceptions(const std::string& directory) {
    for (const ClassFiles& classFiles : kClassFiles) {
        std::ifstream exceptions(FilePath(directory, classFiles.name, ".exc"));
        ForEachLine(exceptions, [&](std::string_view line) {
            const std::vector<std::string_view> fields = Fields(line);
            for (std::size_t i = 1; i < fields.size(); ++i) {
                m_exceptions.push_back(Exception{std::string(fields[0]), classFiles.wordClass,
                                                 std::string(fields[i])});
            }
        });
    }
    std::stable_sort(
        m_exceptions.begin(), m_exceptions.end(),
        [](const Exception& a, const Exception& b) { return a.inflected < b.inflected; });
    for (std::uint32_t i = 0; i < m_exceptions.size(); ++i) {
        m_exceptionsByBase.push_back(i);
    }
    std::sort(m_exceptionsByBase.begin(), m_exceptionsByBase.end(),
              [&](std::uint32_t a, std::uint32_t b) { return BaseKey(a) < BaseKey(b); });
}

std::pair<std::string_view, WordClass> WordNetLexicon::BaseKey(std::uint32_t exception) const {
    return {m_exceptions[exception].base, m_exceptions[exception].wordClass};
}

bool WordNetLexicon::HasIrregularPast(std::string_view verb) const {
    const std::pair<std::string_view, WordClass> key{verb, WordClass::Verb};
    auto found = std::lower_bound(
        m_exceptionsByBase.begin(), m_exceptionsByBase.end(), key,
        [&](std::uint32_t exception, const std::pair<std::string_view, WordClass>& wanted) {
            return BaseKey(exception) < wanted;
        });
    for (; found != m_exceptionsByBase.end() && BaseKey(*found) == key; ++found) {
        const std::string& form = m_exceptions[*found].inflected;
        if (!form.ends_with("ed") && !form.ends_with("ing") && !form.ends_with('s')) {
            return true;
        }
    }
    return false;
}

int WordNetLexicon::UseCountOf(std::string_view lemma, WordClass wordClass) const {
    int total = 0;
    for (auto [entry, end] = Find(lemma); entry != end; ++entry) {
        for (std::uint32_t i = 0; entry->wordClass == wordClass && i < entry->senseCount; ++i) {
            total += m_senses[entry->firstSense + i].useCount;
        }
    }
    return total;
}

// lemma%ss_type:lex_filenum:lex_id:head_word:head_id sense_number tag_cnt
void WordNetLexicon::ReadUseCounts(const std::string& directory) {
    static constexpr WordClass kOfType[] = {WordClass::Noun, WordClass::Verb, WordClass::Adjective,
                                            WordClass::Adverb, WordClass::Adjective};
    std::ifstream counts(directory + "/cntlist.rev");
    ForEachLine(counts, [&](std::string_view line) {
        const std::vector<std::string_view> fields = Fields(line);
        const std::size_t percent = fields.empty() ? std::string_view::npos : fields[0].find('%');
        if (fields.size() != 3 || percent == std::string_view::npos ||
            percent + 1 >= fields[0].size()) {
            return;
        }
        const int type = fields[0][percent + 1] - '1';
        const long number = Number(fields[1], 10);
        const long count = Number(fields[2], 10);
        if (type < 0 || type > 4 || count < 0 || count > INT32_MAX / 1024) {
            return;
        }
        for (auto [entry, end] = Find(fields[0].substr(0, percent)); entry != end; ++entry) {
            if (entry->wordClass == kOfType[type] && number >= 1 && number <= entry->senseCount) {
                m_senses[entry->firstSense + static_cast<std::uint32_t>(number) - 1].useCount =
                    static_cast<std::int32_t>(count);
            }
        }
    });
}

std::string_view WordNetLexicon::NameOf(const Entry& entry) const {
    return std::string_view(m_names).substr(entry.nameStart, entry.nameLength);
}

WordNetLexicon::EntryRange WordNetLexicon::Find(std::string_view lemma) const {
    const Entry* begin = m_entries.data();
    const Entry* end = begin + m_entries.size();
    const Entry* first =
        std::lower_bound(begin, end, lemma, [&](const Entry& entry, std::string_view name) {
            return NameOf(entry) < name;
        });
    const Entry* last = first;
    while (last != end && NameOf(*last) == lemma) {
        ++last;
    }
    return {first, last};
}

bool WordNetLexicon::HasLemma(std::string_view lemma) const {
    const EntryRange range = Find(lemma);
    return range.first != range.second;
}

bool WordNetLexicon::HasLemmaOf(std::string_view lemma, WordClass wordClass) const {
    const auto [first, last] = Find(lemma);
    return std::any_of(first, last,
                       [&](const Entry& entry) { return entry.wordClass == wordClass; });
}

// synset_offset lex_filenum ss_type w_cnt word lex_id [word lex_id...] p_cnt
// [ptr_symbol offset pos source/target...] ... | gloss
std::optional<WordSense> WordNetLexicon::ReadSense(std::string_view lemma,
                                                   const SenseRef& sense) const {
    std::ifstream& data = m_data[static_cast<std::size_t>(sense.wordClass)];
    data.clear();
    data.seekg(sense.offset);
    std::string line;
    if (!std::getline(data, line)) {
        return std::nullopt;
    }
    const std::string_view text(line);
    const std::size_t bar = text.find(" | ");
    const std::vector<std::string_view> fields = Fields(text.substr(0, bar));
    const long count = fields.size() >= 4 ? Number(fields[3], 16) : -1;
    if (bar == std::string_view::npos || count < 0 || Number(fields[0], 10) != sense.offset ||
        fields.size() < static_cast<std::size_t>(5 + 2 * count)) {
        return std::nullopt;
    }
    WordSense read{sense.wordClass, sense.useCount, false, {}, 0, 0, false, {}, {}, {}, {}};
    read.lexFile = static_cast<int>(Number(fields[1], 10));
    bool found = false;
    for (long i = 0; i < count; ++i) {
        // An adjective may carry its place in parentheses: "galore(ip)".
        std::string_view word = fields[static_cast<std::size_t>(4 + 2 * i)];
        word = word.substr(0, word.find('('));
        const std::string lower = LowerCase(word);
        if (lower == lemma) {
            read.properName = read.properName || lower != word;
            read.synonymRank = static_cast<int>(i);
            found = true;
        } else if (!found && lower.size() > lemma.size() && lower.starts_with(lemma)) {
            read.shortened = true;
        }
    }
    const std::size_t pointerStart = static_cast<std::size_t>(5 + 2 * count);
    const long pointers = Number(fields[pointerStart - 1], 10);
    for (long i = 0; pointers > 0 && i < pointers; ++i) {
        const std::size_t at = pointerStart + static_cast<std::size_t>(4 * i);
        if (at + 2 >= fields.size() || fields[at + 2] != "n" ||
            (fields[at] != ";u" && fields[at] != ";c" && fields[at] != ";r")) {
            continue;
        }
        const long target = Number(fields[at + 1], 10);
        if (target >= 0 && target <= static_cast<long>(UINT32_MAX)) {
            std::string head = NounSynsetHead(static_cast<std::uint32_t>(target));
            if (fields[at] == ";r") {
                read.regions.push_back(head);
            }
            (fields[at] == ";u" ? read.usages : read.domains).push_back(std::move(head));
        }
    }
    if (sense.wordClass == WordClass::Verb && pointers >= 0) {
        ReadFrames(fields, pointerStart + static_cast<std::size_t>(4 * pointers),
                   read.synonymRank + 1, read.frames);
    }
    std::string_view gloss = text.substr(bar + 3);
    read.gloss = std::string(gloss.substr(0, gloss.find_last_not_of(" \r") + 1));
    return read;
}

std::string WordNetLexicon::NounSynsetHead(std::uint32_t offset) const {
    std::ifstream& data = m_data[static_cast<std::size_t>(WordClass::Noun)];
    data.clear();
    data.seekg(offset);
    std::string line;
    if (!std::getline(data, line)) {
        return {};
    }
    const std::vector<std::string_view> fields = Fields(line);
    return fields.size() >= 5 && Number(fields[0], 10) == offset ? LowerCase(fields[4])
                                                                 : std::string();
}

std::vector<WordSense> WordNetLexicon::Senses(std::string_view lemma) const {
    std::vector<SenseRef> refs;
    for (auto [entry, end] = Find(lemma); entry != end; ++entry) {
        refs.insert(refs.end(), m_senses.begin() + entry->firstSense,
                    m_senses.begin() + entry->firstSense + entry->senseCount);
    }
    std::stable_sort(refs.begin(), refs.end(),
                     [](const SenseRef& a, const SenseRef& b) { return a.useCount > b.useCount; });
    std::vector<WordSense> senses;
    for (const SenseRef& ref : refs) {
        if (std::optional<WordSense> sense = ReadSense(lemma, ref)) {
            senses.push_back(std::move(*sense));
        }
    }
    return senses;
}

int WordNetLexicon::UseCount(std::string_view lemma) const {
    int total = 0;
    for (auto [entry, end] = Find(lemma); entry != end; ++entry) {
        for (std::uint32_t i = 0; i < entry->senseCount; ++i) {
            total += m_senses[entry->firstSense + i].useCount;
        }
    }
    return total;
}

void WordNetLexicon::ForEachBase(const std::string& word,
                                 const std::function<void(const Base&)>& visit) const {
    for (auto [entry, end] = Find(word); entry != end; ++entry) {
        visit(Base{word, entry->wordClass, true});
    }
    for (const Detachment& rule : kDetachments) {
        const std::string_view ending = rule.ending;
        if (word.size() <= ending.size() ||
            word.compare(word.size() - ending.size(), ending.size(), ending) != 0) {
            continue;
        }
        const std::string base = word.substr(0, word.size() - ending.size()) + rule.base;
        if (HasLemmaOf(base, rule.wordClass)) {
            visit(Base{base, rule.wordClass, true});
        }
    }
    auto exception = std::lower_bound(
        m_exceptions.begin(), m_exceptions.end(), word,
        [](const Exception& entry, const std::string& form) { return entry.inflected < form; });
    for (; exception != m_exceptions.end() && exception->inflected == word; ++exception) {
        if (HasLemmaOf(exception->base, exception->wordClass)) {
            visit(Base{exception->base, exception->wordClass, false});
        }
    }
}

std::vector<std::string> WordNetLexicon::BaseForms(const std::string& word) const {
    std::set<std::string> forms;
    ForEachBase(word, [&](const Base& base) { forms.insert(base.lemma); });
    return {forms.begin(), forms.end()};
}

bool WordNetLexicon::IsRegularForm(const std::string& word) const {
    bool regular = false;
    ForEachBase(word, [&](const Base& base) { regular = regular || base.regular; });
    return regular;
}

std::vector<std::string> WordNetLexicon::NounSingulars(const std::string& word) const {
    std::set<std::string> singulars;
    ForEachBase(word, [&](const Base& base) {
        if (base.wordClass == WordClass::Noun && base.lemma != word) {
            singulars.insert(base.lemma);
        }
    });
    return {singulars.begin(), singulars.end()};
}

bool WordNetLexicon::IsUsualForm(const std::string& word) const {
    bool usual = false;
    ForEachBase(word, [&](const Base& base) {
        const bool irregularPast = base.wordClass == WordClass::Verb && word.ends_with("ed") &&
                                   HasIrregularPast(base.lemma);
        usual = usual || !base.regular || base.lemma == word ||
                (!irregularPast &&
                 (UseCountOf(base.lemma, base.wordClass) > 0 || UseCount(base.lemma) == 0));
    });
    return usual;
}

std::vector<WordClass> WordNetLexicon::ClassesOf(const std::string& word) const {
    std::vector<WordClass> classes;
    ForEachBase(word, [&](const Base& base) {
        if (std::find(classes.begin(), classes.end(), base.wordClass) == classes.end()) {
            classes.push_back(base.wordClass);
        }
    });
    return classes;
}

bool WordNetLexicon::WantsObject(std::string_view verb) const {
    // Frames whose sentence is whole without an object: "Something ----s", "Somebody
    // ----s", "It is ----ing", "Somebody's (body part) ----s".
    static constexpr int kWholeFrames[] = {1, 2, 3, 23};
    for (auto [entry, end] = Find(verb); entry != end; ++entry) {
        if (entry->wordClass != WordClass::Verb || entry->senseCount == 0) {
            continue;
        }
        const std::optional<WordSense> first = ReadSense(verb, m_senses[entry->firstSense]);
        return first && std::any_of(first->frames.begin(), first->frames.end(), [](int frame) {
                   return std::find(std::begin(kWholeFrames), std::end(kWholeFrames), frame) ==
                          std::end(kWholeFrames);
               });
    }
    return false;
}

} // namespace datatool
