// The game's golden-picture suites: the menus' background drawn as the game draws it, and the
// embedded frame buffer read back as a picture to compare.
#pragma once

#include "game_ui_fixture.h"
#include "png_golden.h"

#include <tui/mnbackground.h>

#include <kelvo/render/krdrawhelp.h>

class GameGoldenTest : public GameUITest {
protected:
    static constexpr float kGoldenFrame = 1.0f / 60.0f;

    void SetUp() override {
        GameUITest::SetUp();
        Kelvo_lib::kRender::BufferClear(0xFF000000);
        Kelvo_lib::kRender::BufferSwap();
    }

    // The background of a look after a second of motion; its colour is the frame's
    // clear, which shows from the next frame on.
    void DrawBackground(Kelvo_lib::eBackgroundLook look) {
        Kelvo_lib::MNBackgroundWidget background;
        background.SetMode(look);
        for (int i = 0; i < 60; ++i) {
            background.Tick(kGoldenFrame);
        }
        background.Render();
        Kelvo_lib::kRender::BufferSwap();
        background.Render();
    }

    png_golden::Image Picture() {
        Kelvo_lib::krDrawHelp::Flush();
        return png_golden::ReadEmbeddedFrameBuffer(0, 0, m_surface->GetDesc().xRes,
                                                   m_surface->GetDesc().yRes);
    }
};
