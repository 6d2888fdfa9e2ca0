// A started render layer with its primary surface selected, for the render suites, and
// a log hook that records the lines logged while it is installed.
#pragma once

#include <kelvo/platform/klog.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace render_fixture {

class LogLines : public Kelvo_lib::kLogHook {
public:
    LogLines() { kLog->Hook(this); }

    void Reset() override {}
    void Message(long, int, int, const char*, const char* text, bool) override {
        lines.emplace_back(text);
    }
    void Print(const char*) override {}

    bool Contains(const std::string& text) const {
        for (const std::string& line : lines) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> lines;
};

class RenderTest : public testing::Test {
protected:
    void SetUp() override {
        Kelvo_lib::kRender::Init();
        Kelvo_lib::krSurfaceDesc desc;
        m_surface = Kelvo_lib::kRender::SurfaceCreate(desc);
        ASSERT_NE(m_surface, nullptr);
    }

    void TearDown() override {
        Kelvo_lib::krDrawHelp::Flush();
        Kelvo_lib::kRender::SurfaceDestroy(m_surface);
        Kelvo_lib::kRender::Deinit();
    }

    Kelvo_lib::krSurface* m_surface = nullptr;
};

} // namespace render_fixture
