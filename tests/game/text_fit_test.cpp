// Every text the game draws into a box of fixed size fits it with a margin, measured with the
// built disc's UK English texts and fonts: the captions of the puzzle screens' buttons and
// panels, the labels of the menu widget's rows and of every TUI menu's buttons, radio buttons
// and spinners, and Head to Head's variant pop-up in both TV formats (its room follows the
// display's height). A box that grows to its text (panels, dialogs, paper fields) is left out.
#include "game_ui_fixture.h"

#include <frontend/mnprofileui.h>
#include <modes/mnfastandfunmenu.h>
#include <modes/mnheadtoheadmenu.h>
#include <modes/mnquickblastmenu.h>
#include <modes/mnsimplypuzzlemenu.h>
#include <modes/mntournamentmenu.h>
#include <puzzles/mnpuzzlewidgetkit.h>
#include <puzzles/sudoku/mnsudokuwidget.h>
#include <services/mntextid.h>
#include <tui/menunodedata.h>
#include <tui/mncombowidget.h>
#include <tui/mnmenuwidget.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using namespace Kelvo_lib;

// Room kept clear between a one-line label and each side of its box.
constexpr float kSideMargin = 4.0f;

struct FontName {
    const char* bank;
    const char* sprite;
};
constexpr FontName kGrid{"wii_grid_font", "wii_grid_font"}, kSmallBold{"font14b", "mindora14b"},
    kTitle{"wii_font_30", "wii_font_30"};

struct Size {
    float w, h;
};

Size Measure(kFont& font, const char* text) {
    int w = 0;
    int h = 0;
    font.GetStringBound(w, h, text);
    return {static_cast<float>(w), static_cast<float>(h)};
}

testing::AssertionResult Fits(const std::string& where, const char* text, Size taken, Size room) {
    if (taken.w <= room.w && taken.h <= room.h) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << where << ": \"" << text << "\" takes " << taken.w << " x "
                                       << taken.h << " of " << room.w << " x " << room.h;
}

// A one-line label in a box width wide, kSideMargin clear of each side.
testing::AssertionResult LabelFits(const std::string& where, kFont& font, const char* label,
                                   float width) {
    return Fits(where, label, Measure(font, label),
                {width - 2.0f * kSideMargin, TUIArt::kButtonHeight});
}

const char* TextOf(int id) {
    const char* text = kText::Text(id);
    EXPECT_NE(text, nullptr) << "no text " << id;
    return text != nullptr ? text : "";
}

// A box: a sprite at the size the disc gives it, or a size the code gives, with one line of
// text centred on it.
struct CaptionBox {
    const char* where;
    FontName font;
    std::vector<int> ids;
    const char* bank;
    const char* sprite;
    Size size = {};
};

const CaptionBox kCaptionBoxes[] = {
    {"puzzle intro button", kGrid, {TEXT_CONTINUE, TEXT_HOW_TO_PLAY}, "fe", "wii_fe_button_256"},
    {"puzzle bottom button",
     kGrid,
     {TEXT_MENU, TEXT_HINT, TEXT_FITWORD_CLEAR},
     "puzzles",
     "Generic_BG_Buttons"},
    {"crossword back", kGrid, {TEXT_BACK}, "puzzles", "cw_back_box "},
    {"crossword answer", kGrid, {TEXT_ANSWER}, "puzzles", "cw_resolve_button"},
    {"crossword confirm", kGrid, {TEXT_CONFIRM}, "puzzles", "cw_confirm_box "},
    {"anagram confirm", kSmallBold, {TEXT_CONFIRM}, "puzzles", "cw_confirm_box "},
    {"anagram menu", kSmallBold, {TEXT_MENU}, "puzzles", "Generic_BG_Button_96"},
    {"anagram end", kTitle, {TEXT_WELL_DONE, TEXT_TIME_UP}, "puzzles", "SO_BG_letter"},
    {"fitword list heading", kGrid, {TEXT_WORDS}, "puzzles", "FW_BG_List_BG"},
    {"sudoku pad key",
     kGrid,
     {TEXT_SUDOKU_CLEAR},
     nullptr,
     nullptr,
     {MNSudokuWidget::K_PAD_KEY, MNSudokuWidget::K_PAD_KEY}},
};

using TextFitTest = GameUITest;

TEST_F(TextFitTest, CaptionsFitTheirButtonsAndPanels) {
    for (const CaptionBox& box : kCaptionBoxes) {
        Size size = box.size;
        if (box.sprite != nullptr) {
            const kSharedPtr<kSprite> sprite = PixelSprite(box.bank, box.sprite);
            ASSERT_NE(sprite.Get(), nullptr) << box.sprite;
            size = {sprite->GetWidth(), sprite->GetHeight()};
        }
        const kSharedPtr<kFont> font = MNResourceManager::GetFont(box.font.bank, box.font.sprite);
        ASSERT_NE(font.Get(), nullptr) << box.font.sprite;
        for (int id : box.ids) {
            const char* text = TextOf(id);
            EXPECT_TRUE(Fits(box.where, text, Measure(*font.Get(), text),
                             {size.w - 2.0f * kSideMargin, size.h}));
        }
    }
}

// Every entry the menu widget lists as a row: a plain row, or a combo whose label ends before
// its value.
TEST_F(TextFitTest, MenuRowsHoldTheirEntriesLabels) {
    const TUIArt art;
    const MenuNodeData nodes;
    for (int id = 0; id < nodes.Size(); ++id) {
        const kMenuNode* node = nodes.GetNode(id);
        if (node->m_parent == nullptr) {
            continue;
        }
        const bool bCombo = node->m_numStates > 0 && node->m_childList.Size() == 0;
        const float room = bCombo ? MNComboWidget::kLabelRoom : MNMenuWidget::kPlainRowWidth;
        EXPECT_TRUE(LabelFits("menu entry " + std::to_string(id), *art.GetButtonFont(),
                              TextOf(node->m_scriptId), room));
    }
}

// Head to Head's pop-up shows the details of the variant under the pointer inside its box,
// in either TV format.
class PopUpFitTest : public ui_test::InTvFormat<GameUITest> {};

TEST_P(PopUpFitTest, HeadToHeadPopUpHoldsEitherVariantsDetails) {
    MNHeadToHeadMenu menu(nullptr);
    menu.Open();
    const kUIRect room = menu.PopUpDetailsRoom();
    for (TUIButton* variant : {menu.GetModeSprintButton(), menu.GetModeMarathonButton()}) {
        menu.ButtonSelected(menu.GetModeScreen(), variant);
        const kUIRect text = menu.ActiveScreenBounds(menu.GetModeDetailsText());
        EXPECT_TRUE(text.x >= room.x && text.x + text.w <= room.x + room.w &&
                    text.y + text.h <= room.y + room.h)
            << "the details take " << text.w << " x " << text.h << " of " << room.w << " x "
            << room.h;
    }
}

INSTANTIATE_TEST_SUITE_P(TvFormats, PopUpFitTest, ui_test::kTvFormats, ui_test::TvName);

// Every button of a fixed width, radio button and spinner entry of each TUI menu, on every
// screen it builds.
template <class Menu>
class TuiLabelFitTest : public GameUITest {
protected:
    static std::unique_ptr<Menu> Make() {
        if constexpr (std::is_constructible_v<Menu, MNProfile*>) {
            return std::make_unique<Menu>(nullptr);
        } else {
            return std::make_unique<Menu>();
        }
    }
};

using TuiMenus = testing::Types<MNHeadToHeadMenu, MNQuickBlastMenu, MNTournamentMenu,
                                MNFastAndFunMenu, MNSimplyPuzzleMenu, MNProfileMenu>;
TYPED_TEST_SUITE(TuiLabelFitTest, TuiMenus);

TYPED_TEST(TuiLabelFitTest, EveryLabelFitsItsButton) {
    const std::unique_ptr<TypeParam> menu = this->Make();
    const TUIArt art;
    kFont& font = *art.GetButtonFont();
    char label[TUIString::kMaxLength];
    const kArray<TUIScreen*>& screens = menu->GetScreens();
    for (int s = 0; s < screens.Size(); ++s) {
        for (int c = 0; c < screens(s)->m_componentList.Size(); ++c) {
            const TUIComponent* component = screens(s)->m_componentList(c);
            if (const auto* button = dynamic_cast<const TUIButton*>(component);
                button != nullptr && button->m_fixWidth > 0) {
                button->m_text.Format(label, sizeof(label));
                EXPECT_TRUE(LabelFits("button", font, label, button->m_fixWidth));
            } else if (const auto* radio = dynamic_cast<const TUIRadioButton*>(component)) {
                radio->m_text.Format(label, sizeof(label));
                EXPECT_TRUE(LabelFits("radio button", font, label,
                                      art.RadioLabelRoom(radio->Bounds(art).w)));
            } else if (const auto* spinner = dynamic_cast<const TUISpinner*>(component)) {
                for (int i = 0; i < spinner->m_textList.Size(); ++i) {
                    spinner->m_textList(i).Format(label, sizeof(label));
                    EXPECT_TRUE(LabelFits("spinner", font, label,
                                          art.SpinnerLabelRoom(spinner->Bounds(art).w)));
                }
            }
        }
    }
}

} // namespace
