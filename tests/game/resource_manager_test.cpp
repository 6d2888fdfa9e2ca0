// The resource manager over banks on a test disc: one bank shared by name while held and
// loaded again after, the resident banks kept, the "wii_" variants of sprite names
// preferred without a logged miss, the keyboard font under both of its names, banks built
// into the program (also broken ones), and missing banks, sprites and fonts.
#include "../framework/sprite_test_bank.h"
#include "log_capture.h"
#include "temporary_host_directory.h"

#include <services/mnresourcemanager.h>

#include <memory>

namespace {

using namespace Kelvo_lib;
using sprite_test_bank::Filled;
using test_support::LogCapture;
using test_support::TemporaryDisc;

constexpr const char* kConstructLine = "kSpriteBank::Construct";

datatool::SpriteSource Sprite(const char* name, unsigned int width, unsigned int frames = 1) {
    datatool::SpriteSource sprite{name, {}, {}, false};
    for (unsigned int f = 0; f < frames; ++f) {
        sprite.frames.push_back(Filled(width, 4, 0xFFFFFFFF));
    }
    return sprite;
}

class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override { MNResourceManager::Init(); }
    void TearDown() override { MNResourceManager::Deinit(); }

    void WriteBank(const std::string& name, const std::vector<datatool::SpriteSource>& sprites) {
        m_disc.Write(
            "wii/" + name + ".KSB",
            datatool::WriteSpriteBank(sprite_test_bank::Build(sprites), datatool::kCurrentLayout));
    }

    TemporaryDisc m_disc;
};

TEST_F(ResourceManagerTest, ABankIsSharedWhileHeldAndLoadedAgainAfter) {
    WriteBank("menu", {Sprite("button", 8)});
    LogCapture log;
    {
        const kSharedPtr<kSpriteBank> first = MNResourceManager::GetSpriteBank("menu");
        const kSharedPtr<kSpriteBank> second = MNResourceManager::GetSpriteBank("MENU");
        EXPECT_EQ(first.Get(), second.Get());
        EXPECT_EQ(first->GetNumSprites(), 1);
        const std::unique_ptr<kSprite> sprite(MNResourceManager::GetSprite("menu", "button"));
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->m_bank.Get(), first.Get());
    }
    EXPECT_EQ(log.CountContaining(kConstructLine), 1);

    // A sprite alone keeps its bank.
    const std::unique_ptr<kSprite> kept(MNResourceManager::GetSprite("menu", "button"));
    EXPECT_EQ(log.CountContaining(kConstructLine), 2) << "the last holder was gone";
    EXPECT_EQ(MNResourceManager::GetSpriteBank("menu").Get(), kept->m_bank.Get());
    EXPECT_EQ(log.CountContaining(kConstructLine), 2);
}

TEST_F(ResourceManagerTest, TheBanksEveryScreenUsesStayLoadedUntilDeinit) {
    WriteBank("fe", {Sprite("panel", 8)});
    LogCapture log;
    MNResourceManager::GetSpriteBank("fe");
    MNResourceManager::GetSpriteBank("fe");
    EXPECT_EQ(log.CountContaining(kConstructLine), 1);
    MNResourceManager::Deinit();
    MNResourceManager::GetSpriteBank("fe");
    EXPECT_EQ(log.CountContaining(kConstructLine), 2);
}

TEST_F(ResourceManagerTest, SpriteNamesPreferTheirWiiVariantWithoutLoggingAMiss) {
    WriteBank("hud", {Sprite("menu", 8), Sprite("WII_MENU", 12), Sprite("clock", 6)});
    const struct {
        const char* asked;
        float width;
    } cases[] = {{"menu", 12.0f}, {"wii_menu", 12.0f}, {"clock", 6.0f}};
    for (const auto& c : cases) {
        LogCapture log;
        const std::unique_ptr<kSprite> sprite(MNResourceManager::GetSprite("hud", c.asked));
        ASSERT_NE(sprite, nullptr) << c.asked;
        EXPECT_EQ(sprite->GetWidth(), c.width) << c.asked;
        EXPECT_FALSE(log.Contains("Couldn't find")) << c.asked;
    }
}

TEST_F(ResourceManagerTest, TheKeyboardFontAnswersToBothOfItsNames) {
    WriteBank("keyboard", {Sprite("wii_keyboard", 5, 40), Sprite("keyboard", 9, 40)});
    LogCapture log;
    const kSharedPtr<kFont> byBank = MNResourceManager::GetFont("keyboard", "wii_keyboard");
    const kSharedPtr<kFont> byFont = MNResourceManager::GetFont("wii_keyboard", "keyboard");
    EXPECT_NE(byBank.Get(), byFont.Get()) << "a new font per request";
    EXPECT_EQ(byBank->ChrWidth('A'), 6) << "5 pixels and the gap";
    EXPECT_EQ(byFont->ChrWidth('A'), 6);
    EXPECT_EQ(log.CountContaining(kConstructLine), 1);
    EXPECT_FALSE(log.Contains("Failed to open"));
}

TEST_F(ResourceManagerTest, BuiltInBanksAreReadFromMemoryBeforeTheDisc) {
    WriteBank("strap", {Sprite("disc_picture", 8)});
    const std::vector<unsigned char> carried = datatool::WriteSpriteBank(
        sprite_test_bank::Build({Sprite("picture", 16)}), datatool::kCurrentLayout);
    const std::vector<unsigned char> broken(carried.begin(), carried.begin() + 40);
    MNResourceManager::AddBuiltInBank("strap", carried.data(),
                                      static_cast<unsigned int>(carried.size()));
    MNResourceManager::AddBuiltInBank("parts", broken.data(),
                                      static_cast<unsigned int>(broken.size()));

    const std::unique_ptr<kSprite> picture(MNResourceManager::GetSprite("strap", "picture"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), 16.0f);
    EXPECT_EQ(MNResourceManager::GetSpriteBank("strap").Get(), picture->m_bank.Get());
    EXPECT_FALSE(MNResourceManager::HasSprite(*picture->m_bank.Get(), "disc_picture"));

    LogCapture log;
    EXPECT_EQ(MNResourceManager::GetSpriteBank("parts")->GetNumSprites(), 0);
    EXPECT_TRUE(log.Contains("parts"));
}

TEST_F(ResourceManagerTest, MissingBanksSpritesAndFontsAreLoggedAndSafe) {
    WriteBank("hud", {Sprite("clock", 6)});
    LogCapture log;
    EXPECT_EQ(MNResourceManager::GetSprite("hud", "dial"), nullptr);
    EXPECT_TRUE(log.Contains("dial"));

    EXPECT_EQ(MNResourceManager::GetSpriteBank("absent")->GetNumSprites(), 0);
    EXPECT_TRUE(log.Contains("wii/absent.KSB"));
    EXPECT_EQ(MNResourceManager::GetSprite("absent", "clock"), nullptr);
    EXPECT_EQ(MNResourceManager::GetFont("absent", "font")->ChrWidth('A'), 0);
    EXPECT_EQ(MNResourceManager::GetSprite(nullptr, nullptr), nullptr);
    EXPECT_EQ(MNResourceManager::GetSpriteBank(std::string(300, 'x').c_str())->GetNumSprites(), 0);
}

} // namespace
