// Console events: the exact signal sequences of scripted remote drops and returns, HOME,
// injected disc errors, RESET and POWER (raised on any thread, delivered at the retrace),
// and the dialogs handed out with them.
#include "temporary_file.h"
#include "temporary_host_directory.h"

#include <framework/kevent.h>
#include <framework/ktext.h>

#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/kplatform.h>

#include <console/dvd.h>
#include <console/fault.h>
#include <console/host.h>
#include <console/host_input.h>
#include <console/os.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr const char* kDiscCheckFile = "wii/uk_english.txz";

void SetTextLanguage(const char* header) {
    std::string bytes = std::string(header) + "\n";
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned>(bytes.size()), K_IO_ACCESS_READ);
    kText::Load(&stream);
}

// Every signal as one line, "lost 0", "disc-error 103", ..., with the dialog handed out.
class EventLog : public kHasSlots<> {
public:
    EventLog() {
        kEvent::ResetButtonSignal.Connect(this, &EventLog::Reset);
        kEvent::PowerButtonSignal.Connect(this, &EventLog::Power);
        kEvent::HomeButtonSignal.Connect(this, &EventLog::Home);
        kEvent::ControllerCommunicationLostSignal.Connect(this, &EventLog::Lost);
        kEvent::ControllerCommunicationEstablishedSignal.Connect(this, &EventLog::Established);
        kEvent::DiscErrorSignal.Connect(this, &EventLog::DiscError);
        kEvent::DiscOkSignal.Connect(this, &EventLog::DiscOk);
    }

    void Reset() { Add("reset"); }
    void Power() { Add("power"); }
    void Home() { Add("home"); }
    void Lost(kDialog* dialog, int channel) {
        m_dialog = dialog;
        Add("lost " + std::to_string(channel));
    }
    void Established(kDialog* dialog, int channel) {
        m_dialog = dialog;
        Add("established " + std::to_string(channel));
    }
    void DiscError(kDialog* dialog) {
        m_dialog = dialog;
        Add("disc-error " + std::to_string(dialog->m_bodyScriptId));
    }
    void DiscOk(kDialog* dialog) {
        m_dialog = dialog;
        Add("disc-ok");
    }

    void Add(const std::string& line) {
        m_lines.push_back(line);
        m_threads.push_back(std::this_thread::get_id());
    }

    std::vector<std::string> m_lines;
    std::vector<std::thread::id> m_threads;
    kDialog* m_dialog = nullptr;
};

// The real remotes (driven by the host's remote state or a script), a disc of one file,
// the dialog manager and the event service, each test from a clean start.
class EventTest : public testing::Test {
protected:
    void SetUp() override {
        kPlatform_Init();
        HostInputReset();
        m_input.Init(nullptr);
        kInputSystemBase::Select(&m_input);
        m_input.Update();
        m_disc.Write(kDiscCheckFile, std::string(2048, 'x'));
        FaultReset();
        SetTextLanguage("NONE");
        kText::Reset();
        kDialogManager::Init(nullptr, nullptr, nullptr);
    }

    void TearDown() override {
        kEvent::Deinit();
        kDialogManager::Deinit();
        kInputSystemBase::Select(nullptr);
        HostInputReset();
        FaultReset();
        SetTextLanguage("NONE");
        kText::Reset();
    }

    static void LoadScript(const std::string& text) {
        const test_support::TemporaryFile script(text);
        ASSERT_TRUE(HostInputLoadScript(script.Path()));
    }

    // The next frames as the main loop runs them: the host's frame, input, event check,
    // buffer swap. Returns the signals of each frame, joined by commas.
    std::vector<std::string> RunFrames(u32 count) {
        std::vector<std::string> frames;
        for (u32 i = 0; i < count; ++i) {
            const size_t before = m_log.m_lines.size();
            HostInputBeginFrame(++m_frame);
            m_input.Update();
            kEvent::Check();
            VIWaitForRetrace();
            std::string line;
            for (size_t i = before; i < m_log.m_lines.size(); ++i) {
                line += (line.empty() ? "" : ",") + m_log.m_lines[i];
            }
            frames.push_back(line);
        }
        return frames;
    }

    // Checks until the drive has settled after the test read (at most a few seconds).
    void CheckUntilDriveIdle() {
        for (int i = 0; i < 200000; ++i) {
            kEvent::Check();
            if (DVDGetDriveStatus() == DVD_STATE_END) {
                kEvent::Check();
                return;
            }
            std::this_thread::yield();
        }
        FAIL() << "the drive never settled";
    }

    kInputSystemWII m_input;
    EventLog m_log;
    test_support::TemporaryDisc m_disc;
    u32 m_frame = 0;
};

TEST_F(EventTest, CheckBeforeInitDoesNothing) {
    kInput->SetInputState(KI_WII_PAD1_BUTTON_HOME, 1.0f, 0);
    HostInputSetConnected(0, false);
    m_input.Update();
    kEvent::Check();
    EXPECT_TRUE(m_log.m_lines.empty());
    EXPECT_EQ(kInput->GetInputState(KI_WII_PAD1_BUTTON_HOME, 0), 1.0f);
    EXPECT_FALSE(OSHasPowerCallback());
}

TEST_F(EventTest, ScriptedDropAndReturnSignalOnceEach) {
    LoadScript("3 disconnect\n6 connect\n");
    kEvent::Init();
    EXPECT_EQ(RunFrames(8),
              (std::vector<std::string>{"", "", "lost 0", "", "", "established 0", "", ""}));
    ASSERT_NE(m_log.m_dialog, nullptr);
    EXPECT_EQ(m_log.m_dialog->m_priority, kEvent::kDialogPriority);
}

TEST_F(EventTest, OtherRemotesSignalTheirFirstConnection) {
    LoadScript("2 remote 2 connect\n4 remote 2 disconnect\n");
    kEvent::Init();
    EXPECT_EQ(RunFrames(5), (std::vector<std::string>{"", "established 2", "", "lost 2", ""}));
}

TEST_F(EventTest, RemoteZeroCountsAsConnectedAtInit) {
    HostInputSetConnected(0, false);
    m_input.Update();
    kEvent::Init();
    kEvent::Check();
    EXPECT_EQ(m_log.m_lines, (std::vector<std::string>{"lost 0"}));
}

TEST_F(EventTest, LostRemoteDialogCarriesIdsOrLiteralText) {
    LoadScript("1 disconnect\n2 connect\n3 disconnect\n4 connect\n5 disconnect\n");
    kEvent::Init();
    RunFrames(1); // language NONE: ids
    kDialog* dialog = m_log.m_dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->m_titleScriptId, -1);
    EXPECT_EQ(dialog->m_bodyScriptId, 101);

    SetTextLanguage("FRENCH");
    RunFrames(2);
    EXPECT_EQ(dialog->m_bodyScriptId, -1);
    EXPECT_STREQ(dialog->m_body, kText::SystemText(101, KTEXT_FRENCH));
    EXPECT_STREQ(dialog->m_title, "");

    kDialog active("", "", 9); // an open dialog that shows ids makes the remote one use ids too
    active.m_bodyScriptId = 60;
    kDialogManager::Open(&active);
    RunFrames(2);
    EXPECT_EQ(dialog->m_bodyScriptId, 101);
    kDialogManager::Close(&active);
}

TEST_F(EventTest, HomeIsConsumedAndSignalledOncePerPress) {
    LoadScript("2 hold HOME\n5 hold none\n7 hold HOME,A\n");
    kEvent::Init();
    EXPECT_EQ(RunFrames(8), (std::vector<std::string>{"", "home", "", "", "", "", "home", ""}));
    EXPECT_EQ(kInput->GetInputState(KI_WII_PAD1_BUTTON_HOME, 0), 0.0f);
    EXPECT_EQ(kInput->GetInputState(KI_WII_PAD1_BUTTON_A, 0), 1.0f);
}

TEST_F(EventTest, ControllerCheckCanBeSwitchedOff) {
    LoadScript("2 disconnect\n");
    kEvent::Init();
    g_bEnableControllerCheck = false;
    EXPECT_EQ(RunFrames(3), (std::vector<std::string>{"", "", ""}));
    g_bEnableControllerCheck = true;
    EXPECT_EQ(RunFrames(1), (std::vector<std::string>{"lost 0"}));
}

struct DiscCase {
    const char* name;
    const char* faults;
    std::vector<std::string> signals;
};

class EventDiscTest : public EventTest, public testing::WithParamInterface<DiscCase> {};

// The disc check's read meets the injected drive errors; a second file's read follows it.
TEST_P(EventDiscTest, SignalsEachErrorStatusOnceAndTheReturnOnce) {
    ASSERT_TRUE(FaultAddText(GetParam().faults));
    kEvent::Init();
    kEvent::WiiDiscCheck(kDiscCheckFile);
    DVDFileInfo other{};
    alignas(32) static char buffer[32];
    ASSERT_TRUE(DVDOpen(kDiscCheckFile, &other));
    ASSERT_TRUE(DVDReadAsyncPrio(&other, buffer, 32, 0, nullptr, 3));
    CheckUntilDriveIdle();
    EXPECT_EQ(m_log.m_lines, GetParam().signals);
    DVDClose(&other);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EventDiscTest,
    testing::Values(DiscCase{"NoDisc", "dvd-read:no-disc@1x20", {"disc-error 103", "disc-ok"}},
                    DiscCase{"WrongDisc", "dvd-read:wrong-disc@1x3", {"disc-error 104", "disc-ok"}},
                    DiscCase{"Retry", "dvd-read:retry@1x3", {"disc-error 105", "disc-ok"}},
                    DiscCase{"NoDiscThenWrongDisc",
                             "dvd-read:no-disc@1x3,dvd-read:wrong-disc@2x3",
                             {"disc-error 103", "disc-error 104", "disc-ok"}},
                    DiscCase{"Fatal", "dvd-read:fatal@1x3", {"disc-error 106", "disc-ok"}},
                    DiscCase{"NoFault", "dvd-read:retry@9x1", {}}),
    [](const testing::TestParamInfo<DiscCase>& info) { return info.param.name; });

TEST_F(EventTest, ClearingTheReportLetsTheSameErrorSignalAgain) {
    ASSERT_TRUE(FaultAddText("dvd-read:no-disc@1x10"));
    kEvent::Init();
    kEvent::WiiDiscCheck(kDiscCheckFile);
    kEvent::Check();
    kEvent::Check();
    kEvent::SetDiscErrorReported(false);
    kEvent::Check();
    EXPECT_EQ(m_log.m_lines, (std::vector<std::string>{"disc-error 103", "disc-error 103"}));
    kEvent::WiiDiscCheck(kDiscCheckFile); // the drive is in error: no new read
    CheckUntilDriveIdle();
    EXPECT_EQ(m_log.m_lines.back(), "disc-ok");
}

// A fault waits for the first read: no read ever meets it when the file cannot be opened
// or is too short for 1,024 bytes at offset 128.
TEST_F(EventTest, TestReadsStopWhenTheFileIsMissingOrTooShort) {
    m_disc.Write(kDiscCheckFile, std::string(1000, 'x'));
    for (const char* file : {"wii/missing.txz", kDiscCheckFile}) {
        kEvent::Deinit();
        FaultReset();
        ASSERT_TRUE(FaultAddText("dvd-read:no-disc@1x5"));
        kEvent::Init();
        for (int i = 0; i < 3; ++i) {
            kEvent::WiiDiscCheck(file);
            kEvent::Check();
        }
    }
    EXPECT_TRUE(m_log.m_lines.empty());
}

TEST_F(EventTest, ResetIsHeldBackUntilEnabledAndPowerAlwaysSignals) {
    kEvent::Init();
    HostRaiseReset();
    VIWaitForRetrace();
    EXPECT_TRUE(g_bResetFlag);
    EXPECT_TRUE(m_log.m_lines.empty());

    g_bResetFlag = false;
    kEvent::EnableResetSignal();
    std::thread([] {
        HostRaiseReset();
        HostRaisePower();
    }).join();
    EXPECT_TRUE(m_log.m_lines.empty()); // nothing before the retrace
    VIWaitForRetrace();
    VIWaitForRetrace();
    EXPECT_EQ(m_log.m_lines, (std::vector<std::string>{"reset", "power"}));
    EXPECT_FALSE(g_bResetFlag);
    for (const std::thread::id& thread : m_log.m_threads) {
        EXPECT_EQ(thread, std::this_thread::get_id());
    }

    kEvent::DisableResetSignal();
    HostRaiseReset();
    VIWaitForRetrace();
    EXPECT_TRUE(g_bResetFlag);
    EXPECT_EQ(m_log.m_lines.size(), 2u);
}

TEST_F(EventTest, ScriptedResetAndPowerSignalOnTheirFrames) {
    LoadScript("2 reset\n4 power\n");
    kEvent::Init();
    kEvent::EnableResetSignal();
    EXPECT_EQ(RunFrames(5), (std::vector<std::string>{"", "reset", "", "power", ""}));
}

TEST_F(EventTest, DeinitGivesTheButtonsBack) {
    kEvent::Init();
    EXPECT_TRUE(OSHasPowerCallback());
    kEvent::Deinit();
    EXPECT_FALSE(OSHasPowerCallback());
}

TEST(EventDialogTest, DiscErrorDialogsNameTheirMessage) {
    const std::pair<int, int> cases[] = {{4, 103}, {6, 104}, {11, 105}, {0, -1}, {1, -1}};
    for (const auto& [status, body] : cases) {
        kDialog* dialog = kEvent::GetWiiDiscErrorDialog(status);
        EXPECT_EQ(dialog->m_bodyScriptId, body) << status;
        EXPECT_EQ(dialog->m_titleScriptId, -1);
        EXPECT_EQ(dialog->m_priority, 0);
        delete dialog;
    }
}

} // namespace
