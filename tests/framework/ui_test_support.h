// What the UI suites share: a recorder of logged lines, a journal of calls, and a frame
// loop driven the way the game's is: an input script replayed through the console's
// remotes, the platform's frame step, the remote input system and a render surface.
#pragma once

#include <ui/kuiwidget.h>

#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krender.h>

#include <console/host.h>
#include <console/host_input.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace ui_test {

using Journal = std::vector<std::string>;

class LogRecorder : public Kelvo_lib::kLogHook {
public:
    LogRecorder() { kLog->Hook(this); }

    void Reset() override {}
    void Message(long, int, int, const char*, const char* text, bool) override {
        lines.emplace_back(text);
    }
    void Print(const char*) override {}

    int Count(const std::string& line) const {
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    std::vector<std::string> lines;
};

// A widget that notes its events in a journal as "<id>.<event>". A grip captures the
// pointer while its button is down and notes the moves it gets meanwhile as "drag".
class Probe : public Kelvo_lib::kUIWidget {
public:
    Probe(Journal* journal, const char* id, Kelvo_lib::kUIRect rect, unsigned int flags = 0)
        : m_journal(journal) {
        m_id = id;
        m_pos = {Kelvo_lib::KUI_POSITION_PIXELS, rect.x, rect.y};
        m_size = {Kelvo_lib::KUI_POSITION_PIXELS, rect.w, rect.h};
        m_widgetFlags = flags;
    }

    // A new child probe, owned by this one.
    Probe* Add(const char* id, Kelvo_lib::kUIRect rect, unsigned int flags = 0) {
        Probe* const child = new Probe(m_journal, id, rect, flags);
        AddChild(child);
        return child;
    }

    Kelvo_lib::kUIPoint GetIdealSize() const override { return m_idealSize; }
    bool HitMask(const Kelvo_lib::kUIPoint&) override { return m_bMasks; }
    void OnMouseLeave() override { Note("leave"); }
    void OnMouseLeaveHot() override { Note("leavehot"); }
    void OnMouseOver() override { Note("over"); }
    void OnMouseOverHot() override { Note("hot"); }
    void OnMouseDown(const Kelvo_lib::kUIPoint&, unsigned int) override {
        Note("down");
        if (m_bGrip) {
            CaptureMouse();
            m_bHolding = true;
        }
    }
    void OnMouseUp(const Kelvo_lib::kUIPoint&, unsigned int) override {
        Note("up");
        if (m_bGrip) {
            ReleaseMouse();
            m_bHolding = false;
        }
    }
    void OnMouse(const Kelvo_lib::kUIPoint&, unsigned int, unsigned int) override {
        if (m_bHolding) {
            Note("drag");
        }
    }
    void OnGainFocus() override { Note("gain"); }
    void OnLoseFocus() override { Note("lose"); }

    Kelvo_lib::kUIPoint m_idealSize;
    bool m_bMasks = true;
    bool m_bGrip = false;

private:
    void Note(const char* event) { m_journal->push_back(std::string(m_id.CStr()) + "." + event); }

    Journal* m_journal;
    bool m_bHolding = false;
};

// The render layer started with its primary surface, the size of the video mode's.
class SurfaceTest : public testing::Test {
protected:
    void SetUp() override {
        Kelvo_lib::kRender::Init();
        m_surface = Kelvo_lib::kRender::SurfaceCreate(Kelvo_lib::krSurfaceDesc());
        ASSERT_NE(m_surface, nullptr);
    }

    void TearDown() override {
        Kelvo_lib::kRender::SurfaceDestroy(m_surface);
        Kelvo_lib::kRender::Deinit();
    }

    float DisplayWidth() const { return static_cast<float>(m_surface->GetDesc().xRes); }
    float DisplayHeight() const { return static_cast<float>(m_surface->GetDesc().yRes); }

    Kelvo_lib::krSurface* m_surface = nullptr;
};

class ScriptedInputTest : public SurfaceTest {
protected:
    void SetUp() override {
        HostInputReset();
        m_input.Init(nullptr);
        Kelvo_lib::kInputSystemBase::Select(&m_input);
        SurfaceTest::SetUp();
    }

    void TearDown() override {
        SurfaceTest::TearDown();
        Kelvo_lib::kInputSystemBase::Select(nullptr);
        HostInputReset();
    }

    // Replays frames[i] (script events without their frame number, or nothing when
    // empty) at the i-th frame from the next one.
    void LoadScript(const std::vector<std::string>& frames) {
        // One file per test: ctest runs tests in parallel processes.
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        const std::string path = testing::TempDir() + name + ".input.txt";
        std::ofstream script(path);
        const u32 first = HostFrameCount() + 1;
        for (size_t i = 0; i < frames.size(); ++i) {
            if (!frames[i].empty()) {
                script << first + i << " " << frames[i] << "\n";
            }
        }
        script.close();
        ASSERT_TRUE(HostInputLoadScript(path.c_str()));
    }

    // One frame of the game's loop as far as the widgets go: the platform's frame step
    // (which replays the script), the input update, then the tree's input dispatch.
    void RunFrame(Kelvo_lib::kUIWidget* root) {
        ASSERT_EQ(kPlatform_Process(), 1);
        m_input.Update();
        root->ProcessInput();
    }

    // The script event that points at the centre of a pixel of the surface.
    std::string PointAt(int x, int y) const {
        const Kelvo_lib::krSurfaceDesc& desc = m_surface->GetDesc();
        char event[64];
        std::snprintf(event, sizeof event, "pointer %.6f %.6f", (x + 0.5) / desc.xRes,
                      (y + 0.5) / desc.yRes);
        return event;
    }

    Kelvo_lib::kInputSystemWII m_input;
};

} // namespace ui_test
