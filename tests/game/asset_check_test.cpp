// The disc image (with the banks built into the program) holds everything the code asks
// for by name: the sprite banks, sprites and fonts its sources request with literal names
// (found by scanning them), those it builds names for or passes on at run time (the tables below),
// the text ids it shows, and every sound effect and music cue of the sound table, each one
// loadable.
#include "log_capture.h"

#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <shell/mnbuiltinbanks.h>
#include <shell/mndiscfiles.h>

#include <framework/ktext.h>
#include <kelvo/audio/koggstream.h>
#include <kelvo/audio/ksound.h>
#include <kelvo/io/kfileiostream.h>
#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/kfile.h>

#include <console/dvd.h>
#include <console/host.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;

// A sprite or font of a bank.
struct BankItem {
    std::string bank;
    std::string name;
    friend auto operator<=>(const BankItem&, const BankItem&) = default;
};

// Requests the scan cannot see, whose names the code builds at run time, and the parts the
// built-in banks promise (mnbuiltinbanks.h): add a row with every such request.
const std::vector<std::string> kBuiltBanks = {};
const std::vector<BankItem> kBuiltSprites = {
    {"strap", "strap"},
    {"strap", "prompt"},
    {"dialog", "box"},
    {"dialog", "button"},
    {"dialog", "button_hot"},
    // The toolkit's buttons by width, keyboard keys and background icons.
    {"fe", "wii_fe_button_40"},
    {"fe", "wii_fe_button_160"},
    {"fe", "wii_fe_button_187"},
    {"fe", "wii_fe_button_188"},
    {"fe", "wii_fe_button_191"},
    {"fe", "wii_fe_button_256"},
    {"fe", "wii_fe_button_360"},
    {"fe", "fe_keyboard_key_01"},
    {"fe", "fe_keyboard_key_light"},
    {"fe", "fe_keyboard_backspace"},
    {"fe", "fe_keyboard_space"},
    {"bg", "bg_grid"},
    {"bg", "bg_letter"},
    {"bg", "bg_digit"},
    {"bg", "bg_ring"},
};
const std::vector<BankItem> kBuiltFonts = {};
// The text ids the code shows.
const std::vector<int> kTextIds = {
    // The crossword's buttons, titles, tabs and answer-view headings, and the wordsearch's
    // intro heading and found-words counter.
    20,
    24,
    54,
    58,
    139,
    287,
    292,
    294,
    296,
    299,
    310,
    311,
    322,
    505,
    506,
    // The sudoku's pad labels; the anagram's result, time-up, clock, menu and confirm.
    312,
    313,
    380,
    516,
    290,
    // Simply Puzzle's menu: its title, lines, kinds, levels and buttons.
    48,
    260,
    19,
    448,
    435,
    437,
    53,
    55,
    57,
    59,
    38,
    40,
    42,
    // The profile screen: yes, no, save, back, Head to Head, titles, the four default names,
    // edit, erase and its confirmation, the name entry, the player choice and the guest.
    13,
    14,
    18,
    52,
    76,
    81,
    82,
    83,
    84,
    86,
    88,
    91,
    92,
    93,
    95,
    269,
    471,
    474,
    // The Tournament menu's titles, messages, buttons, labels, statuses, kinds, levels and
    // ranks.
    13,
    14,
    26,
    36,
    37,
    38,
    39,
    40,
    41,
    42,
    44,
    53,
    55,
    57,
    59,
    241,
    289,
    350,
    351,
    355,
    356,
    360,
    361,
    362,
    363,
    364,
    365,
    366,
    367,
    368,
    369,
    371,
    372,
    373,
    374,
    376,
    380,
    381,
    383,
    386,
    387,
    388,
    391,
    392,
    393,
    395,
    397,
    398,
    399,
    400,
    401,
    402,
    403,
    404,
    405,
    406,
    408,
    409,
    410,
    411,
    412,
    413,
    414,
    415,
    416,
    417,
    560,
    // The Fast and Fun menu: titles, lines, buttons, difficulty names, counts, the time-left
    // label and the end-of-challenge question.
    13,
    14,
    19,
    20,
    24,
    26,
    27,
    36,
    37,
    38,
    39,
    40,
    41,
    42,
    50,
    263,
    290,
    380,
    452,
    453,
    456,
    457,
    459,
    465,
    466,
    467,
    468,
    469,
    470,
    532,
    533,
    534,
    // The Quick Blast menu: its title, lines, buttons, levels, kinds, the summary's and the
    // results' labels, the history's lines and the warning (534 also asks on the pause screen).
    37,
    39,
    41,
    46,
    250,
    418,
    420,
    421,
    422,
    423,
    424,
    425,
    426,
    427,
    428,
    429,
    430,
    431,
    531,
    534,
    535,
    // Head to Head's menu: the variant choice, the set-ups, the screens between turns, at
    // game over and with the results.
    18,
    27,
    36,
    37,
    39,
    41,
    53,
    55,
    57,
    59,
    137,
    479,
    481,
    482,
    483,
    484,
    485,
    486,
    487,
    488,
    489,
    495,
    504,
    509,
    510,
    511,
    512,
    514,
    515,
    516,
    517,
    523,
};

// The literal requests of the game's sources: the quoted arguments of every call of a
// function whose name ends in SpriteBank, Sprite or Font (the resource manager's own, and
// wrappers such as FeSprite("fe", "fe_back")).
struct Requests {
    std::set<std::string> banks;
    std::set<BankItem> sprites;
    std::set<BankItem> fonts;
};

Requests ScanSources() {
    const std::regex bank(R"re(SpriteBank\(\s*"([^"]+)"\s*\))re");
    const std::regex sprite(R"re(Sprite\(\s*"([^"]+)"\s*,\s*"([^"]+)"\s*\))re");
    const std::regex font(R"re(Font\(\s*"([^"]+)"\s*,\s*"([^"]+)"\s*\))re");
    Requests requests;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PUZZLES_GAME_SOURCES)) {
        if (entry.path().extension() != ".cpp") {
            continue;
        }
        std::ifstream file(entry.path());
        std::stringstream text;
        text << file.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator m(source.begin(), source.end(), bank), end; m != end; ++m) {
            requests.banks.insert((*m)[1]);
        }
        for (std::sregex_iterator m(source.begin(), source.end(), sprite), end; m != end; ++m) {
            requests.sprites.insert({(*m)[1], (*m)[2]});
        }
        for (std::sregex_iterator m(source.begin(), source.end(), font), end; m != end; ++m) {
            requests.fonts.insert({(*m)[1], (*m)[2]});
        }
    }
    requests.banks.insert(kBuiltBanks.begin(), kBuiltBanks.end());
    requests.sprites.insert(kBuiltSprites.begin(), kBuiltSprites.end());
    requests.fonts.insert(kBuiltFonts.begin(), kBuiltFonts.end());
    return requests;
}

// The whole disc file through the console's file layer, or empty.
std::vector<unsigned char> DiscFile(const std::string& path) {
    SysFileHandle* handle = kPlatform_FileOpen(path.c_str(), K_IO_ACCESS_READ, K_IO_OPEN_EXISTING);
    std::vector<unsigned char> bytes;
    if (handle != nullptr) {
        kFileIOStream stream(handle);
        bytes.resize(stream.Length());
        bytes.resize(stream.Read(bytes.data(), static_cast<unsigned int>(bytes.size())));
        stream.Close();
    }
    return bytes;
}

class AssetCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_options = HostGetOptions();
        HostOptions disc = m_options;
        std::snprintf(disc.discDir, sizeof(disc.discDir), "%s", PUZZLES_DISC_DIR);
        HostSetOptions(disc);
        MNResourceManager::Init();
        MNBuiltInBanks::Register();
    }
    void TearDown() override {
        MNResourceManager::Deinit();
        HostSetOptions(m_options);
    }

    HostOptions m_options{};
};

TEST_F(AssetCheckTest, EveryBankSpriteAndFontTheCodeAsksForIsOnTheDisc) {
    const Requests requests = ScanSources();
    for (const std::string& bank : requests.banks) {
        EXPECT_GT(MNResourceManager::GetSpriteBank(bank.c_str())->GetNumSprites(), 0) << bank;
    }
    for (const BankItem& sprite : requests.sprites) {
        const std::unique_ptr<kSprite> made(
            MNResourceManager::GetSprite(sprite.bank.c_str(), sprite.name.c_str()));
        EXPECT_NE(made, nullptr) << sprite.bank << " " << sprite.name;
    }
    for (const BankItem& font : requests.fonts) {
        EXPECT_GT(MNResourceManager::GetFont(font.bank.c_str(), font.name.c_str())->ChrWidth('A'),
                  0)
            << font.bank << " " << font.name;
    }
}

// Every disc bank the sources ask for is one of the files a start checks the disc for.
TEST_F(AssetCheckTest, EveryDiscBankTheCodeAsksForIsCheckedAtTheStart) {
    std::set<std::string> checked;
    for (int i = 0; i < MNDiscFiles::GetCount(); ++i) {
        checked.insert(MNDiscFiles::GetPath(i));
    }
    const Requests requests = ScanSources();
    std::set<std::string> banks = requests.banks;
    for (const std::set<BankItem>& items : {requests.sprites, requests.fonts}) {
        for (const BankItem& item : items) {
            banks.insert(item.bank);
        }
    }
    for (const std::string& bank : banks) {
        char path[128];
        MNResourceManager::GetBankFileName(bank.c_str(), path, sizeof(path));
        EXPECT_TRUE(DVDConvertPathToEntrynum(path) < 0 || checked.count(path) == 1) << path;
    }
    EXPECT_EQ(MNDiscFiles::Check(), nullptr);
}

TEST_F(AssetCheckTest, EveryTextIdTheCodeShowsIsInTheLanguageFile) {
    std::vector<unsigned char> file = DiscFile("wii/uk_english.txz");
    kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_READ);
    ASSERT_TRUE(kText::Load(&stream));
    for (const int id : kTextIds) {
        EXPECT_NE(kText::TextId(id), nullptr) << "text id " << id;
    }
    kText::Reset();
}

TEST_F(AssetCheckTest, EverySoundEffectAndMusicCueOfTheTableLoads) {
    for (int id = 0; id < SFX_COUNT; ++id) {
        if (MNSound::GetSoundEffectName(id) == nullptr) {
            continue; // an id without a sound
        }
        const std::string path =
            std::string("wii/audio/") + MNSound::GetSoundEffectName(id) + ".dsp";
        std::vector<unsigned char> file = DiscFile(path);
        kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()),
                               K_IO_ACCESS_READ);
        const std::unique_ptr<kSound> sound(kSound_DSPLoad(&stream));
        EXPECT_NE(sound, nullptr) << path;
    }
    for (int cue = 0; cue < MUSIC_COUNT; ++cue) {
        const std::string path = std::string("wii/audio/") + MNSound::GetMusicName(cue) + ".ogg";
        kOGGStream stream(path.c_str(), false);
        EXPECT_FALSE(stream.IsEOF()) << path;
    }
}

} // namespace
