// A file of the test's own under /tmp holding a given text, removed at destruction: input
// scripts and other files that the code under test reads by path. Unique per instance, so
// tests running in parallel processes never share one; a file that cannot be written
// throws, which fails the test.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace test_support {

class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& text) {
        char pattern[] = "/tmp/puzzles_test_XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0) {
            throw std::runtime_error("cannot make a temporary file");
        }
        m_path = pattern;
        const bool written =
            write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        close(fd);
        if (!written) {
            std::remove(m_path.c_str());
            throw std::runtime_error("cannot write " + m_path);
        }
    }

    ~TemporaryFile() { std::remove(m_path.c_str()); }

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

} // namespace test_support
