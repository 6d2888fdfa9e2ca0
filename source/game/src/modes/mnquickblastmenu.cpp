#include <modes/mnquickblastmenu.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>
#include <services/puzzletypes.h>
#include <tui/mnkeyboard.h>
#include <tui/mnsegment.h>
#include <tui/splittime.h>

#include <framework/ksprite.h>
#include <framework/kspritemanager.h>
#include <framework/ktext.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace Kelvo_lib {

namespace {

// The levels as the spinner offers them and as the summary names the chosen one.
// The summary's rows: name, level, time, puzzles.
constexpr int kSummaryLabels[] = {TEXT_RUN_NAME, TEXT_RUN_LEVEL, TEXT_RUN_TIME, TEXT_RUN_PUZZLES};

constexpr float kKeyboardX = 160.0f;
constexpr float kKeyboardY = 160.0f;
constexpr int kKeySpacing = 2;
constexpr float kGraphY = 80.0f;
constexpr int kGraphPoints = 7;
constexpr unsigned int kBoxColour = 0xFFFFFF00;
constexpr unsigned int kChosenRunColour = 0xFFFFFF00;
constexpr unsigned int kRunColour = 0xFFFF0000;
constexpr unsigned int kScoreLineColour = 0xFFFFFFFF;

// A text of the language file followed by a literal suffix.
kString TXT(int id, const char* suffix) {
    kString text(kText::Text(id));
    text += kString(suffix);
    return text;
}

// The stored scores: the entries before the first empty one.
int StoredScores(const MNQuickBlastData& data) {
    int count = 0;
    while (count < MN_QUICKBLAST_STATS && data.m_statList[count].m_score >= 0) {
        ++count;
    }
    return count;
}

void FormatMinutes(char* out, int capacity, int seconds) {
    int sec = 0;
    int min = 0;
    SplitTime(seconds, &sec, &min, nullptr);
    std::snprintf(out, static_cast<size_t>(capacity), "%d:%02d", min, sec);
}

// The seven entries the graph shows around the chosen one (index), of count.
struct GraphWindow {
    int first;
    int last;
};
GraphWindow WindowAround(int index, int count) {
    GraphWindow window{index > 3 ? index - 3 : 0, 0};
    window.last = window.first + kGraphPoints;
    if (window.last >= count) {
        window.last = count - 1;
        window.first = window.last - (kGraphPoints - 1);
        window.first = window.first < 0 ? 0 : window.first;
    }
    return window;
}

// The pixel rows a score maps to: the lowest stored score at the bottom, the highest at the
// top, every score in the middle when all are equal.
class ScoreScale {
public:
    ScoreScale(const MNQuickBlastData& data, int count, int top, int bottom)
        : m_top(top), m_bottom(bottom) {
        m_min = m_max = data.m_statList[0].m_score;
        for (int i = 1; i < count; ++i) {
            m_min = std::min(m_min, data.m_statList[i].m_score);
            m_max = std::max(m_max, data.m_statList[i].m_score);
        }
    }
    int Row(int score) const {
        if (m_max == m_min) {
            return m_top + (m_bottom - m_top) / 2;
        }
        const float perPixel =
            static_cast<float>(m_max - m_min) / static_cast<float>(m_bottom - m_top);
        return m_bottom - static_cast<int>(static_cast<float>(score - m_min) / perPixel);
    }

private:
    int m_top;
    int m_bottom;
    int m_min;
    int m_max;
};

void DeleteSprite(kSprite*& sprite) {
    delete sprite;
    sprite = nullptr;
}

} // namespace

MNQuickBlastMenu::MNQuickBlastMenu(MNProfile* profile) : MNModeMenu(profile) {
    m_graphSprite = MNResourceManager::GetSprite("fe", "qb_graph");
    m_dotSprite = MNResourceManager::GetSprite("fe", "qb_dot");
    m_graphLineSprite = MNResourceManager::GetSprite("fe", "qb_graph_line");
    m_boxSprite = MNResourceManager::GetSprite("fe", "wii_fe_box_256_wide");
    for (kSprite* sprite : {m_graphSprite, m_dotSprite}) {
        if (sprite != nullptr) {
            sprite->SetTransparent(true);
        }
    }
    if (m_graphLineSprite != nullptr) {
        m_graphLineSprite->SetNormalCoordinates(false);
    }
    if (m_boxSprite != nullptr) {
        m_boxSprite->SetColour(kBoxColour);
    }
    BuildScreens();
}

MNQuickBlastMenu::~MNQuickBlastMenu() {
    delete m_keyboard;
    DeleteSprite(m_graphSprite);
    DeleteSprite(m_dotSprite);
    DeleteSprite(m_graphLineSprite);
    DeleteSprite(m_boxSprite);
}

MNQuickBlastData* MNQuickBlastMenu::Data() const {
    return m_profile != nullptr ? m_profile->GetQuickBlastData() : nullptr;
}

// --- Building ---

void MNQuickBlastMenu::Build() {
    BuildKeyboard();
    kArray<TUIString> difficulties;
    AppendLevels(difficulties, true);
    kArray<TUIString> times;
    for (int seconds : s_timeLimitList) {
        char label[16];
        FormatMinutes(label, sizeof(label), seconds);
        times(times.Add(1)) = TUIString(label);
    }
    BuildStartScreen();
    BuildWarningScreen();
    BuildConfigScreen(difficulties, times);
    BuildSummary();
    BuildEditNameScreen();
    BuildResultsScreen();
    BuildStatsScreens();
    m_gameListString[0] = 0;
    m_state = STATE_CLOSED;
    Update();
}

void MNQuickBlastMenu::BuildKeyboard() {
    m_keyboard = new MNKeyboard(MNProfileManager::GetLanguage(), true);
    m_keyboard->SetPosition(kKeyboardX, kKeyboardY);
    m_keyboard->SetColour(0xFF000000);
    m_keyboard->SetMaxStringLength(kMaxName);
    m_bKeyboardDebounce = false;
}

void MNQuickBlastMenu::AddSummaryRows(TUIScreen* screen, const float* labelX, float valueX,
                                      const float* y, bool bAnchored) {
    const TUIStringParam values[] = {
        TUIStringParam(m_nameString), TUIStringParam(&m_difficultyString),
        TUIStringParam(m_timeString), TUIStringParam(m_gameListString)};
    for (int i = 0; i < 4; ++i) {
        AddText(screen, TUIString(TXT(kSummaryLabels[i], ":")), labelX[i], y[i])->m_bAnchorLeft =
            bAnchored;
        AddText(screen, TUIString("%s", values[i]), valueX, y[i])->m_bAnchorRight = bAnchored;
    }
}

void MNQuickBlastMenu::BuildStartScreen() {
    m_startScreen = AddScreen();
    AddText(m_startScreen, kText::Text(TEXT_QUICK_BLAST), 0.5f, 0.05f, true);
    AddText(m_startScreen, kText::Text(TEXT_QUICK_BLAST_INTRODUCTION), 0.5f, 0.2f);
    m_startConfigButton =
        AddButton(m_startScreen, kText::Text(TEXT_NEW_RUN), 0.23f, 0.5f, false, 160);
    m_startPlayButton = AddButton(m_startScreen, kText::Text(TEXT_PLAY), 0.23f, 0.7f, false, 160);
    AddText(m_startScreen, TUIString(TXT(TEXT_YOUR_RUN, "")), 0.68f, 0.4f);
    constexpr float kLabelX[] = {0.47f, 0.47f, 0.47f, 0.47f};
    constexpr float kRowY[] = {0.47f, 0.54f, 0.61f, 0.68f};
    AddSummaryRows(m_startScreen, kLabelX, 0.92f, kRowY, true);
    AddButton(m_startScreen, kText::Text(TEXT_BACK), -1.0f, -2.0f, true);
}

void MNQuickBlastMenu::BuildWarningScreen() {
    m_warningScreen = AddScreen();
    AddText(m_warningScreen, kText::Text(TEXT_NEW_RUN_CLEARS_SCORES), 0.5f, 0.05f, true);
    AddText(m_warningScreen, kText::Text(TEXT_ARE_YOU_SURE), 0.5f, 0.25f, true);
    m_warningYesButton = AddButton(m_warningScreen, kText::Text(TEXT_YES), 0.5f, 0.5f, false, 256);
    m_warningNoButton = AddButton(m_warningScreen, kText::Text(TEXT_NO), 0.5f, 0.7f, false, 256);
}

void MNQuickBlastMenu::BuildConfigScreen(const kArray<TUIString>& difficulties,
                                         const kArray<TUIString>& times) {
    TUIScreen* const screen = m_configScreen = AddScreen();
    AddText(screen, kText::Text(TEXT_SET_UP_YOUR_RUN), 0.5f, 0.05f, true);
    AddText(screen, TUIString(TXT(TEXT_RUN_NAME, ": %s"), m_nameString), 0.25f, 0.2f);
    m_editNameButton = AddButton(screen, kText::Text(TEXT_EDIT_NAME), 0.25f, 0.26f, false, 191);
    AddText(screen, kText::Text(TEXT_RUN_LEVEL), 0.25f, 0.36f);
    m_configDifficultySpinner = AddSpinner(screen, difficulties, 0.25f, 0.42f);
    AddText(screen, kText::Text(TEXT_RUN_TIME), 0.25f, 0.54f);
    m_configTimeSpinner = AddSpinner(screen, times, 0.25f, 0.6f);
    TUIRadioButton** const radios[] = {&m_crosswordRadio, &m_fitwordRadio, &m_sudokuRadio,
                                       &m_wordsearchRadio};
    for (int i = 0; i < 4; ++i) {
        *radios[i] =
            AddRadioButton(screen, kText::Text(kKindChoices[i].text), 0.75f, 0.32f + 0.1f * i);
    }
    m_configDoneButton = AddButton(screen, kText::Text(TEXT_DONE), 0.5f, 0.8f, false, 160);
    AddButton(screen, kText::Text(TEXT_BACK), -1.0f, -2.0f, true);
}

void MNQuickBlastMenu::BuildSummary() {
    m_configSubScreen = AddScreen();
    AddText(m_configSubScreen, TUIString(TXT(TEXT_YOUR_RUN, ":")), 0.5f, 0.05f, true);
    constexpr float kLabelX[] = {0.23f, 0.27f, 0.3f, 0.25f};
    constexpr float kRowY[] = {0.21f, 0.31f, 0.41f, 0.51f};
    AddSummaryRows(m_configSubScreen, kLabelX, 0.7f, kRowY, false);
}

void MNQuickBlastMenu::BuildEditNameScreen() {
    m_editNameScreen = AddScreen();
    AddText(m_editNameScreen, kText::Text(TEXT_EDIT_NAME), 0.5f, 0.01f, true);
    TUIText* const name = AddText(m_editNameScreen, TUIString("%s_", m_nameString), 0.5f, 0.16f);
    name->m_bBoxed = true;
    name->m_bCursor = true;
    name->m_maxTyped = kMaxName;
    m_saveNameButton = AddButton(m_editNameScreen, kText::Text(TEXT_DONE), 0.5f, 0.7f);
    AddButton(m_editNameScreen, kText::Text(TEXT_BACK), -1.0f, -2.0f, true);
}

void MNQuickBlastMenu::BuildResultsScreen() {
    m_resultsScreen = AddScreen();
    AddText(m_resultsScreen, kText::Text(TEXT_RUN_RESULTS), 0.5f, 0.05f, true);
    AddText(m_resultsScreen, TUIString(TXT(TEXT_RUN_NAME, ": %s"), m_nameString), 0.5f, 0.2f);
    AddText(m_resultsScreen, TUIString(TXT(TEXT_RUN_LEVEL, ": %s"), &m_difficultyString), 0.5f,
            0.27f);
    AddText(m_resultsScreen, TUIString(TXT(TEXT_RUN_TIME, ": %s"), m_timeString), 0.5f, 0.34f);
    AddText(m_resultsScreen, TUIString(kText::Text(TEXT_SCORE), &m_score), 0.5f, 0.5f);
    m_resultsContinueButton =
        AddButton(m_resultsScreen, kText::Text(TEXT_CONTINUE), 0.5f, 0.7f, false, 256);
}

void MNQuickBlastMenu::BuildStatsScreens() {
    m_statsScreen = AddScreen();
    AddText(m_statsScreen, kText::Text(TEXT_YOUR_SCORES), 0.5f, 0.05f, true);
    kArray<TUIString> placeholder;
    placeholder(placeholder.Add(1)) = TUIString("dummy stat");
    m_statsSpinner = AddSpinner(m_statsScreen, placeholder, 0.5f, 0.65f);
    m_statsDoneButton = AddButton(m_statsScreen, kText::Text(TEXT_DONE), 0.5f, 0.8f, false, 256);
    m_statsSubScreen = AddScreen();
    AddText(m_statsSubScreen, kText::Text(TEXT_YOUR_SCORES_HELP), 0.5f, 0.4f);
}

void MNQuickBlastMenu::RemoveScreens() {
    delete m_keyboard;
    m_keyboard = nullptr;
    for (TUIScreen* screen : {m_startScreen, m_editNameScreen, m_configScreen, m_configSubScreen,
                              m_resultsScreen, m_statsScreen, m_statsSubScreen, m_warningScreen}) {
        RemoveScreen(screen);
    }
}

// --- Showing ---

void MNQuickBlastMenu::Open() {
    m_state = STATE_OPEN;
    ShowStart();
}

// The start screen carries its own boxed summary, so it is shown without the summary panel.
void MNQuickBlastMenu::ShowStart() {
    const MNQuickBlastData* const data = Data();
    m_startPlayButton->m_bEnabled = data != nullptr && !data->m_bNewGame;
    SetActiveScreen(m_startScreen);
    SetActiveSubScreen(nullptr);
    Update();
}

void MNQuickBlastMenu::PostGameMenu() {
    kLogFmt("PostGameMenu\n");
    SetActiveScreen(m_resultsScreen);
    SetActiveSubScreen(m_configSubScreen);
    Update();
}

void MNQuickBlastMenu::Update() {
    const MNQuickBlastData* const data = Data();
    if (data == nullptr) {
        m_difficultyString = "";
        m_timeString[0] = m_gameListString[0] = m_nameString[0] = 0;
        return;
    }
    m_configDoneButton->m_bEnabled = (data->m_puzzles & kTypeMask) != 0;
    UpdateStrings(*data);
    const int count = StoredScores(*data);
    m_score = count > 0 ? data->m_statList[count - 1].m_score / 100 : 0;
    UpdateStats(*data);
}

void MNQuickBlastMenu::UpdateStrings(const MNQuickBlastData& data) {
    if (data.m_bNewGame) {
        m_difficultyString = "";
        m_timeString[0] = m_gameListString[0] = m_nameString[0] = 0;
        return;
    }
    m_difficultyString = LevelName(data.GetDifficulty());
    FormatMinutes(m_timeString, sizeof(m_timeString), static_cast<int>(data.m_fTimeLimit));
    m_gameListString[0] = 0;
    for (const KindChoice& type : kKindChoices) {
        if ((data.m_puzzles & type.typeFlag) != 0) {
            const size_t used = std::strlen(m_gameListString);
            std::snprintf(m_gameListString + used, sizeof(m_gameListString) - used, "%s\n",
                          kText::Text(type.text));
        }
    }
    std::snprintf(m_nameString, sizeof(m_nameString), "%s", data.m_name);
    kLogFmt("NAME %s\n", m_nameString);
}

void MNQuickBlastMenu::UpdateStats(const MNQuickBlastData& data) {
    const int count = StoredScores(data);
    m_statsSpinner->m_textList.Clear();
    for (int i = 0; i < count; ++i) {
        char line[TUIString::kMaxLength];
        std::snprintf(line, sizeof(line), "%s %d: %d%s", kText::Text(TEXT_RUN),
                      data.m_statOffset + i + 1, data.m_statList[i].m_score / 100,
                      kText::Text(TEXT_RUN_SCORE_UNIT));
        m_statsSpinner->m_textList(m_statsSpinner->m_textList.Add(1)) = TUIString(line);
    }
    m_statsSpinner->m_index = count > 0 ? count - 1 : 0;
}

// --- Pointer handling ---

void MNQuickBlastMenu::Tick(float delta) {
    TUI::Tick(delta);
    if (GetActiveScreen() == m_editNameScreen) {
        TickKeyboard();
    }
}

void MNQuickBlastMenu::TickKeyboard() {
    const MNInputEdge& pointer = GetPointer();
    // The press that opened the keyboard goes on unseen until the button is up.
    m_keyboard->MouseHit(pointer.GetX(), pointer.GetY(), false,
                         pointer.StateHoldingBack(m_bKeyboardDebounce));
    m_keyboard->Tick(0.0f);
    m_saveNameButton->m_bEnabled = m_keyboard->HasTyped();
    MNQuickBlastData* const data = Data();
    if (data != nullptr) {
        m_keyboard->GetTyped(data->m_name, MN_QUICKBLAST_NAME_SIZE);
    }
    Update();
}

void MNQuickBlastMenu::ButtonPressed(TUIScreen* screen, TUIButton* button) {
    MNSound::PlaySoundEffect(button->m_bBack ? SFX_BACK : SFX_PRESS);
    if (screen == m_startScreen) {
        StartPressed(button);
    } else if (screen == m_warningScreen) {
        WarningPressed(button);
    } else if (screen == m_configScreen) {
        ConfigPressed(button);
    } else if (screen == m_editNameScreen) {
        EditNamePressed(button);
    } else if (screen == m_resultsScreen && button == m_resultsContinueButton) {
        kLogFmt("results continue button\n");
        Update();
        SetActiveScreen(m_statsScreen);
        SetActiveSubScreen(m_statsSubScreen);
    } else if (screen == m_statsScreen && button == m_statsDoneButton) {
        m_state = STATE_CLOSED;
    }
}

void MNQuickBlastMenu::StartPressed(TUIButton* button) {
    const MNQuickBlastData* const data = Data();
    if (button->m_bBack) {
        m_state = STATE_CLOSED;
    } else if (button == m_startConfigButton) {
        SetActiveScreen(m_warningScreen);
        SetActiveSubScreen(nullptr);
    } else if (button == m_startPlayButton && data != nullptr &&
               (data->m_puzzles & kTypeMask) != 0) {
        PlaySignal();
    }
}

void MNQuickBlastMenu::WarningPressed(TUIButton* button) {
    if (button == m_warningNoButton) {
        ShowStart();
    } else if (button == m_warningYesButton && Data() != nullptr) {
        ConfirmNewRun();
    }
}

// The set-up screen shows the run's values in its own controls, side by side across the
// whole display, so it has no summary panel beside it.
void MNQuickBlastMenu::ConfirmNewRun() {
    MNQuickBlastData& data = *Data();
    m_savedPuzzles = data.m_puzzles;
    m_savedDifficulty = data.GetDifficulty();
    m_savedTimeLimit = data.m_fTimeLimit;
    m_savedNameBeforeBack = data.m_name;
    data.m_bNewGame = false;
    m_configDifficultySpinner->m_index = LevelOf(data.GetDifficulty());
    bool bFound = false;
    for (int i = 0; i < kNumTimeLimits; ++i) {
        if (static_cast<float>(s_timeLimitList[i]) == data.m_fTimeLimit) {
            m_configTimeSpinner->m_index = i;
            bFound = true;
        }
    }
    if (!bFound) {
        kLogFmt("ERROR: Couldn't look up correct time limit\n");
    }
    for (MNQuickBlastStat& stat : data.m_statList) {
        stat.m_score = -1;
    }
    TUIRadioButton* const radios[] = {m_crosswordRadio, m_fitwordRadio, m_sudokuRadio,
                                      m_wordsearchRadio};
    for (int i = 0; i < 4; ++i) {
        radios[i]->m_bOn = (data.m_puzzles & kKindChoices[i].typeFlag) != 0;
    }
    Update();
    SetActiveScreen(m_configScreen);
    SetActiveSubScreen(nullptr);
}

void MNQuickBlastMenu::ConfigPressed(TUIButton* button) {
    MNQuickBlastData* const data = Data();
    if (data == nullptr) {
        return;
    }
    if (button->m_bBack) {
        data->m_puzzles = m_savedPuzzles;
        data->SetDifficulty(m_savedDifficulty);
        data->m_fTimeLimit = m_savedTimeLimit;
        std::snprintf(data->m_name, sizeof(data->m_name), "%s", m_savedNameBeforeBack.CStr());
        ShowStart();
    } else if (button == m_configDoneButton && (data->m_puzzles & kTypeMask) != 0) {
        NewGameSignal();
        PlaySignal();
        m_state = STATE_GAME;
    } else if (button == m_editNameButton) {
        StartNameEntry();
    }
}

void MNQuickBlastMenu::StartNameEntry() {
    const MNQuickBlastData& data = *Data();
    m_savedName = data.m_name;
    m_keyboard->SetKeySpacing(kKeySpacing, kKeySpacing);
    m_keyboard->SetMaxStringLength(kMaxName);
    const int length = static_cast<int>(std::strlen(data.m_name));
    if (length > kMaxName) {
        m_keyboard->SetString("");
        m_keyboard->SetCursorPos(-1);
    } else {
        m_keyboard->SetString(data.m_name);
        m_keyboard->SetCursorPos(length - 1);
    }
    m_bKeyboardDebounce = true;
    SetActiveScreen(m_editNameScreen);
}

void MNQuickBlastMenu::EditNamePressed(TUIButton* button) {
    MNQuickBlastData* const data = Data();
    if (button->m_bBack && data != nullptr) {
        std::snprintf(data->m_name, sizeof(data->m_name), "%s", m_savedName.CStr());
    } else if (button != m_saveNameButton || m_keyboard->GetCursorPos() < 0) {
        return;
    }
    SetActiveScreen(m_configScreen);
    Update();
}

void MNQuickBlastMenu::RadioButtonPressed(TUIScreen* screen, TUIRadioButton* radio) {
    MNModeMenu::RadioButtonPressed(screen, radio);
    MNQuickBlastData* const data = Data();
    if (screen != m_configScreen || data == nullptr) {
        return;
    }
    const TUIRadioButton* const radios[] = {m_crosswordRadio, m_fitwordRadio, m_sudokuRadio,
                                            m_wordsearchRadio};
    int puzzles = 0;
    for (int i = 0; i < 4; ++i) {
        puzzles |= radios[i]->m_bOn ? kKindChoices[i].typeFlag : 0;
    }
    data->m_puzzles = static_cast<char>(puzzles);
    Update();
}

// Only the set-up screen's spinners change the record: the statistics spinner only chooses
// the run the graph centres on.
void MNQuickBlastMenu::SpinnerPressed(TUIScreen* screen, TUISpinner* spinner) {
    MNModeMenu::SpinnerPressed(screen, spinner);
    MNQuickBlastData* const data = Data();
    if (screen != m_configScreen || data == nullptr) {
        return;
    }
    if (spinner == m_configDifficultySpinner) {
        data->SetDifficulty(DifficultyOfLevel(spinner->m_index));
    } else if (spinner == m_configTimeSpinner) {
        data->m_fTimeLimit = static_cast<float>(s_timeLimitList[spinner->m_index]);
    }
    Update();
}

// --- Drawing ---

void MNQuickBlastMenu::Render() {
    const TUIScreen* const screen = GetActiveScreen();
    if (screen == m_startScreen) {
        RenderBox();
    } else if (screen == m_editNameScreen) {
        m_keyboard->Render();
    } else if (screen == m_statsScreen) {
        RenderGraph();
    }
    TUI::Render();
}

// The box frames the start screen's summary, from its heading to below the longest list of
// puzzle types.
void MNQuickBlastMenu::RenderBox() {
    if (m_boxSprite == nullptr) {
        return;
    }
    const float width = TUIArt::DisplayWidth();
    const float height = TUIArt::DisplayHeight();
    const float top = height * 0.4f - 8.0f;
    const float left = width * 0.47f - 20.0f;
    m_boxSprite->SetPosition(left, top);
    m_boxSprite->SetWidth(width * 0.92f + 16.0f - left);
    m_boxSprite->SetHeight(height * 0.68f + 84.0f - top);
    m_boxSprite->Render();
}

void MNQuickBlastMenu::RenderGraph() {
    const MNQuickBlastData* const data = Data();
    if (m_graphSprite == nullptr || data == nullptr) {
        return;
    }
    const kUIRect frame = ScreenFrame();
    const float graphW = m_graphSprite->GetWidth();
    const float graphH = m_graphSprite->GetHeight();
    const float graphX = frame.x + frame.w * 0.5f - graphW * 0.5f;
    m_graphSprite->SetPosition(graphX, kGraphY);
    m_graphSprite->Render();
    const int top = static_cast<int>(kGraphY + 10.0f);
    const int bottom = static_cast<int>(kGraphY + graphH - 10.0f);
    const int left = static_cast<int>(graphX + 30.0f);
    const int right = static_cast<int>(graphX + graphW - 30.0f);
    const int step = (right - left) / (kGraphPoints - 1);
    if (bottom <= top || step <= 0) {
        return;
    }
    const int count = std::min(StoredScores(*data), m_statsSpinner->m_textList.Size());
    const int chosen = m_statsSpinner->m_index;
    const GraphWindow window = WindowAround(chosen, count);
    for (int k = 0; k < kGraphPoints; ++k) {
        const float x = static_cast<float>(left + k * step);
        DrawLine(x, static_cast<float>(top), x, static_cast<float>(bottom),
                 window.first + k == chosen ? kChosenRunColour : kRunColour);
    }
    if (count == 0) {
        return;
    }
    const ScoreScale scale(*data, count, top, bottom);
    auto pointOf = [&](int k) {
        return std::pair<float, float>(
            static_cast<float>(left + k * step),
            static_cast<float>(scale.Row(data->m_statList[window.first + k].m_score)));
    };
    for (int k = 0; k < kGraphPoints - 1 && window.first + k + 1 <= window.last; ++k) {
        const auto [x1, y1] = pointOf(k);
        const auto [x2, y2] = pointOf(k + 1);
        DrawLine(x1, y1, x2, y2, kScoreLineColour);
    }
    for (int k = 0; k < kGraphPoints && window.first + k <= window.last; ++k) {
        const auto [x, y] = pointOf(k);
        if (m_dotSprite != nullptr) {
            m_dotSprite->SetPosition(x - m_dotSprite->GetWidth() * 0.5f,
                                     y - m_dotSprite->GetHeight() * 0.5f);
            m_dotSprite->Render();
        }
    }
}

void MNQuickBlastMenu::DrawLine(float x1, float y1, float x2, float y2, unsigned int colour) {
    if (m_graphLineSprite == nullptr) {
        return;
    }
    const MNSegment line(x1, y1, x2, y2);
    m_graphLineSprite->SetPosition(line.x0, line.y0);
    m_graphLineSprite->SetRotation(line.Degrees());
    m_graphLineSprite->SetColour(colour);
    m_graphLineSprite->SetWidth(line.Length());
    kSpriteManager::s_hackOffsetx = 0.0f;
    kSpriteManager::s_hackOffsety = -(m_graphLineSprite->GetHeight() * 0.5f);
    kSpriteManager::s_hackOffsetx2 = 0.0f;
    kSpriteManager::s_hackOffsety2 = 0.0f;
    m_graphLineSprite->Render();
    kSpriteManager::s_hackOffsety = 0.0f;
}

} // namespace Kelvo_lib
