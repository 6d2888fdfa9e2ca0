// The window host's mouse under a virtual X display (Xvfb): a press and a release that arrive
// in one batch of window events reach the remote as a press on one frame and a release on
// the next, as a touchpad's tap sends them. Skipped, saying why, where no display starts.
#include "host/window.h"

#include <console/host_input.h>
#include <console/wpad.h>

#include <SDL.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// An Xvfb server of the test's own, stopped with it; display() is empty when none started.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            return;
        }
        m_server = fork();
        if (m_server == 0) {
            close(pipeEnds[0]);
            const std::string fd = std::to_string(pipeEnds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        m_display = ReadDisplayNumber(pipeEnds[0]);
        close(pipeEnds[0]);
    }

    ~VirtualDisplay() {
        if (m_server > 0) {
            kill(m_server, SIGTERM);
            waitpid(m_server, nullptr, 0);
        }
    }

    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    const std::string& display() const { return m_display; }

private:
    // The server writes its display number once it accepts clients.
    static std::string ReadDisplayNumber(int fd) {
        std::string number;
        pollfd wait{fd, POLLIN, 0};
        char c = 0;
        while (poll(&wait, 1, 10000) > 0 && read(fd, &c, 1) == 1 && c != '\n') {
            number += c;
        }
        return number.empty() ? "" : ":" + number;
    }

    pid_t m_server = -1;
    std::string m_display;
};

class WindowInputTest : public testing::Test {
protected:
    void SetUp() override {
        if (m_server.display().empty()) {
            GTEST_SKIP() << "no virtual display: Xvfb (Debian package xvfb) did not start";
        }
        const char* previous = std::getenv("DISPLAY");
        m_previousDisplay = previous != nullptr ? previous : "";
        setenv("DISPLAY", m_server.display().c_str(), 1);
        HostInputReset();
        ASSERT_TRUE(HostWindowStart());
    }

    void TearDown() override {
        HostWindowStop();
        HostInputReset();
        if (!m_server.display().empty()) {
            setenv("DISPLAY", m_previousDisplay.c_str(), 1);
        }
    }

    static void PushLeftButton(bool down) {
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = 320;
        event.button.y = 240;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    static bool AHeld() { return (HostInputGetRemote(0).held & WPAD_BUTTON_A) != 0; }

    VirtualDisplay m_server;
    std::string m_previousDisplay;
    u32 m_frame = 0;
};

TEST_F(WindowInputTest, PressAndReleaseInOneBatchReachTheRemoteOnTwoFrames) {
    for (int click = 0; click < 24; ++click) {
        SCOPED_TRACE(click);
        PushLeftButton(true);
        PushLeftButton(false);
        HostWindowHandleEvents();
        HostInputBeginFrame(++m_frame);
        EXPECT_TRUE(AHeld()) << "the press";
        HostInputBeginFrame(++m_frame);
        EXPECT_FALSE(AHeld()) << "the release";
    }
}

TEST_F(WindowInputTest, PressAndReleaseInSeparateBatchesChangeTheButtonAtOnce) {
    PushLeftButton(true);
    HostWindowHandleEvents();
    EXPECT_TRUE(AHeld());
    HostInputBeginFrame(++m_frame);
    PushLeftButton(false);
    HostWindowHandleEvents();
    EXPECT_FALSE(AHeld());
    HostInputBeginFrame(++m_frame);
    EXPECT_FALSE(AHeld());
}

} // namespace
