// The TUI toolkit driven by scripted remote input, frame by frame: press and release on one
// enabled button presses it once, a release elsewhere or on a disabled button does nothing,
// radio buttons flip before their handler, spinners wrap both ways, a back button takes a
// release that began elsewhere, the help button raises SignalHelp; the title music; the
// formatting of bound texts, a name field's cursor and the word wrap, which keeps text inside
// its frame and the title-safe area.
#include "game_ui_fixture.h"

#include <tui/mnbackground.h>
#include <tui/mnmenuwidget.h>
#include <tui/tui.h>

#include <services/mnsound.h>
#include <services/splittext.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;

class TestMenu : public TUI {
public:
    TestMenu() {
        m_screen = AddScreen();
        AddText(m_screen, "Title", 0.5f, 0.05f, true);
        m_ok = AddButton(m_screen, "OK", 0.3f, 0.2f, false, 160);
        m_off = AddButton(m_screen, "Off", 0.7f, 0.2f, false, 160);
        m_off->m_bEnabled = false;
        m_radio = AddRadioButton(m_screen, "Radio", 0.3f, 0.5f);
        kArray<TUIString> entries;
        for (const char* entry : {"one", "two", "three"}) {
            entries.Push(TUIString(entry));
        }
        m_spinner = AddSpinner(m_screen, entries, 0.7f, 0.5f);
        m_back = AddButton(m_screen, "Back", -1.0f, -2.0f, true);
        SetActiveScreen(m_screen);
        SetShowHelp(true);
        SignalHelp.Connect(this, &TestMenu::OnHelp);
    }

    void ButtonPressed(TUIScreen*, TUIButton* button) override { Note("pressed", button); }
    void ButtonSelected(TUIScreen*, TUIButton* button) override { Note("selected", button); }
    void RadioButtonPressed(TUIScreen*, TUIRadioButton* radio) override {
        m_journal.push_back(radio->m_bOn ? "radio on" : "radio off");
    }
    void SpinnerPressed(TUIScreen*, TUISpinner* spinner) override {
        m_journal.push_back("spinner " + std::to_string(spinner->m_index));
    }
    void OnHelp() { m_journal.push_back("help"); }

    // The centre of a component, or a point offset from it, in pixels.
    kUIPoint Centre(const TUIComponent* component, float dx = 0.0f) const {
        const kUIRect rect = component->Bounds(m_art);
        return {rect.x + rect.w * 0.5f + dx, rect.y + rect.h * 0.5f};
    }
    kUIPoint Help() const {
        return {TUIArt::DisplayWidth() - 30.0f, TUIArt::DisplayHeight() - 30.0f};
    }

    TUIScreen* m_screen;
    TUIButton* m_ok;
    TUIButton* m_off;
    TUIRadioButton* m_radio;
    TUISpinner* m_spinner;
    TUIButton* m_back;
    std::vector<std::string> m_journal;

private:
    void Note(const char* what, const TUIButton* button) {
        m_journal.push_back(std::string(what) + " " + button->m_text.Get().CStr());
    }
};

class TUITest : public GameUITest {
protected:
    std::string At(kUIPoint point) const {
        return PointAt(static_cast<int>(point.x), static_cast<int>(point.y));
    }

    void Play(const std::vector<ScriptFrame>& frames) {
        PlayScript(frames, m_menu.m_journal, [this] {
            Step();
            m_menu.Tick(1.0f / 60.0f);
        });
    }

    TestMenu m_menu;
};

TEST_F(TUITest, PressAndReleaseOnOneEnabledButtonPressesItOnce) {
    const std::string empty = At({320.0f, 180.0f});
    Play({
        {At(m_menu.Centre(m_menu.m_ok)), {"selected OK"}},
        {"hold A", {}},
        {"hold none", {"pressed OK"}},
        {"", {}},
        // Released away from the button it began on: nothing.
        {"hold A", {}},
        {empty, {}},
        {"hold none", {}},
        // A press that began elsewhere and ends on it: nothing either.
        {"hold A", {}},
        {At(m_menu.Centre(m_menu.m_ok, 20.0f)), {}},
        {"hold none", {}},
    });
    EXPECT_EQ(m_menu.m_screen->m_activeComponent, m_menu.m_ok);
}

TEST_F(TUITest, ADisabledButtonIsSelectedButNeverPressed) {
    Play({
        {At(m_menu.Centre(m_menu.m_off)), {"selected Off"}},
        {"hold A", {}},
        {"hold none", {}},
    });
    EXPECT_EQ(m_menu.m_screen->m_activeComponent, m_menu.m_off);
}

TEST_F(TUITest, RadioButtonsFlipBeforeTheirHandlerAndSpinnersWrapBothWays) {
    const std::string left = At(m_menu.Centre(m_menu.m_spinner, -100.0f));
    const std::string right = At(m_menu.Centre(m_menu.m_spinner, 100.0f));
    Play({
        {At(m_menu.Centre(m_menu.m_radio)) + " hold A", {}},
        {"hold none", {"radio on"}},
        {"hold A", {}},
        {"hold none", {"radio off"}},
        {left + " hold A", {}},
        {"hold none", {"spinner 2"}},
        {right + " hold A", {}},
        {"hold none", {"spinner 0"}},
        {"hold A", {}},
        {"hold none", {"spinner 1"}},
    });
}

TEST_F(TUITest, BackTakesAReleaseThatBeganElsewhereAndHelpRaisesItsSignal) {
    Play({
        {At(m_menu.Centre(m_menu.m_ok)) + " hold A", {"selected OK"}},
        {At(m_menu.Centre(m_menu.m_back)), {"selected Back"}},
        {"hold none", {"pressed Back"}},
        {At(m_menu.Help()) + " hold A", {}},
        {"hold none", {"help"}},
    });
}

TEST_F(TUITest, HiddenComponentsAndRemovedScreensTakeNoInput) {
    m_menu.m_ok->m_bVisible = false;
    Play({
        {At(m_menu.Centre(m_menu.m_ok)) + " hold A", {}},
        {"hold none", {}},
    });
    TUIScreen* other = m_menu.AddScreen();
    m_menu.RemoveScreen(m_menu.m_screen);
    EXPECT_EQ(m_menu.GetActiveScreen(), nullptr);
    EXPECT_EQ(m_menu.AddText(m_menu.m_screen, "gone", 0, 0), nullptr) << "logged, not added";
    m_menu.SetActiveScreen(other);
    Play({{"hold A", {}}, {"hold none", {}}});
}

TEST_F(TUITest, TickStartsTheTitleMusicWhenAnotherCueOrNonePlays) {
    MNSound::PlayMusic(MUSIC_INGAME2);
    Step();
    m_menu.Tick(1.0f / 60.0f);
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), MUSIC_TITLE);
    MNSound::StopMusic();
}

TEST_F(TUITest, ButtonsAreAsWideAsAskedSquareOrFittedToTheirLabel) {
    const TUIArt art;
    int width = 0;
    int height = 0;
    TUIArt::Measure(art.GetButtonFont(), "A rather long label", width, height);
    EXPECT_EQ(art.ButtonWidth(188, "Play"), 188.0f);
    EXPECT_EQ(art.ButtonWidth(TUIArt::kSquareButton, "20"), TUIArt::kButtonHeight);
    EXPECT_GT(art.ButtonWidth(TUIArt::kFittedButton, "A rather long label"),
              static_cast<float>(width));
    EXPECT_LT(art.ButtonWidth(TUIArt::kFittedButton, "OK"), 160.0f);
}

// A name field's cursor blinks after the name while another letter can be typed, and shows no
// more once the field is full.
TEST_F(TUITest, ACursorShowsOnlyWhileTheFieldHasRoom) {
    const TUIArt art;
    const struct {
        const char* name;
        float time;
        bool bShows;
    } cases[] = {{"ANNA", 0.0f, true},
                 {"ANNA", 0.75f, false},
                 {"ABCDEFG", 0.0f, true},
                 {"ABCDEFGH", 0.0f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        char typed[16];
        std::snprintf(typed, sizeof(typed), "%s", c.name);
        TUIText field(TUIString("%s_", typed), 0.5f, 0.1f, false, false);
        field.m_bCursor = true;
        field.m_maxTyped = 8;
        field.m_fTime = c.time;
        const TUIText name(TUIString(c.name), 0.5f, 0.1f, false, false);
        EXPECT_EQ(field.Bounds(art).w > name.Bounds(art).w, c.bShows);
    }
}

// A long text centred in a frame wraps inside it, and inside the title-safe area where the frame
// reaches the display's edge: beside a sub-screen, on the sub-screen's panel, and at a fixed width.
TEST_F(TUITest, WrappedTextStaysInsideItsFrameAndTheTitleSafeArea) {
    const float display = TUIArt::DisplayWidth();
    const float safe = display * TUIArt::kSafeMargin;
    const float left = display * 0.6f;
    const struct {
        const char* what;
        kUIRect frame;
        float fixedWidth;
    } cases[] = {{"beside a sub-screen", {0.0f, 0.0f, left, 400.0f}, -1.0f},
                 {"on the panel", {left + 6.0f, 0.0f, display - safe - left - 6.0f, 400.0f}, -1.0f},
                 {"at a fixed width", {0.0f, 0.0f, left, 400.0f}, 0.4f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TUIArt art;
        art.SetFrame(c.frame);
        TUIText text(TUIString("Play any single puzzle you like, at your own pace, for as long as "
                               "you like, and then play another one."),
                     0.5f, 0.1f, false, false);
        text.m_fFixedWidth = c.fixedWidth;
        const kUIRect bounds = text.Bounds(art);
        EXPECT_GT(bounds.h, 30.0f) << "wrapped";
        EXPECT_GE(bounds.x, std::max(c.frame.x, safe));
        EXPECT_LE(bounds.x + bounds.w, std::min(c.frame.x + c.frame.w, display - safe));
    }
}

TEST(TUIStringTest, BoundValuesAreReadWhenTheTextIsFormatted) {
    char name[16] = "Ann";
    const char* level = "Pro";
    int score = 7;
    const TUIString text("%s, %s: %d", TUIStringParam(name), TUIStringParam(&level));
    const TUIString number("Score %03d of %d", TUIStringParam(&score),
                           TUIStringParam::CreateLiteral(9));
    EXPECT_STREQ(text.Get(), "Ann, Pro: ");
    name[0] = 'B';
    level = "Beginner";
    score = 12;
    EXPECT_STREQ(TUIString("%s is %s", TUIStringParam(name), TUIStringParam(&level)).Get(),
                 "Bnn is Beginner");
    EXPECT_STREQ(number.Get(), "Score 012 of 9");
}

TEST(TUIStringTest, FormatsThatDoNotFitTheirValuesPrintSafely) {
    int value = 5;
    const char* none = nullptr;
    const struct {
        TUIString text;
        const char* expected;
    } cases[] = {
        {TUIString("100%% %d%s", TUIStringParam(&value)), "100% 5"},
        {TUIString("%d", TUIStringParam(const_cast<char*>("text"))), ""},
        {TUIString("%s", TUIStringParam(&value)), "5"},
        {TUIString("[%s]", TUIStringParam(&none)), "[]"},
        {TUIString("[%s]", TUIStringParam(static_cast<char*>(nullptr))), "[]"},
        {TUIString("%n%p%", TUIStringParam(&value)), ""},
        {TUIString("%-4s|", TUIStringParam::CreateLiteral(3)), "3   |"},
    };
    for (const auto& test : cases) {
        EXPECT_STREQ(test.text.Get(), test.expected) << test.text.GetFormat().CStr();
    }
    char small[4];
    TUIString("abcdef").Format(small, sizeof(small));
    EXPECT_STREQ(small, "abc");
}

} // namespace

namespace {

using namespace Kelvo_lib;

class SplitTextTest : public GameUITest {
protected:
    void SetUp() override {
        GameUITest::SetUp();
        m_font = MNResourceManager::GetFont("wii_font_20", "wii_font_20");
    }

    int Width(const char* text) const {
        int width = 0;
        int height = 0;
        m_font->GetStringBound(width, height, text);
        return width;
    }

    kSharedPtr<kFont> m_font;
};

TEST_F(SplitTextTest, EveryLineFitsAndOnlyBreaksAreAdded) {
    const char* text = "The quick brown fox jumps over the lazy dog while the cat sleeps";
    const float maxWidth = 0.3f;
    const int maxPixels = static_cast<int>(maxWidth * TUIArt::DisplayWidth());
    const kString wrapped = SplitText(m_font.Get(), text, maxWidth);
    std::string lines(wrapped.CStr());
    EXPECT_GT(std::count(lines.begin(), lines.end(), '\n'), 1);
    std::replace(lines.begin(), lines.end(), '\n', ' ');
    EXPECT_EQ(lines, text) << "spaces became breaks, nothing else changed";
    std::stringstream in(wrapped.CStr());
    for (std::string line; std::getline(in, line);) {
        EXPECT_LE(Width(line.c_str()), maxPixels) << line;
    }
}

TEST_F(SplitTextTest, FittingTextsStayAndLongWordsAreBroken) {
    EXPECT_STREQ(SplitText(m_font.Get(), "Short", 0.5f), "Short");
    EXPECT_STREQ(SplitText(m_font.Get(), "One\nTwo", 0.5f), "One\nTwo");
    EXPECT_STREQ(SplitText(m_font.Get(), "", 0.5f), "");
    const kString broken = SplitText(m_font.Get(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0.1f);
    std::string letters(broken.CStr());
    letters.erase(std::remove(letters.begin(), letters.end(), '\n'), letters.end());
    EXPECT_EQ(letters, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    std::stringstream in(broken.CStr());
    for (std::string line; std::getline(in, line);) {
        EXPECT_LE(Width(line.c_str()), static_cast<int>(0.1f * TUIArt::DisplayWidth())) << line;
    }
    EXPECT_STREQ(SplitText(nullptr, "no font", 0.1f), "no font");
}

} // namespace

namespace {

using namespace Kelvo_lib;

// Made by class as the screens make them: TUIWidget passes its frames to the menu it holds.
TEST_F(TUITest, ToolkitWidgetsAreCreatedByClass) {
    for (kClass* record : {TUIWidget::StaticClass(), MNMenuWidget::StaticClass(),
                           MNComboWidget::StaticClass(), MNBackgroundWidget::StaticClass()}) {
        EXPECT_EQ(record->m_superClass, kUIWidget::StaticClass()) << record->m_className;
        ASSERT_NE(record->m_classConstructor, nullptr) << record->m_className;
    }
    kObject* memory = kObject::Allocate(TUIWidget::StaticClass(), nullptr, nullptr);
    TUIWidget::StaticClass()->m_classConstructor(memory);
    TUIWidget* widget = static_cast<TUIWidget*>(memory);
    widget->m_tui = &m_menu;
    MNSound::StopMusic();
    widget->Tick(1.0f / 60.0f);
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), MUSIC_TITLE) << "the menu was ticked";
    MNSound::StopMusic();
    delete widget;
}

} // namespace
