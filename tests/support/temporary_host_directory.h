// A directory of the test's own under /tmp that the host options name as the console's
// disc (TemporaryDisc) or flash memory (TemporaryNand) while it lives; destruction gives
// the option its previous value back and removes the directory. Main thread only; a
// directory that cannot be made throws, which fails the test before it touches anything.
#pragma once

#include <console/host.h>
#include <console/types.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

template <char (HostOptions::*Option)[kHostPathCapacity]>
class TemporaryHostDirectory {
public:
    TemporaryHostDirectory() {
        char pattern[] = "/tmp/puzzles_test_XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("cannot make a temporary directory");
        }
        m_root = pattern;
        HostOptions options = HostGetOptions();
        std::snprintf(m_previous, sizeof(m_previous), "%s", options.*Option);
        std::snprintf(options.*Option, sizeof(options.*Option), "%s", m_root.c_str());
        HostSetOptions(options);
    }

    ~TemporaryHostDirectory() {
        HostOptions options = HostGetOptions();
        std::snprintf(options.*Option, sizeof(options.*Option), "%s", m_previous);
        HostSetOptions(options);
        std::filesystem::remove_all(m_root);
    }

    TemporaryHostDirectory(const TemporaryHostDirectory&) = delete;
    TemporaryHostDirectory& operator=(const TemporaryHostDirectory&) = delete;

    const std::filesystem::path& Root() const { return m_root; }

    // Writes a file at a path inside the directory, making the folders on the way.
    void Write(const std::string& path, std::string_view bytes) const {
        std::filesystem::create_directories((m_root / path).parent_path());
        std::ofstream(m_root / path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    void Write(const std::string& path, const std::vector<u8>& bytes) const {
        Write(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

private:
    std::filesystem::path m_root;
    char m_previous[kHostPathCapacity] = {};
};

using TemporaryDisc = TemporaryHostDirectory<&HostOptions::discDir>;
using TemporaryNand = TemporaryHostDirectory<&HostOptions::nandDir>;

} // namespace test_support
