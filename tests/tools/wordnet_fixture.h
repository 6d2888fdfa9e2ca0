// A small WordNet database written to a temporary folder in WordNet's own text formats
// (index.*, data.* with each synset at the byte offset its index lines name, *.exc,
// cntlist.rev), so that the lexicon reads it as it reads Debian's wordnet-base.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace wordnet_fixture {

class WordNetFolder {
public:
    // A synset of the class ("noun", "verb", "adj", "adv") with its words as written
    // ("China", "dog") and its gloss; each word's senses count in the order added. It may
    // name the noun synsets of its usage domains, its lexicographer file, a verb's
    // sentence frames (for all its words) and the noun synsets of its topic and region
    // domains. Its offset.
    std::string AddSynset(const std::string& wordClass, const std::vector<std::string>& words,
                          const std::string& gloss, const std::vector<std::string>& usages = {},
                          const std::string& lexFile = "05", const std::vector<int>& frames = {},
                          const std::vector<std::string>& topics = {},
                          const std::vector<std::string>& regions = {}) {
        std::string& data = m_data[wordClass];
        if (data.empty()) {
            data = "  1 This is a licence line, which the reader skips.\n";
        }
        char offset[16];
        std::snprintf(offset, sizeof(offset), "%08zu", data.size());
        char count[8];
        std::snprintf(count, sizeof(count), "%02zx", words.size());
        std::string line =
            std::string(offset) + " " + lexFile + " " + wordClass.substr(0, 1) + " " + count;
        for (const std::string& word : words) {
            line += " " + word + " 0";
            std::string lemma;
            for (char c : word) {
                lemma += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            m_senses[wordClass][lemma].push_back(offset);
        }
        char pointers[8];
        std::snprintf(pointers, sizeof(pointers), " %03zu",
                      usages.size() + topics.size() + regions.size());
        line += pointers;
        for (const std::string& usage : usages) {
            line += " ;u " + usage + " n 0000";
        }
        for (const std::string& topic : topics) {
            line += " ;c " + topic + " n 0000";
        }
        for (const std::string& region : regions) {
            line += " ;r " + region + " n 0000";
        }
        if (wordClass == "verb") {
            char frameCount[8];
            std::snprintf(frameCount, sizeof(frameCount), " %02zu", frames.size());
            line += frameCount;
            for (int frame : frames) {
                char entry[16];
                std::snprintf(entry, sizeof(entry), " + %02d 00", frame);
                line += entry;
            }
        }
        data += line + " | " + gloss + "  \n";
        return offset;
    }

    // A line of cntlist.rev: "dog%1:05:00:: 1 42".
    void AddUseCount(const std::string& line) { m_counts += line + "\n"; }
    // A line of an exception file: "ran run" into verb.exc.
    void AddException(const std::string& wordClass, const std::string& line) {
        m_exceptions[wordClass] += line + "\n";
    }

    // Writes the files into a new folder of this process (tests run in parallel), removed
    // when the process ends (lexicons read their glosses on demand); its path.
    std::string Write(const std::string& name) const {
        const std::filesystem::path folder =
            std::filesystem::path(testing::TempDir()) / (name + "_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        WrittenFolders().push_back(folder);
        for (const char* wordClass : {"noun", "verb", "adj", "adv"}) {
            std::string index = "  1 licence\n";
            const auto senses = m_senses.find(wordClass);
            if (senses != m_senses.end()) {
                for (const auto& [lemma, offsets] : senses->second) {
                    index += lemma + " " + std::string(wordClass).substr(0, 1) + " " +
                             std::to_string(offsets.size()) + " 0 " +
                             std::to_string(offsets.size()) + " 0";
                    for (const std::string& offset : offsets) {
                        index += " " + offset;
                    }
                    index += "  \n";
                }
            }
            WriteFile(folder / (std::string("index.") + wordClass), index);
            const auto data = m_data.find(wordClass);
            WriteFile(folder / (std::string("data.") + wordClass),
                      data != m_data.end() ? data->second : "");
            const auto exceptions = m_exceptions.find(wordClass);
            WriteFile(folder / (std::string(wordClass) + ".exc"),
                      exceptions != m_exceptions.end() ? exceptions->second : "");
        }
        WriteFile(folder / "cntlist.rev", m_counts);
        return folder.string();
    }

private:
    static std::vector<std::filesystem::path>& WrittenFolders() {
        static struct Folders {
            std::vector<std::filesystem::path> paths;
            ~Folders() {
                for (const std::filesystem::path& path : paths) {
                    std::error_code ignored;
                    std::filesystem::remove_all(path, ignored);
                }
            }
        } s_folders;
        return s_folders.paths;
    }

    static void WriteFile(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    std::map<std::string, std::string> m_data;
    std::map<std::string, std::map<std::string, std::vector<std::string>>> m_senses;
    std::map<std::string, std::string> m_exceptions;
    std::string m_counts;
};

} // namespace wordnet_fixture
