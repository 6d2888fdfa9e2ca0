#include <modes/mnheadtoheadmenu.h>

#include <puzzles/mnpuzzlewidgetkit.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>
#include <services/puzzletypes.h>
#include <tui/splittime.h>

#include <framework/ksprite.h>
#include <framework/ktext.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

// The set-up screens' radio buttons, one per kind: two to a row, so that the set-up fits beside its
// details on every TV format.
constexpr float kTypeX[] = {0.27f, 0.73f, 0.27f, 0.73f};
constexpr float kTypeY[] = {0.45f, 0.45f, 0.55f, 0.55f};
constexpr int kTypeWidth = 170;

constexpr float kContinueY = 0.83f;
constexpr float kDoneY = 0.7f;
// A player's name stands out, with room for the line under it.
constexpr float kNameY = 0.55f;
constexpr int kWideButton = 256;
constexpr int kModeButtonWidth = 160;
// The variant choice keeps the part of the display beside its details: its buttons stand
// at the left of that part and the texts of the variant under the pointer at its right, the
// details close under the name so that five lines fit the box on every TV format.
constexpr float kModeButtonX = 0.26f;
constexpr float kModeTextX = 0.73f;
constexpr float kModeNameY = 0.4f;
constexpr float kModeDetailsY = 0.47f;
constexpr unsigned int kBoxColour = 0xFFFFFF00;
constexpr float kBoxWidth = 184.0f;
constexpr float kBoxPad = 12.0f;
// Beside the variant choice, each variant's name heads its details.
constexpr float kDetailsTitleY = 0.05f;
constexpr float kSprintDetailsY = 0.2f;
constexpr float kMarathonDetailsY = 0.49f;
constexpr float kUnderHeading = 0.05f;

const char* Text(int id) {
    const char* text = kText::Text(id);
    return text != nullptr ? text : "";
}

// str followed by the text of id.
kString TXT2(int id, const char* str) {
    return kString(str) + kString(Text(id));
}

} // namespace

MNHeadToHeadMenu::MNHeadToHeadMenu(MNProfile* profile) : MNModeMenu(profile) {
    BuildScreens();
}

MNHeadToHeadMenu::~MNHeadToHeadMenu() = default;

void MNHeadToHeadMenu::RemoveScreens() {
    for (TUIScreen*& screen : m_postGameScreens) {
        RemoveScreen(screen);
        screen = nullptr;
    }
    for (TUIScreen* screen :
         {m_sprintResultsScreen, m_marathonResultsScreen, m_modeScreen, m_modeDetailsScreen,
          m_sprint.screen, m_sprint.detailsScreen, m_marathon.screen, m_marathon.detailsScreen}) {
        RemoveScreen(screen);
    }
}

void MNHeadToHeadMenu::Build() {
    m_boxSprite = PixelSprite("fe", "wii_fe_box_348");
    if (m_boxSprite.Get() != nullptr) {
        m_boxSprite->SetColour(kBoxColour);
    }
    kArray<TUIString> lives;
    kArray<TUIString> times;
    for (int i = 0; i < kNumChoices; ++i) {
        lives(lives.Add(1)) = TUIString("%d", TUIStringParam::CreateLiteral(kLivesList[i]));
        int seconds = 0;
        int minutes = 0;
        SplitTime(kTimeLimitList[i], &seconds, &minutes, nullptr);
        times(times.Add(1)) = TUIString("%d:%02d", TUIStringParam::CreateLiteral(minutes),
                                        TUIStringParam::CreateLiteral(seconds));
    }
    m_modeString = Text(TEXT_SPRINT);
    m_modeDetailsString = Text(TEXT_SPRINT_DETAILS);
    BuildModeScreens();
    BuildSetup(m_sprint, TEXT_SPRINT, TEXT_LIVES_EACH, lives, TEXT_SPRINT_SETUP);
    BuildSetup(m_marathon, TEXT_MARATHON, TEXT_TIME_EACH, times, TEXT_MARATHON_SETUP);
    ResetShownValues();
    BuildPostGameScreens();
    m_state = STATE_CLOSED;
}

void MNHeadToHeadMenu::ResetShownValues() {
    m_player1Name = "NO NAME 1";
    m_player2Name = "NO NAME 2";
    m_winnerName = "No Winner";
    m_player1Lives = 0;
    m_player2Lives = 0;
    m_player1Time = 0;
    m_player2Time = 0;
}

void MNHeadToHeadMenu::AddBackButton(TUIScreen* screen) {
    AddButton(screen, Text(TEXT_BACK), -1.0f, -2.0f, true, -1);
}

TUIButton* MNHeadToHeadMenu::AddContinueButton(TUIScreen* screen) {
    return AddButton(screen, Text(TEXT_CONTINUE), 0.5f, kContinueY, false, kWideButton);
}

void MNHeadToHeadMenu::BuildModeScreens() {
    m_modeScreen = AddScreen();
    AddText(m_modeScreen, Text(TEXT_CHOOSE_YOUR_GAME), 0.5f, 0.05f, true);
    m_modeSprintButton =
        AddButton(m_modeScreen, Text(TEXT_SPRINT), kModeButtonX, 0.33f, false, kModeButtonWidth);
    m_modeMarathonButton =
        AddButton(m_modeScreen, Text(TEXT_MARATHON), kModeButtonX, 0.66f, false, kModeButtonWidth);
    m_modeText = AddText(m_modeScreen, TUIString("%s", &m_modeString), kModeTextX, kModeNameY);
    m_modeText->m_bHeading = true;
    m_modeDetailsText =
        AddText(m_modeScreen, TUIString("%s", &m_modeDetailsString), kModeTextX, kModeDetailsY);
    AddBackButton(m_modeScreen);

    m_modeDetailsScreen = AddScreen();
    AddText(m_modeDetailsScreen, Text(TEXT_CHOOSE_YOUR_GAME), 0.5f, kDetailsTitleY, true);
    AddVariantDetails(TEXT_SPRINT, TEXT_SPRINT_DETAILS, kSprintDetailsY);
    AddVariantDetails(TEXT_MARATHON, TEXT_MARATHON_DETAILS, kMarathonDetailsY);
}

void MNHeadToHeadMenu::AddVariantDetails(int nameId, int detailsId, float y) {
    AddText(m_modeDetailsScreen, Text(nameId), 0.5f, y)->m_bHeading = true;
    AddText(m_modeDetailsScreen, Text(detailsId), 0.5f, y + kUnderHeading);
}

void MNHeadToHeadMenu::BuildSetup(Setup& setup, int titleId, int choiceId,
                                  const kArray<TUIString>& choices, int detailsId) {
    kArray<TUIString> difficulties;
    AppendLevels(difficulties, false);
    setup.screen = AddScreen();
    AddText(setup.screen, Text(titleId), 0.5f, 0.05f, true);
    AddText(setup.screen, Text(TEXT_CHOOSE_LEVEL), 0.5f, 0.12f);
    setup.difficultySpinner = AddSpinner(setup.screen, difficulties, 0.5f, 0.17f);
    AddText(setup.screen, Text(choiceId), 0.5f, 0.265f);
    setup.spinner = AddSpinner(setup.screen, choices, 0.5f, 0.31f);
    AddText(setup.screen, Text(TEXT_PUZZLES), 0.5f, 0.395f);
    for (int i = 0; i < 4; ++i) {
        AddRadioButton(setup.screen, Text(kKindChoices[i].text), kTypeX[i], kTypeY[i], kTypeWidth);
    }
    setup.doneButton = AddButton(setup.screen, Text(TEXT_DONE), 0.5f, kDoneY, false, kWideButton);
    setup.doneButton->m_bEnabled = false;
    AddBackButton(setup.screen);

    setup.detailsScreen = AddScreen();
    AddText(setup.detailsScreen, Text(titleId), 0.5f, 0.05f, true);
    AddText(setup.detailsScreen, Text(detailsId), 0.5f,
            detailsId == TEXT_SPRINT_SETUP ? 0.2f : 0.16f);
    AddText(setup.detailsScreen, Text(TEXT_TAKE_TURNS), 0.5f, 0.42f);
    AddText(setup.detailsScreen, Text(TEXT_TICK_KINDS), 0.5f, 0.75f);
}

void MNHeadToHeadMenu::BuildPostGameScreens() {
    // The name on a turn's screen is the player who plays next: the other one, but for a
    // Marathon error, after which the same player goes on.
    AddTurnScreen(SCREEN_PLAYER1_CORRECT, &m_player2Name);
    AddTurnScreen(SCREEN_PLAYER2_CORRECT, &m_player1Name);
    AddSprintErrorScreen(SCREEN_PLAYER1_SPRINT_ERROR, &m_player2Name);
    AddSprintErrorScreen(SCREEN_PLAYER2_SPRINT_ERROR, &m_player1Name);
    AddMarathonErrorScreen(SCREEN_PLAYER1_MARATHON_ERROR, &m_player1Name);
    AddMarathonErrorScreen(SCREEN_PLAYER2_MARATHON_ERROR, &m_player2Name);

    TUIScreen* const sprintOver = AddContinueScreen(SCREEN_SPRINT_GAME_OVER);
    AddText(sprintOver, Text(TEXT_GAME_OVER), 0.5f, 0.2f, true);
    AddText(sprintOver, Text(TEXT_GOT_IT_WRONG), 0.5f, 0.3f);
    AddText(sprintOver, Text(TEXT_NO_LIVES_LEFT), 0.5f, 0.4f);
    TUIScreen* const marathonOver = AddContinueScreen(SCREEN_MARATHON_GAME_OVER);
    AddText(marathonOver, Text(TEXT_GAME_OVER), 0.5f, 0.2f, true);
    AddText(marathonOver, Text(TEXT_TIME_UP), 0.5f, 0.4f);

    m_sprintResultsScreen = AddResultsScreen(TEXT_RESULTS, &m_player1Lives, &m_player2Lives);
    m_marathonResultsScreen = AddResultsScreen(TEXT_RESULTS, &m_player1Time, &m_player2Time);
}

TUIScreen* MNHeadToHeadMenu::AddContinueScreen(int menu) {
    TUIScreen* const screen = AddScreen();
    m_postGameScreens[menu] = screen;
    m_postGameContinueButtons[menu] = AddContinueButton(screen);
    return screen;
}

void MNHeadToHeadMenu::AddTurnScreen(int menu, const char** nextName) {
    TUIScreen* const screen = AddContinueScreen(menu);
    AddText(screen, Text(TEXT_CORRECT), 0.5f, 0.25f, true);
    AddText(screen, TUIString(Text(TEXT_PASS_THE_REMOTE), nextName), 0.5f, 0.4f);
    AddText(screen, TUIString("%s", nextName), 0.5f, kNameY, true);
    AddText(screen, Text(TEXT_PRESS_CONTINUE), 0.5f, 0.67f);
}

void MNHeadToHeadMenu::AddSprintErrorScreen(int menu, const char** nextName) {
    TUIScreen* const screen = AddContinueScreen(menu);
    AddText(screen, Text(TEXT_GOT_IT_WRONG), 0.5f, 0.2f, true);
    AddText(screen, Text(TEXT_LOSE_A_LIFE), 0.5f, 0.3f);
    AddText(screen, TUIString(Text(TEXT_PASS_THE_REMOTE), nextName), 0.5f, 0.37f);
    AddText(screen, TUIString("%s", nextName), 0.5f, kNameY, true);
    AddText(screen, Text(TEXT_PRESS_CONTINUE), 0.5f, 0.67f);
}

// The penalty heads the screen; the line under it says who made the mistake.
void MNHeadToHeadMenu::AddMarathonErrorScreen(int menu, const char** name) {
    TUIScreen* const screen = AddContinueScreen(menu);
    AddText(screen, Text(TEXT_PENALTY), 0.5f, 0.2f, true);
    AddText(screen, TUIString(TXT2(TEXT_GOT_IT_WRONG, "%s "), name), 0.5f, 0.5f);
    AddText(screen, Text(TEXT_PRESS_CONTINUE), 0.5f, 0.67f);
}

TUIScreen* MNHeadToHeadMenu::AddResultsScreen(int titleId, int* player1Value, int* player2Value) {
    TUIScreen* const screen = AddScreen();
    AddText(screen, Text(titleId), 0.5f, 0.16f, true);
    AddText(screen, TUIString("%s = %d", &m_player1Name, player1Value), 0.5f, 0.3f);
    AddText(screen, TUIString("%s = %d", &m_player2Name, player2Value), 0.5f, 0.37f);
    AddText(screen, Text(TEXT_WINNER_IS), 0.5f, 0.5f);
    AddText(screen, TUIString("%s", &m_winnerName), 0.5f, 0.65f, true);
    AddContinueButton(screen);
    return screen;
}

TUIScreen* MNHeadToHeadMenu::GetPostGameScreen(int menu) const {
    return menu >= 0 && menu < NUM_POST_GAME_SCREENS ? m_postGameScreens[menu] : nullptr;
}

TUIButton* MNHeadToHeadMenu::GetContinueButton(int menu) const {
    return menu >= 0 && menu < NUM_POST_GAME_SCREENS ? m_postGameContinueButtons[menu] : nullptr;
}

void MNHeadToHeadMenu::Open() {
    m_state = STATE_OPEN;
    ShowModeChoice();
}

void MNHeadToHeadMenu::ShowModeChoice() {
    SetActiveScreen(m_modeScreen);
    SetActiveSubScreen(m_modeDetailsScreen);
    // The details wrap to the box's inside, as wide in pixels on every display.
    m_modeDetailsText->m_fFixedWidth = (kBoxWidth - 2.0f * kBoxPad) / ScreenFrame().w;
}

void MNHeadToHeadMenu::ShowSetup(const Setup& setup) {
    SetActiveScreen(setup.screen);
    SetActiveSubScreen(setup.detailsScreen);
}

void MNHeadToHeadMenu::PostGameMenu(int menu) {
    MNHeadToHeadData* const data = m_profile != nullptr ? m_profile->GetHeadToHeadData() : nullptr;
    if (data != nullptr) {
        m_player1Name = data->m_player1Name;
        m_player2Name = data->m_player2Name;
        m_winnerName = data->m_player1Winner ? data->m_player1Name : data->m_player2Name;
        m_player1Lives = data->m_player1Lives;
        m_player2Lives = data->m_player2Lives;
        m_player1Time = data->m_player1Time;
        m_player2Time = data->m_player2Time;
    }
    if (menu == SCREEN_MODE_CHOICE) {
        ShowModeChoice();
    } else if (GetPostGameScreen(menu) != nullptr) {
        SetActiveScreen(m_postGameScreens[menu]);
        SetActiveSubScreen(nullptr);
    }
}

const MNHeadToHeadMenu::Setup* MNHeadToHeadMenu::SetupOf(const TUIScreen* screen) const {
    if (screen == m_sprint.screen) {
        return &m_sprint;
    }
    return screen == m_marathon.screen ? &m_marathon : nullptr;
}

int MNHeadToHeadMenu::PostGameScreenOf(const TUIScreen* screen) const {
    for (int menu = 0; menu < NUM_POST_GAME_SCREENS; ++menu) {
        if (m_postGameScreens[menu] == screen) {
            return menu;
        }
    }
    return -1;
}

void MNHeadToHeadMenu::ButtonPressed(TUIScreen* screen, TUIButton* button) {
    MNSound::PlaySoundEffect(button->m_bBack ? SFX_BACK : SFX_PRESS);
    if (screen == m_modeScreen) {
        if (button->m_bBack) {
            m_state = STATE_CLOSED;
        } else if (button == m_modeSprintButton) {
            ShowSetup(m_sprint);
        } else if (button == m_modeMarathonButton) {
            ShowSetup(m_marathon);
        }
    } else if (const Setup* const setup = SetupOf(screen)) {
        if (button->m_bBack) {
            ShowModeChoice();
        } else if (button == setup->doneButton) {
            StartGame(*setup);
        }
    } else if (screen == m_sprintResultsScreen || screen == m_marathonResultsScreen) {
        ShowModeChoice();
    } else {
        const int menu = PostGameScreenOf(screen);
        if (menu >= 0 && button == m_postGameContinueButtons[menu]) {
            PostGamePressed(menu);
        }
    }
}

void MNHeadToHeadMenu::PostGamePressed(int menu) {
    switch (menu) {
    case SCREEN_PLAYER1_CORRECT:
    case SCREEN_PLAYER1_SPRINT_ERROR:
        kLogFmt("Swap %s -> %s\n", m_player1Name, m_player2Name);
        PlaySignal();
        break;
    case SCREEN_PLAYER2_CORRECT:
    case SCREEN_PLAYER2_SPRINT_ERROR:
        kLogFmt("Swap %s -> %s\n", m_player2Name, m_player1Name);
        PlaySignal();
        break;
    case SCREEN_PLAYER1_MARATHON_ERROR:
    case SCREEN_PLAYER2_MARATHON_ERROR:
        PlaySignal();
        break;
    case SCREEN_SPRINT_GAME_OVER:
        SetActiveScreen(m_sprintResultsScreen);
        SetActiveSubScreen(nullptr);
        break;
    case SCREEN_MARATHON_GAME_OVER:
        SetActiveScreen(m_marathonResultsScreen);
        SetActiveSubScreen(nullptr);
        break;
    default:
        break;
    }
}

int MNHeadToHeadMenu::TickedTypes(const TUIScreen* screen) {
    int types = 0;
    int index = 0;
    for (int i = 0; i < screen->m_componentList.Size(); ++i) {
        const TUIComponent* const component = screen->m_componentList(i);
        if (component->m_type != TUI_TYPE_RADIOBUTTON) {
            continue;
        }
        if (static_cast<const TUIRadioButton*>(component)->m_bOn && index < 4) {
            types |= kKindChoices[index].typeFlag;
        }
        ++index;
    }
    return types;
}

void MNHeadToHeadMenu::StartGame(const Setup& setup) {
    const int types = TickedTypes(setup.screen);
    if (types == 0) {
        return;
    }
    m_state = STATE_GAME;
    const int index = setup.spinner->m_index;
    const ePuzzleDifficulty difficulty = DifficultyOfLevel(setup.difficultySpinner->m_index);
    if (&setup == &m_sprint) {
        const int lives = kLivesList[index];
        kLogFmt("Head2Head with %d lives (spinner %d)\n", lives, index);
        NewSprintSignal(lives, types, difficulty);
    } else {
        const int seconds = kTimeLimitList[index];
        kLogFmt("Head2Head with %d secs (spinner %d)\n", seconds, index);
        NewMarathonSignal(static_cast<float>(seconds), types, difficulty);
    }
    PlaySignal();
}

void MNHeadToHeadMenu::ButtonSelected(TUIScreen* screen, TUIButton* button) {
    MNModeMenu::ButtonSelected(screen, button);
    if (screen != m_modeScreen) {
        return;
    }
    if (button == m_modeSprintButton) {
        m_modeString = Text(TEXT_SPRINT);
        m_modeDetailsString = Text(TEXT_SPRINT_DETAILS);
    } else if (button == m_modeMarathonButton) {
        m_modeString = Text(TEXT_MARATHON);
        m_modeDetailsString = Text(TEXT_MARATHON_DETAILS);
    }
}

void MNHeadToHeadMenu::RadioButtonPressed(TUIScreen* screen, TUIRadioButton* radio) {
    MNModeMenu::RadioButtonPressed(screen, radio);
    if (const Setup* const setup = SetupOf(screen)) {
        setup->doneButton->m_bEnabled = TickedTypes(screen) != 0;
    }
}

void MNHeadToHeadMenu::Render() {
    if (GetActiveScreen() == m_modeScreen) {
        RenderBox();
    }
    TUI::Render();
}

// The box frames the variant's texts from just above its name down to the Marathon button.
kUIRect MNHeadToHeadMenu::PopUpBox() {
    const kUIRect name = ActiveScreenBounds(m_modeText);
    const kUIRect lowest = ActiveScreenBounds(m_modeMarathonButton);
    const float top = name.y - kBoxPad;
    return kUIRect{name.x + name.w * 0.5f - kBoxWidth * 0.5f, top, kBoxWidth,
                   lowest.y + lowest.h - top};
}

kUIRect MNHeadToHeadMenu::PopUpDetailsRoom() {
    const kUIRect box = PopUpBox();
    const float top = ActiveScreenBounds(m_modeDetailsText).y;
    return kUIRect{box.x + kBoxPad, top, box.w - 2.0f * kBoxPad, box.y + box.h - kBoxPad - top};
}

void MNHeadToHeadMenu::RenderBox() {
    if (m_boxSprite.Get() == nullptr) {
        return;
    }
    const kUIRect box = PopUpBox();
    m_boxSprite->SetPosition(box.x, box.y);
    m_boxSprite->SetWidth(box.w);
    m_boxSprite->SetHeight(box.h);
    m_boxSprite->Render();
}

} // namespace Kelvo_lib
