// datatool puzzles (kPuzzlesArguments in commands.h): writes a puzzle bank of generated
// sudokus, wordsearches, crosswords and fitwords. The arguments, the plan's fit in the
// bank among them, are checked before the word lists load. An input the options name that
// cannot be read or is not what it should be (a list with no entries or a line not of its
// format, list_file.h) is a bad argument too: exit code 2, and no bank is written.
#include "commands.h"
#include "content_rules.h"
#include "host_files.h"
#include "option_values.h"
#include "puzzle_bank_builder.h"
#include "word_counts.h"
#include "word_list.h"
#include "wordnet_lexicon.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

namespace datatool {
namespace {

struct PuzzlesArguments {
    const char* out = nullptr;
    ContentRulePaths rules;
    std::string words = kDefaultWordListPath;
    std::string wordnet = kDefaultWordNetPath;
    std::string counts = kDefaultWordCountsPath;
    std::string everyday = kDefaultEverydayWordsPath;
    PuzzleBankPlan plan;
};

// An option that names a file or folder; the content rules' files have no default.
struct PathOption {
    const char* name;
    std::string* path;
    bool bRequired;
};

std::array<PathOption, 9> PathOptions(PuzzlesArguments& arguments) {
    return {{{"--exclude", &arguments.rules.exclusions, true},
             {"--blocklist", &arguments.rules.blocklist, true},
             {"--spellings", &arguments.rules.spellings, true},
             {"--sensitive", &arguments.rules.sensitive, true},
             {"--clues", &arguments.rules.clues, true},
             {"--everyday", &arguments.everyday, false},
             {"--words", &arguments.words, false},
             {"--wordnet", &arguments.wordnet, false},
             {"--counts", &arguments.counts, false}}};
}

// Sets the plan's count from value, a whole number up to the bank's room; the reason
// when it is not one.
std::string ParsePlanCount(const char* option, const char* value, int* count) {
    const std::optional<unsigned long> parsed =
        ParseWholeNumber(value, Kelvo_lib::PUZZLE_BANK_MAX_ENTRIES);
    if (!parsed) {
        return std::string(option) + " takes a whole number from 0 to " +
               std::to_string(Kelvo_lib::PUZZLE_BANK_MAX_ENTRIES) + ", not '" + value + "'";
    }
    *count = static_cast<int>(*parsed);
    return {};
}

// The options that take a number.
constexpr const char* kCountOptions[] = {"--seed", "--mini", "--per-difficulty"};

bool IsOption(const char* option, PuzzlesArguments& arguments) {
    const auto named = [&](const char* name) { return std::strcmp(option, name) == 0; };
    const std::array<PathOption, 9> paths = PathOptions(arguments);
    return std::any_of(paths.begin(), paths.end(),
                       [&](const PathOption& path) { return named(path.name); }) ||
           std::any_of(std::begin(kCountOptions), std::end(kCountOptions), named);
}

// Takes a known option's value; the reason when the value is bad.
std::string ApplyOption(const char* option, const char* value, PuzzlesArguments& arguments) {
    for (const PathOption& path : PathOptions(arguments)) {
        if (std::strcmp(option, path.name) == 0) {
            *path.path = value;
            return {};
        }
    }
    if (std::strcmp(option, "--seed") == 0) {
        const std::optional<unsigned long> seed = ParseWholeNumber(value, UINT32_MAX);
        arguments.plan.seed = static_cast<std::uint32_t>(seed.value_or(0));
        return seed ? "" : std::string("--seed takes a whole number, not '") + value + "'";
    }
    if (std::strcmp(option, "--mini") == 0) {
        return ParsePlanCount(option, value, &arguments.plan.miniCount);
    }
    return ParsePlanCount(option, value, &arguments.plan.perDifficulty);
}

// The reason the arguments cannot make a bank, or empty.
std::string ParseArguments(int argc, char** argv, PuzzlesArguments& arguments) {
    for (int i = 0; i < argc; ++i) {
        const char* option = argv[i];
        if (option[0] != '-') {
            if (arguments.out != nullptr) {
                return std::string("one output file, not '") + arguments.out + "' and '" + option +
                       "'";
            }
            arguments.out = option;
            continue;
        }
        if (!IsOption(option, arguments)) {
            return std::string("unknown option '") + option + "'";
        }
        if (i + 1 >= argc) {
            return std::string(option) + " needs a value";
        }
        std::string error = ApplyOption(option, argv[++i], arguments);
        if (!error.empty()) {
            return error;
        }
    }
    if (arguments.out == nullptr) {
        return "no output file (OUT.kmn)";
    }
    for (const PathOption& path : PathOptions(arguments)) {
        if (path.bRequired && path.path->empty()) {
            return std::string(path.name) + " FILE is required";
        }
    }
    return CheckPlanFits(arguments.plan);
}

// Says why an input cannot be used; the exit code of a bad argument.
int RefuseInput(const std::string& reason) {
    std::fprintf(stderr, "datatool: %s\n", reason.c_str());
    return 2;
}

} // namespace

int RunPuzzlesCommand(int argc, char** argv) {
    PuzzlesArguments arguments;
    std::string error = ParseArguments(argc, argv, arguments);
    if (!error.empty()) {
        std::fprintf(stderr, "datatool puzzles: %s\nusage: datatool puzzles %s\n", error.c_str(),
                     kPuzzlesArguments);
        return 2;
    }
    const std::optional<ContentRules> rules = LoadContentRules(arguments.rules, error);
    if (!rules) {
        return RefuseInput(error);
    }
    std::optional<std::vector<std::string>> words =
        LoadWordList(arguments.words, rules->exclusions, rules->family.Rules(), error);
    if (!words) {
        return RefuseInput(error);
    }
    std::optional<SharedLetterSets> dictionaryAnagrams =
        LoadDictionaryAnagrams(arguments.words, error);
    if (!dictionaryAnagrams) {
        return RefuseInput(error);
    }
    // The word list, the lexicon and the counts go once the generators are built: the
    // tool runs in the console's heap.
    std::optional<PuzzleGenerators> generators;
    {
        const std::optional<WordNetLexicon> lexicon = WordNetLexicon::Load(arguments.wordnet);
        if (!lexicon) {
            return RefuseInput("cannot read WordNet in '" + arguments.wordnet + "'");
        }
        const std::optional<CorpusCounts> counts =
            LoadCorpusCounts(arguments.counts, arguments.everyday, error);
        if (!counts) {
            return RefuseInput(error);
        }
        generators.emplace(std::move(*words), std::move(*dictionaryAnagrams), *lexicon, *rules,
                           *counts);
    }
    Kelvo_lib::PuzzleBankWriter writer;
    if (!BuildPuzzleBank(arguments.plan, *generators, writer, error)) {
        std::fprintf(stderr, "datatool: %s\n", error.c_str());
        return 1;
    }
    Kelvo_lib::kArray<u8> file;
    writer.Write(file);
    if (!WriteHostFile(arguments.out,
                       std::vector<unsigned char>(file.Data(), file.Data() + file.Size()))) {
        return 1;
    }
    std::printf("%s: %d puzzles, %d bytes\n", arguments.out, writer.GetNumEntries(), file.Size());
    return 0;
}

} // namespace datatool
