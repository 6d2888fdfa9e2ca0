// What the UI suites share: a journal of calls, and a frame loop driven the way the game's
// is: an input script replayed through the console's remotes, the platform's frame step,
// the remote input system and a render surface; scripts played frame by frame against the
// journal, and remote 1's A button held by hand; the TV formats a suite can run in.
#pragma once

#include "render_fixture.h"
#include "temporary_file.h"

#include <ui/kuiwidget.h>

#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/platform/kplatform.h>

#include <console/host.h>
#include <console/host_input.h>
#include <console/vi.h>
#include <console/wpad.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace ui_test {

using Journal = std::vector<std::string>;

// A TV format a suite runs in, and its name in the suite's test names.
struct TvCase {
    const char* name;
    u32 tvFormat;
};
inline const auto kTvFormats = testing::Values(TvCase{"Ntsc", VI_NTSC}, TvCase{"Pal", VI_PAL});
inline std::string TvName(const testing::TestParamInfo<TvCase>& info) {
    return info.param.name;
}
inline void PrintTo(const TvCase& tv, std::ostream* out) {
    *out << tv.name;
}

// The console's TV format and video mode as the host sets them at start-up: the render
// surface created next takes the format's size.
inline void SelectTvFormat(u32 tvFormat) {
    HostOptions options = HostGetOptions();
    options.tvFormat = tvFormat;
    HostSetOptions(options);
    MyDemoSetRenderMode(nullptr);
    MyDemoReInit(s_curMode);
}

// A suite run in the TV format of its parameter (kTvFormats), PAL again after each test.
template <class Base>
class InTvFormat : public Base, public testing::WithParamInterface<TvCase> {
protected:
    void SetUp() override {
        SelectTvFormat(this->GetParam().tvFormat);
        Base::SetUp();
    }

    void TearDown() override {
        Base::TearDown();
        SelectTvFormat(VI_PAL);
    }
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

class ScriptedInputTest : public render_fixture::RenderTest {
protected:
    void SetUp() override {
        HostInputReset();
        m_input.Init(nullptr);
        Kelvo_lib::kInputSystemBase::Select(&m_input);
        RenderTest::SetUp();
    }

    void TearDown() override {
        RenderTest::TearDown();
        Kelvo_lib::kInputSystemBase::Select(nullptr);
        HostInputReset();
    }

    // Replays frames[i] (script events without their frame number, or nothing when
    // empty) at the i-th frame from the next one.
    void LoadScript(const std::vector<std::string>& frames) {
        std::ostringstream text;
        const u32 first = HostFrameCount() + 1;
        for (size_t i = 0; i < frames.size(); ++i) {
            if (!frames[i].empty()) {
                text << first + i << " " << frames[i] << "\n";
            }
        }
        const test_support::TemporaryFile script(text.str());
        ASSERT_TRUE(HostInputLoadScript(script.Path()));
    }

    // One frame as the game runs it before its widgets take their input: the platform's
    // frame step (which replays the script) and the input update.
    void Step() {
        ASSERT_EQ(kPlatform_Process(), 1);
        m_input.Update();
    }

    // Holds or lets go of remote 1's A button, as the input system reads it from now on.
    void HoldA(bool bHeld) {
        HostInputSetHeld(0, bHeld ? u32{WPAD_BUTTON_A} : 0u);
        m_input.Update();
    }

    // One frame of the game's loop as far as the widgets go: the step, then the tree's input
    // dispatch.
    void RunFrame(Kelvo_lib::kUIWidget* root) {
        Step();
        root->ProcessInput();
    }

    // A frame of a played script: its input (script events without their frame number, or
    // nothing when empty) and the journal lines it should leave.
    struct ScriptFrame {
        std::string input;
        Journal lines;
    };

    // Replays the frames' inputs one a frame; each frame empties the journal, runs runFrame
    // and expects the frame's lines in the journal.
    void PlayScript(const std::vector<ScriptFrame>& frames, Journal& journal,
                    const std::function<void()>& runFrame) {
        std::vector<std::string> script;
        for (const ScriptFrame& frame : frames) {
            script.push_back(frame.input);
        }
        LoadScript(script);
        for (size_t i = 0; i < frames.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "frame " << i + 1 << ": " << frames[i].input);
            journal.clear();
            runFrame();
            EXPECT_EQ(journal, frames[i].lines);
        }
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
