// A log hook that records the text of every line logged while it lives, for tests that
// check what was logged: hooked at construction, unhooked by kLogHook's destructor. The
// log's lock serialises lines from other threads; read the lines on the test's thread.
#pragma once

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <string>
#include <vector>

namespace test_support {

class LogCapture : public Kelvo_lib::kLogHook {
public:
    LogCapture() { kLog->Hook(this); }

    void Reset() override {}
    void Message(long, int, int, const char*, const char* text, bool) override {
        lines.emplace_back(text);
    }
    void Print(const char*) override {}

    // The lines equal to line.
    int Count(const std::string& line) const {
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    // The lines that hold part anywhere.
    int CountContaining(const std::string& part) const {
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
            return line.find(part) != std::string::npos;
        }));
    }

    bool Contains(const std::string& part) const { return CountContaining(part) > 0; }

    std::vector<std::string> lines;
};

} // namespace test_support
