// The game UI suites' set-up: the render layer and the remote replayed from input scripts
// (the framework suite's ScriptedInputTest), the resource manager over the built disc, and
// the UK English texts read from it; a game world run frame by frame from script lines.
#pragma once

#include "../framework/ui_test_support.h"

#include <services/mnresourcemanager.h>
#include <shell/mngameworld.h>

#include <framework/ktext.h>
#include <kelvo/io/kfileiostream.h>
#include <kelvo/platform/kfile.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class GameUITest : public ui_test::ScriptedInputTest {
protected:
    void SetUp() override {
        ScriptedInputTest::SetUp();
        Kelvo_lib::MNResourceManager::Init();
        SysFileHandle* file =
            kPlatform_FileOpen("wii/uk_english.txz", K_IO_ACCESS_READ, K_IO_OPEN_EXISTING);
        ASSERT_NE(file, nullptr) << "the disc is built with the tests";
        Kelvo_lib::kFileIOStream stream(file);
        EXPECT_TRUE(Kelvo_lib::kText::Load(&stream));
        stream.Close();
    }

    void TearDown() override {
        Kelvo_lib::kText::Reset();
        Kelvo_lib::MNResourceManager::Deinit();
        ScriptedInputTest::TearDown();
    }

    // One frame per script line (empty: no new input) as the game runs it: the step, then
    // the world's tick of `seconds`.
    void RunWorld(Kelvo_lib::MNGameWorld& world, const std::vector<std::string>& frames,
                  float seconds) {
        LoadScript(frames);
        for (size_t i = 0; i < frames.size(); ++i) {
            Step();
            world.Tick(seconds);
        }
    }

    // The script lines of a press and release of A at a place, and a frame after them.
    static std::vector<std::string> ClickScript(const std::string& place) {
        return {place, place + " hold A", "hold none", ""};
    }
};
