// The one reading of the A button and the pointer: edges frame by frame from the real input
// system, a press taken for the rest of its frame, a press held back from a new screen, and
// presses and releases on a sprite.
#include "game_ui_fixture.h"

#include <services/mninputedge.h>
#include <services/mnresourcemanager.h>

#include <framework/ksprite.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Kelvo_lib;
using State = MNInputEdge::eButtonState;

class InputEdgeTest : public GameUITest {};

TEST_F(InputEdgeTest, ButtonReadsAsEdgesFrameByFrame) {
    MNInputEdge edge;
    const struct {
        bool bHeld;
        State state;
    } frames[] = {{false, MNInputEdge::IDLE},     {true, MNInputEdge::PRESSED},
                  {true, MNInputEdge::HELD},      {false, MNInputEdge::RELEASED},
                  {false, MNInputEdge::IDLE},     {true, MNInputEdge::PRESSED},
                  {false, MNInputEdge::RELEASED}, {true, MNInputEdge::PRESSED}};
    for (const auto& frame : frames) {
        HoldA(frame.bHeld);
        edge.UpdateButton();
        EXPECT_EQ(edge.GetState(), frame.state);
        EXPECT_EQ(edge.IsHeld(), frame.bHeld);
        EXPECT_EQ(edge.WasPressed(), frame.state == MNInputEdge::PRESSED);
        EXPECT_EQ(edge.WasReleased(), frame.state == MNInputEdge::RELEASED);
    }
}

TEST_F(InputEdgeTest, WithoutAnInputSystemTheButtonIsUp) {
    MNInputEdge edge;
    HoldA(true);
    kInputSystemBase::Select(nullptr);
    edge.UpdateButton();
    EXPECT_EQ(edge.GetState(), MNInputEdge::IDLE);
    EXPECT_FALSE(edge.IsHeld());
}

TEST_F(InputEdgeTest, PointerIsInWholePixelsOfTheDisplay) {
    LoadScript({PointAt(123, 45)});
    ASSERT_EQ(kPlatform_Process(), 1);
    m_input.Update();
    MNInputEdge edge;
    edge.Update();
    EXPECT_EQ(edge.GetX(), 123);
    EXPECT_EQ(edge.GetY(), 45);
}

TEST_F(InputEdgeTest, ATakenPressReadsHeldUntilTheButtonIsLetGo) {
    MNInputEdge edge;
    edge.Set(0, 0, true);
    edge.TakePress();
    EXPECT_EQ(edge.GetState(), MNInputEdge::HELD);
    EXPECT_FALSE(edge.WasPressed());
    edge.Set(0, 0, false);
    edge.TakePress(); // only a press is taken
    EXPECT_TRUE(edge.WasReleased());
}

TEST_F(InputEdgeTest, AHeldBackPressReadsIdleUntilTheButtonIsUp) {
    MNInputEdge edge;
    bool bHoldBack = true;
    const struct {
        bool bDown;
        State state;
        bool bStillHeldBack;
    } frames[] = {{true, MNInputEdge::IDLE, true},
                  {true, MNInputEdge::IDLE, true},
                  {false, MNInputEdge::IDLE, false},
                  {true, MNInputEdge::PRESSED, false},
                  {false, MNInputEdge::RELEASED, false}};
    edge.Set(0, 0, true);
    for (const auto& frame : frames) {
        edge.Set(0, 0, frame.bDown);
        EXPECT_EQ(edge.StateHoldingBack(bHoldBack), frame.state);
        EXPECT_EQ(bHoldBack, frame.bStillHeldBack);
    }
}

TEST_F(InputEdgeTest, PressAndReleaseCountOnTheSpriteUnderThePointer) {
    const std::unique_ptr<kSprite> sprite(MNResourceManager::GetSprite("fe", "wii_fe_button_256"));
    ASSERT_NE(sprite, nullptr);
    sprite->SetNormalCoordinates(false);
    sprite->SetPosition(100.0f, 50.0f);
    const int middleX = 100 + static_cast<int>(sprite->GetWidth()) / 2;
    const int middleY = 50 + static_cast<int>(sprite->GetHeight()) / 2;
    MNInputEdge edge;
    edge.Set(middleX, middleY, true);
    EXPECT_TRUE(edge.PressedOn(*sprite));
    EXPECT_FALSE(edge.ReleasedOn(*sprite));
    edge.Set(99, middleY, false);
    EXPECT_FALSE(edge.IsOver(*sprite));
    EXPECT_FALSE(edge.ReleasedOn(*sprite)) << "released beside it";
    edge.Set(middleX, middleY, true);
    EXPECT_FALSE(edge.ReleasedOn(*sprite)) << "held";
    edge.Set(middleX, middleY, false);
    EXPECT_TRUE(edge.ReleasedOn(*sprite));
}

} // namespace
