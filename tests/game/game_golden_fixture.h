// The game's golden-picture suites: the menus' background drawn as the game draws it, and the
// embedded frame buffer read back as a picture to compare; the same drawing for the suites
// whose fixtures run the world (game_golden).
#pragma once

#include "game_ui_fixture.h"
#include "png_golden.h"

#include <tui/mnbackground.h>

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>
#include <ui/kui.h>

namespace game_golden {

// A background after a second of motion at `frame` seconds a frame; its colour is the
// frame's clear, which shows from the next frame on.
inline void DrawMovedBackground(Kelvo_lib::MNBackgroundWidget& background, float frame) {
    for (int i = 0; i < 60; ++i) {
        background.Tick(frame);
    }
    background.Render();
    Kelvo_lib::kRender::BufferSwap();
    background.Render();
}

// The whole surface as drawn so far.
inline png_golden::Image Picture(const Kelvo_lib::krSurface* surface) {
    Kelvo_lib::krDrawHelp::Flush();
    return png_golden::ReadEmbeddedFrameBuffer(0, 0, surface->GetDesc().xRes,
                                               surface->GetDesc().yRes);
}

// A UI's screen over the menus' background after a second of motion.
inline png_golden::Image PictureOverBackground(Kelvo_lib::kUI* ui,
                                               const Kelvo_lib::krSurface* surface, float frame) {
    Kelvo_lib::MNBackgroundWidget background;
    DrawMovedBackground(background, frame);
    ui->GetScreen()->Render();
    return Picture(surface);
}

} // namespace game_golden

class GameGoldenTest : public GameUITest {
protected:
    static constexpr float kGoldenFrame = 1.0f / 60.0f;

    void SetUp() override {
        GameUITest::SetUp();
        Kelvo_lib::kRender::BufferClear(0xFF000000);
        Kelvo_lib::kRender::BufferSwap();
    }

    // The background of a look after a second of motion.
    void DrawBackground(Kelvo_lib::eBackgroundLook look) {
        Kelvo_lib::MNBackgroundWidget background;
        background.SetMode(look);
        game_golden::DrawMovedBackground(background, kGoldenFrame);
    }

    png_golden::Image Picture() { return game_golden::Picture(m_surface); }
};
