// datatool puzzles OUT.kmn --exclude FILE --blocklist FILE --spellings FILE --sensitive FILE
// --clues FILE [--everyday FILE] [--words FILE] [--wordnet DIR] [--counts DIR] [--seed N] [--mini
// N]
// [--per-difficulty N]: writes a puzzle bank of generated sudokus, wordsearches,
// crosswords and fitwords.
#include "commands.h"
#include "content_rules.h"
#include "host_files.h"
#include "puzzle_bank_builder.h"
#include "word_counts.h"
#include "word_list.h"
#include "wordnet_lexicon.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace datatool {
namespace {

struct PuzzlesArguments {
    const char* out = nullptr;
    ContentRulePaths rules;
    const char* words = kDefaultWordListPath;
    const char* wordnet = kDefaultWordNetPath;
    const char* counts = kDefaultWordCountsPath;
    const char* everyday = kDefaultEverydayWordsPath;
    PuzzleBankPlan plan;
};

// A whole non-negative number, or -1.
long long ParseCount(const char* text) {
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return *text != 0 && *end == 0 && value >= 0 && value <= UINT32_MAX ? value : -1;
}

bool ParseArguments(int argc, char** argv, PuzzlesArguments& arguments) {
    for (int i = 0; i < argc; ++i) {
        const char* option = argv[i];
        if (option[0] != '-') {
            if (arguments.out != nullptr) {
                return false;
            }
            arguments.out = option;
            continue;
        }
        if (i + 1 >= argc) {
            return false;
        }
        const char* value = argv[++i];
        const long long count = ParseCount(value);
        if (std::strcmp(option, "--exclude") == 0) {
            arguments.rules.exclusions = value;
        } else if (std::strcmp(option, "--blocklist") == 0) {
            arguments.rules.blocklist = value;
        } else if (std::strcmp(option, "--spellings") == 0) {
            arguments.rules.spellings = value;
        } else if (std::strcmp(option, "--sensitive") == 0) {
            arguments.rules.sensitive = value;
        } else if (std::strcmp(option, "--clues") == 0) {
            arguments.rules.clues = value;
        } else if (std::strcmp(option, "--everyday") == 0) {
            arguments.everyday = value;
        } else if (std::strcmp(option, "--words") == 0) {
            arguments.words = value;
        } else if (std::strcmp(option, "--wordnet") == 0) {
            arguments.wordnet = value;
        } else if (std::strcmp(option, "--counts") == 0) {
            arguments.counts = value;
        } else if (std::strcmp(option, "--seed") == 0 && count >= 0) {
            arguments.plan.seed = static_cast<std::uint32_t>(count);
        } else if (std::strcmp(option, "--mini") == 0 && count >= 0 && count <= 1536) {
            arguments.plan.miniCount = static_cast<int>(count);
        } else if (std::strcmp(option, "--per-difficulty") == 0 && count >= 0 && count <= 1536) {
            arguments.plan.perDifficulty = static_cast<int>(count);
        } else {
            return false;
        }
    }
    return arguments.out != nullptr && !arguments.rules.exclusions.empty() &&
           !arguments.rules.blocklist.empty() && !arguments.rules.spellings.empty() &&
           !arguments.rules.sensitive.empty() && !arguments.rules.clues.empty();
}

} // namespace

int RunPuzzlesCommand(int argc, char** argv) {
    PuzzlesArguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::fprintf(stderr, "usage: datatool puzzles OUT.kmn --exclude FILE --blocklist FILE "
                             "--spellings FILE --sensitive FILE --clues FILE [--everyday FILE] "
                             "[--words FILE] "
                             "[--wordnet DIR] [--counts DIR] [--seed N] [--mini N] "
                             "[--per-difficulty N]\n");
        return 2;
    }
    std::string error;
    const std::optional<ContentRules> rules = LoadContentRules(arguments.rules, error);
    if (!rules) {
        std::fprintf(stderr, "datatool: %s\n", error.c_str());
        return 1;
    }
    std::optional<std::vector<std::string>> words =
        LoadWordList(arguments.words, rules->exclusions, rules->family.Rules());
    if (!words) {
        std::fprintf(stderr, "datatool: cannot read the word list '%s'\n", arguments.words);
        return 1;
    }
    // The word list, the lexicon and the counts go once the generators are built: the
    // tool runs in the console's heap.
    std::optional<PuzzleGenerators> generators;
    {
        const std::optional<WordNetLexicon> lexicon = WordNetLexicon::Load(arguments.wordnet);
        if (!lexicon) {
            std::fprintf(stderr, "datatool: cannot read WordNet in '%s'\n", arguments.wordnet);
            return 1;
        }
        const std::optional<CorpusCounts> counts =
            LoadCorpusCounts(arguments.counts, arguments.everyday, error);
        if (!counts) {
            std::fprintf(stderr, "datatool: %s\n", error.c_str());
            return 1;
        }
        generators.emplace(std::move(*words), *lexicon, *rules, *counts);
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
