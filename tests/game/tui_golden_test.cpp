// Golden pictures of the game's UI toolkit drawn with the disc's own art and fonts through
// the render layer into the embedded frame buffer: a TUI menu over the menus' background, the
// menu widget with a volume entry and its help line, the on-screen keyboard, and the nine
// background looks as one picture.
#include "frame_step.h"
#include "game_golden_fixture.h"

#include <tui/mnbackground.h>
#include <tui/mnkeyboard.h>
#include <tui/mnmenuwidget.h>
#include <tui/tui.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Kelvo_lib;
using png_golden::Image;
using png_golden::MatchesGolden;
using png_golden::ReadEmbeddedFrameBuffer;

class TUIGoldenTest : public GameGoldenTest {
protected:
    // Puts the pointer at pixel (x, y) and lets a frame read it.
    void PointerAt(int x, int y) {
        LoadScript({PointAt(x, y)});
        Step();
    }
};

// A profile-like screen: title, four slots (the chosen one wide), a typed name, a radio
// button, a spinner, a disabled button, back and help.
class ProfileLikeMenu : public TUI {
public:
    ProfileLikeMenu() {
        TUIScreen* screen = AddScreen();
        AddText(screen, "Choose a player", 0.5f, 0.05f, true);
        TUIText* name = AddText(screen, "%s_", 0.5f, 0.16f);
        name->m_text = TUIString("%s_", TUIStringParam(m_name));
        name->m_bBoxed = true;
        name->m_bCursor = true;
        const char* slots[] = {"ANN", "BOB", "PLAYER 3", "PLAYER 4"};
        for (int i = 0; i < 4; ++i) {
            m_slots[i] =
                AddButton(screen, slots[i], 0.3f, 0.27f + 0.1f * i, false, i == 0 ? 256 : 187);
        }
        AddRadioButton(screen, "Crossword", 0.75f, 0.27f)->m_bOn = true;
        AddRadioButton(screen, "Sudoku", 0.75f, 0.37f);
        kArray<TUIString> levels;
        levels.Push(TUIString("Intermediate"));
        AddSpinner(screen, levels, 0.75f, 0.47f);
        AddButton(screen, "Erase", 0.5f, 0.73f, false, 187)->m_bEnabled = false;
        AddText(screen, "Press a name twice to play as that player.", 0.5f, 0.84f, false, true)
            ->m_fFixedWidth = 0.5f;
        AddButton(screen, "Back", -1.0f, -2.0f, true);
        SetShowHelp(true);
        SetActiveScreen(screen);
    }

    TUIButton* m_slots[4];
    char m_name[16] = "ANN";
};

TEST_F(TUIGoldenTest, TuiMenuOverTheBackground) {
    ProfileLikeMenu menu;
    const kUIRect slot = menu.m_slots[1]->Bounds(TUIArt());
    PointerAt(static_cast<int>(slot.x + 40), static_cast<int>(slot.y + 20));
    menu.Tick(kFrame60Hz);
    DrawBackground(BACKGROUND_MENUS);
    menu.Render();
    EXPECT_TRUE(MatchesGolden("tui_menu", Picture()));
}

TEST_F(TUIGoldenTest, MenuWidgetWithAVolumeEntryAndItsHelpLine) {
    kMenuNode options(122, 123, 0, 26, nullptr);
    kMenuNode sound(128, 129, 6, 29, nullptr);
    kMenuNode music(126, 127, 6, 30, nullptr);
    kMenuNode language(130, 131, 0, 31, nullptr);
    for (kMenuNode* child : {&sound, &music, &language}) {
        options.AddChild(child);
    }
    sound.m_bVolumeBars = music.m_bVolumeBars = true;
    sound.m_currentState = 5;
    music.m_currentState = 2;
    MNMenuWidget widget;
    widget.SetAllowBackAtRoot(true);
    widget.GetMenu()->SetNode(&options);
    kUIRect row;
    ASSERT_TRUE(widget.GetEntryRect(30, row));
    PointerAt(static_cast<int>(row.x + 60), static_cast<int>(row.y + 20));
    widget.Tick(kFrame60Hz);
    DrawBackground(BACKGROUND_MENUS);
    widget.Render();
    EXPECT_TRUE(MatchesGolden("menu_widget_volume", Picture()));
}

TEST_F(TUIGoldenTest, KeyboardWithATypedName) {
    MNKeyboard keyboard(0, true);
    keyboard.SetPosition(140, 150);
    keyboard.SetKeySpacing(6, 6);
    keyboard.SetMaxStringLength(8);
    const MNKeyboardKey& key = keyboard.GetKey(keyboard.GetKeyIndex('K'));
    keyboard.MouseHit(key.x + 4, key.y + 4, false, MNInputEdge::IDLE);
    DrawBackground(BACKGROUND_MENUS);
    keyboard.Render();
    EXPECT_TRUE(MatchesGolden("keyboard", Picture()));
}

// The nine looks in a 3 x 3 grid, each shrunk to a third by averaging.
TEST_F(TUIGoldenTest, BackgroundLooks) {
    const u32 width = m_surface->GetDesc().xRes;
    const u32 height = m_surface->GetDesc().yRes;
    Image mosaic;
    mosaic.width = width / 3 * 3;
    mosaic.height = height / 3 * 3;
    mosaic.rgb.assign(mosaic.width * mosaic.height, 0);
    for (int mode = 0; mode < BACKGROUND_COUNT; ++mode) {
        DrawBackground(static_cast<eBackgroundLook>(mode));
        const Image look = Picture();
        const u32 left = (mode % 3) * (width / 3);
        const u32 top = (mode / 3) * (height / 3);
        for (u32 y = 0; y < height / 3; ++y) {
            for (u32 x = 0; x < width / 3; ++x) {
                u32 sum[3] = {};
                for (u32 k = 0; k < 9; ++k) {
                    const u32 pixel = look.rgb[(y * 3 + k / 3) * width + x * 3 + k % 3];
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += (pixel >> (16 - 8 * c)) & 0xFF;
                    }
                }
                mosaic.rgb[(top + y) * mosaic.width + left + x] =
                    (sum[0] / 9) << 16 | (sum[1] / 9) << 8 | sum[2] / 9;
            }
        }
    }
    EXPECT_TRUE(MatchesGolden("backgrounds", mosaic));
}

} // namespace
