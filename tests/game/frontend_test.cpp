// The front end through the real world and scripted input: the first start (UK English
// stored, profile screen, main menu), later returns, the switch to a mode, the options'
// volumes and their one save, back to the profiles, the language screen moving on once
// per push, and the help screen's lists and pages.
#include "frontend_fixture.h"
#include "log_capture.h"

#include <frontend/mnhelpui.h>
#include <frontend/mnlanguageui.h>
#include <frontend/mnmainmenuui.h>
#include <frontend/mnprofileui.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/splittext.h>
#include <tui/menunodedata.h>

#include <framework/ktext.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;
using frontend_test::FrontEndTest;
using test_support::LogCapture;

std::vector<std::string> LayerIds(kUIManager& manager) {
    std::vector<std::string> ids;
    for (int i = 0; i < manager.GetNumLayers(); ++i) {
        ids.push_back(manager.GetLayer(i)->GetId());
    }
    return ids;
}

TEST_F(FrontEndTest, FirstStartStoresUkEnglishAndPassesThroughTheProfilesToTheMainMenu) {
    auto* frontEnd = static_cast<MNFrontEnd*>(World().GetSubGame(SUBGAME_FRONTEND));
    EXPECT_FALSE(frontEnd->IsFirstTime());
    EXPECT_EQ(LayerIds(Manager()), (std::vector<std::string>{"bg", "main"}));
    EXPECT_EQ(TopId(), "profile_menu");
    EXPECT_EQ(MNProfileManager::GetSaveData().language, LANGUAGE_UK_ENGLISH);
    EXPECT_EQ(MNProfileManager::GetLanguage(), LANGUAGE_UK_ENGLISH);
    ChooseFirstProfile();
    EXPECT_EQ(TopId(), "main_menu");
    EXPECT_EQ(TopLayer()->GetNumUIs(), 2);
    EXPECT_EQ(MNProfileManager::GetActiveProfileIndex(), 0);
    EXPECT_EQ(Screen<MNProfileUI>("profile_menu")->GetState(), MNProfileUI::STATE_CHOSEN);
    for (const char* id : {"menu_bg", "language_menu", "profile_menu", "help_menu", "main_menu",
                           "pause_menu", "hint_main"}) {
        EXPECT_NE(Manager().FindUI(id), nullptr) << id;
    }
}

TEST_F(FrontEndTest, ChoosingAModeSwitchesTheWorldAndComingBackOpensTheMainMenu) {
    ChooseFirstProfile();
    LogCapture log;
    Click(MENU_HEADTOHEAD);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_HEADTOHEAD);
    EXPECT_EQ(World().GetActiveProfileIndex(), MNProfileManager::GetActiveProfileIndex());
    EXPECT_EQ(Manager().GetNumLayers(), 0);
    EXPECT_EQ(m_journal, (frontend_test::Journal{"5.activate"}));
    World().SetCurrentSubGame(SUBGAME_FRONTEND);
    EXPECT_EQ(TopId(), "main_menu");
    EXPECT_EQ(LayerIds(Manager()), (std::vector<std::string>{"bg", "main"}));
    EXPECT_EQ(log.Count("Forcing english"), 0);
    World().GetSubGame(SUBGAME_FRONTEND)->Deinit();
    EXPECT_NE(Manager().FindUI("hint_main"), nullptr);
}

TEST_F(FrontEndTest, OptionsShowTheProfilesVolumesAndSaveOnceWhenLeft) {
    ChooseFirstProfile();
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    profile->SetSoundVolume(5);
    profile->SetMusicVolume(3);
    Click(MENU_OPTIONS);
    // Back from help lands on the options again.
    HelpButton();
    EXPECT_EQ(TopId(), "help_menu");
    Back();
    ASSERT_EQ(TopId(), "main_menu");
    auto* menu = Screen<MNMainMenuUI>("main_menu");
    EXPECT_EQ(menu->GetCurrentNodeId(), MENU_OPTIONS);
    const kMenuNode* effects = menu->GetNodes()->GetNode(MENU_EFFECTS_VOLUME);
    const kMenuNode* music = menu->GetNodes()->GetNode(MENU_MUSIC_VOLUME);
    EXPECT_EQ(effects->m_currentState, 5);
    EXPECT_EQ(music->m_currentState, 3);
    EXPECT_TRUE(effects->m_bVolumeBars && music->m_bVolumeBars);
    EXPECT_TRUE(Shows(MENU_EFFECTS_VOLUME) && Shows(MENU_MUSIC_VOLUME));
    EXPECT_FALSE(Shows(MENU_CHANGE_LANGUAGE));

    LogCapture log;
    const std::string musicLeft = Entry(MENU_MUSIC_VOLUME, 360.0f - 150.0f + 10.0f);
    for (int i = 0; i < 4; ++i) {
        ClickAt(musicLeft);
    }
    EXPECT_EQ(music->m_currentState, 0);
    EXPECT_EQ(profile->GetMusicVolume(), 0);
    EXPECT_EQ(MNSound::GetMusicVolume(), 0);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_VOLUME);
    ClickAt(Entry(MENU_EFFECTS_VOLUME, 360.0f - 150.0f + 10.0f));
    EXPECT_EQ(profile->GetSoundVolume(), 4);
    EXPECT_EQ(MNSound::GetSoundEffectVolume(), 4);
    EXPECT_EQ(log.Count("Saving as we were on options menu"), 0);
    Back();
    Frames(3);
    EXPECT_EQ(menu->GetCurrentNodeId(), MENU_MAIN);
    EXPECT_EQ(log.Count("Saving as we were on options menu"), 1);
    EXPECT_EQ(MNProfileManager::GetSaveData().profiles[0].musicVolume, 0);
}

TEST_F(FrontEndTest, BackAtTheTopSavesDropsALeftoverGameAndShowsTheProfiles) {
    ChooseFirstProfile();
    MNProfileUI leftover;
    Manager().AddUI("game", &leftover);
    LogCapture log;
    Run({PointAt(30, static_cast<int>(TUIArt::DisplayHeight()) - 30),
         PointAt(30, static_cast<int>(TUIArt::DisplayHeight()) - 30) + " hold A", "hold none"});
    EXPECT_EQ(log.Count("Restarting profile UI"), 1);
    EXPECT_EQ(Manager().FindUI("game"), nullptr);
    EXPECT_EQ(TopId(), "profile_menu");
    EXPECT_EQ(Screen<MNProfileUI>("profile_menu")->GetState(), MNProfileUI::STATE_CHOOSING);
    ClickAt(ProfilePlace(ProfileMenu()->GetProfileButton(0)));
    Frames(1);
    EXPECT_EQ(TopId(), "main_menu");
    EXPECT_EQ(TopLayer()->GetNumUIs(), 2); // the profile screen stays below
}

TEST_F(FrontEndTest, TheLanguageScreenMovesOnOncePerPushAndLetsItsLayerEmpty) {
    EXPECT_FALSE(MNLanguageUI::GetNOA());
    kUILayer* layer = Manager().PushLayer("languages");
    LogCapture log;
    layer->PushUI(Manager().FindUI("language_menu"));
    ASSERT_EQ(layer->GetNumUIs(), 2);
    EXPECT_EQ(TopId(), "profile_menu");
    EXPECT_STREQ(layer->GetUI(0)->GetId(), "language_menu");
    EXPECT_EQ(MNProfileManager::GetLanguage(), LANGUAGE_UK_ENGLISH);
    Manager().PopLayer();
    EXPECT_EQ(log.Count("Language 3 selected"), 1);

    Screen<MNProfileUI>("profile_menu")->SetState(MNProfileUI::STATE_CHOSEN);
    layer = Manager().PushLayer("languages");
    layer->PushUI(Manager().FindUI("language_menu"));
    EXPECT_EQ(TopId(), "main_menu");
    EXPECT_EQ(log.Count("Profile will skip to main menu anyway"), 1);
    // Uncovered, the screen waits instead of opening the next one again.
    layer->RemoveUI(Manager().FindUI("main_menu"));
    EXPECT_EQ(TopId(), "language_menu");
    Manager().PopLayer();
    EXPECT_EQ(log.Count("Language 3 selected"), 2);
    const struct {
        int node, language;
    } languages[] = {{3, 0}, {4, 1}, {5, 3}, {6, 4}, {7, 2}, {8, 5}, {9, 0}, {-1, 0}};
    for (const auto& entry : languages) {
        EXPECT_EQ(MNLanguageUI::LanguageOfNode(entry.node), entry.language) << entry.node;
    }
}

// Every page of every list, stepped through with the selectors' right arrows.
TEST_F(FrontEndTest, HelpOpensEveryPageOfEveryListAndClosesAgain) {
    ChooseFirstProfile();
    HelpButton();
    ASSERT_EQ(TopId(), "help_menu");
    auto* help = Screen<MNHelpUI>("help_menu");
    const auto pages = [&](int selector) {
        std::vector<int> shown;
        const kMenuNode* node = help->GetNodes()->GetNode(selector);
        for (int page = 0; page < node->m_numStates; ++page) {
            if (page == 0) {
                Run({Entry(selector, 40.0f)});
            } else {
                ClickAt(Entry(selector, -20.0f));
            }
            EXPECT_EQ(node->m_currentState, page);
            shown.push_back(node->m_helpId);
            EXPECT_STRNE(kText::Text(node->m_helpId), "") << node->m_helpId;
        }
        return shown;
    };
    using Pages = std::vector<int>;
    EXPECT_EQ(pages(MENU_PROFILE_PAGES), (Pages{281, 282, 283}));
    EXPECT_EQ(pages(MENU_HINT_PAGES), (Pages{284, 285, 286}));
    const struct {
        int list, entry, title;
        Pages pages[3];
    } topics[] = {
        {53, 54, 54, {{148, 187, 188}, {152, 153, 154}, {162}}},
        {53, 55, 56, {{166, 167, 187, 188}, {172, 173, 174, 175}, {184, 185, 186}}},
        {53, 56, 58, {{189, 190}, {194, 195, 196}, {203, 204, 205}}},
        {53, 57, 60, {{206, 207, 208}, {218, 219, 220, 221, 223, 224, 225, 226}, {238, 239, 240}}},
        {58, 59, 44, {{241}, {242, 243, 244, 245}, {246, 247, 248, 249}}},
        {58, 60, 46, {{250}, {251, 252, 253, 254}, {255, 256, 257, 258, 259}}},
        {58, 61, 48, {{260}, {261}, {262}}},
        {58, 62, 50, {{263}, {264, 265, 266, 267}, {268}}},
        {58, 63, 52, {{269}, {270, 271, 272, 273, 274, 275, 276, 277, 278}, {279, 280}}},
    };
    for (const auto& topic : topics) {
        SCOPED_TRACE(topic.entry);
        Click(topic.list);
        Click(topic.entry);
        const int pagesNode = topic.list == 53 ? MENU_PUZZLE_PAGES : MENU_MODE_PAGES;
        ASSERT_EQ(help->GetCurrentNodeId(), pagesNode);
        EXPECT_EQ(help->GetNodes()->GetNode(pagesNode)->m_scriptId, topic.title);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(pages(pagesNode + 1 + i), topic.pages[i]) << i;
        }
        Back();
        EXPECT_EQ(help->GetCurrentNodeId(), topic.list);
        EXPECT_EQ(help->GetHelpMode(), MNHelpUI::HELP_LISTS);
        Back();
        EXPECT_EQ(help->GetCurrentNodeId(), MENU_HELP);
    }
    Back();
    EXPECT_EQ(TopId(), "main_menu");
    EXPECT_TRUE(m_journal.empty());
}

TEST_F(FrontEndTest, HelpClosedOverAPuzzleResumesItButNotOverThePause) {
    World().SetCurrentSubGame(SUBGAME_SIMPLYPUZZLE);
    MNProfileUI game;
    Manager().AddUI("Game", &game);
    kUILayer* layer = Manager().PushLayer("game");
    layer->PushUI(&game);
    layer->PushUI(Manager().FindUI("help_menu"));
    m_journal.clear();
    Back();
    EXPECT_EQ(m_journal, (frontend_test::Journal{"3.resume"}));
    EXPECT_EQ(layer->GetNumUIs(), 1);
    layer->PushUI(Manager().FindUI("pause_menu"));
    layer->PushUI(Manager().FindUI("help_menu"));
    m_journal.clear();
    Back();
    EXPECT_TRUE(m_journal.empty());
    EXPECT_EQ(TopId(), "pause_menu");
}

// Every label and help line a screen can show has its UK English text.
TEST_F(FrontEndTest, EveryEntryOfEveryScreenHasItsTexts) {
    const MenuNodeData nodes;
    std::vector<const kMenuNode*> pending;
    for (const int root : {0, 20, 35, 45, 48, 52, 64, 68}) {
        pending.push_back(nodes.GetNode(root));
    }
    while (!pending.empty()) {
        const kMenuNode* node = pending.back();
        pending.pop_back();
        EXPECT_STRNE(kText::Text(node->m_scriptId), "") << node->m_menuIdx;
        if (node->m_helpId >= 0) {
            EXPECT_STRNE(kText::Text(node->m_helpId), "") << node->m_menuIdx;
        }
        for (int i = 0; i < node->m_childList.Size(); ++i) {
            pending.push_back(node->m_childList(i));
        }
    }
    // The texts that screens put in place of the table's own.
    for (const int id : {532, 533, 176, 177, 178, 197, 198, 199, 209, 210, 211}) {
        EXPECT_STRNE(kText::Text(id), "") << id;
    }
}

// Each page fits its box on the shorter picture: wrapped to the box's width, its lines end
// above the bottom margin.
TEST_F(FrontEndTest, EveryHelpPageFitsItsBox) {
    TUIArt art;
    kFont* font = art.GetBodyFont();
    ASSERT_NE(font, nullptr);
    int width = 0, lineHeight = 0;
    font->GetStringBound(width, lineHeight, "Ag");
    const float room = 448.0f * (1.0f - MNHelpUI::kPageTop) - TUIArt::kMargin;
    const int maxLines = static_cast<int>(room / static_cast<float>(lineHeight));
    for (int id = 148; id <= 286; ++id) {
        const char* text = kText::Text(id);
        if (text == nullptr || *text == 0) {
            continue;
        }
        const kString wrapped = SplitText(font, kString(text), MNHelpUI::kPageWidth);
        int lines = 1;
        for (const char* c = wrapped.CStr(); *c != 0; ++c) {
            lines += *c == '\n';
        }
        EXPECT_LE(lines, maxLines) << id << ": " << text;
    }
}

} // namespace
