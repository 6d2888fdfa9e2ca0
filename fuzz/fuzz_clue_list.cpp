// Parses arbitrary text as the hand-written clue list and looks every answer it accepts up
// again, so that any read outside the text shows under the sanitizers, and a list that
// breaks its own promises (a refusal without a reason, an answer not found again, a line
// with more clues or longer ones than a list may give) stops the run.
#include "puzzles/clue_list.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

bool KeepsItsPromises(const datatool::ClueList& list) {
    for (const datatool::ListedAnswer& listed : list.Answers()) {
        if (list.Find(listed.answer) != &listed ||
            list.HasClues(listed.answer) == listed.clues.empty() ||
            listed.clues.size() > datatool::kMaxListedClues) {
            return false;
        }
        for (const std::string& clue : listed.clues) {
            if (clue.empty() || clue.size() > datatool::kMaxListedClueLength) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream lines(std::string(data, data + size));
    std::string error;
    const std::optional<datatool::ClueList> list =
        datatool::ClueList::Parse(lines, "clues.txt", error);
    if (list ? !KeepsItsPromises(*list) : error.empty()) {
        std::abort();
    }
    return 0;
}
