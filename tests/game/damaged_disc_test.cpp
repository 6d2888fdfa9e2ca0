// Every sprite bank, text file and puzzle bank of the disc missing, empty or cut short while
// the world opens each kind of puzzle in Simply Puzzle and an anagram plays: no screen may
// crash or read what it was not given (the sanitizer build checks the reads); what a file
// does not give is left out of the picture, and a puzzle screen left without its art is
// refused, the player kept on the menu.
#include "frame_step.h"
#include "game_ui_fixture.h"
#include "log_capture.h"
#include "temporary_host_directory.h"

#include <modes/mnsimplypuzzle.h>
#include <modes/mnsimplypuzzlemenu.h>
#include <puzzles/anagram/mnanagram.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsubgame.h>
#include <services/puzzletypes.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>

#include <kelvo/render/krender.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
namespace fs = std::filesystem;

enum class Damage { Missing, Empty, CutShort, Junk };

const char* NameOf(Damage damage) {
    switch (damage) {
    case Damage::Missing:
        return "missing";
    case Damage::Empty:
        return "empty";
    case Damage::CutShort:
        return "cut short";
    case Damage::Junk:
        break;
    }
    return "junk";
}

// The files the world's screens read: sprite banks, texts and the puzzle bank.
std::vector<std::string> ScreenFiles() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(PUZZLES_DISC_DIR) / "wii")) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".KSB" || extension == ".txz" || extension == ".kmn") {
            names.push_back("wii/" + entry.path().filename().string());
        }
    }
    return names;
}

class DamagedDiscTest : public GameUITest {
protected:
    // A disc that is the built one but for the damaged file, in place of it until the next.
    void MakeDisc(const std::string& damagedName, Damage damage) {
        m_disc.reset();
        m_disc.emplace();
        const fs::path built(PUZZLES_DISC_DIR);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(built)) {
            if (!entry.is_regular_file()) {
                continue;
            }
            const std::string name = fs::relative(entry.path(), built).string();
            const fs::path copy = m_disc->Root() / name;
            fs::create_directories(copy.parent_path());
            if (name != damagedName) {
                fs::create_symlink(entry.path(), copy);
            } else if (damage == Damage::Junk) {
                std::ofstream(copy, std::ios::binary) << std::string(4096, '\x5A');
            } else if (damage != Damage::Missing) {
                const uintmax_t size =
                    damage == Damage::Empty ? 0 : fs::file_size(entry.path()) / 2;
                fs::copy_file(entry.path(), copy);
                fs::resize_file(copy, size);
            }
        }
    }

    // Ticks and draws the world as the game does.
    void Frames(MNGameWorld& world, int count) {
        for (int i = 0; i < count; ++i) {
            Step();
            world.Tick(kFrame);
            kRender::BufferSwap();
            world.RenderClientView(nullptr, 0, nullptr);
        }
    }

    // The world of the game begun with the first profile.
    static MNGameWorld& BeginWorld(MNGame& game) {
        MNGameWorld& world = *game.GetGameWorld();
        world.Init();
        world.BeginPlay();
        MNProfileManager::SetActiveProfile(0);
        world.SetActiveProfile(0);
        return world;
    }

    static MNSimplyPuzzle& EnterSimplyPuzzle(MNGameWorld& world) {
        world.SetCurrentSubGame(SUBGAME_SIMPLYPUZZLE);
        return *static_cast<MNSimplyPuzzle*>(world.GetSubGame(SUBGAME_SIMPLYPUZZLE));
    }

    // Each kind opened in Simply Puzzle, its intro left, a few frames played, then left.
    void PlayEveryKind() {
        MNGame game;
        MNGameWorld& world = BeginWorld(game);
        MNSimplyPuzzle& mode = EnterSimplyPuzzle(world);
        for (int kind : {PUZZLE_FLAG_SUDOKU, PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_CROSSWORD,
                         PUZZLE_FLAG_WORDSEARCH}) {
            mode.OnPlay(kind, PUZZLE_DIFFICULTY_BEGINNER);
            Frames(world, 2);
            LoadScript({PointAt(320, 270) + " hold A", "hold none"});
            Frames(world, 4);
            if (mode.GetPuzzleScreen() != nullptr) {
                mode.AbandonPuzzle();
            }
            Frames(world, 1);
        }
        MNAnagram anagram;
        if (anagram.SetString("GRAPE")) {
            anagram.Play();
        }
        for (int i = 0; i < 3; ++i) {
            Step();
            anagram.Tick(kFrame);
            anagram.Render();
        }
    }

    std::optional<test_support::TemporaryDisc> m_disc;
};

TEST_F(DamagedDiscTest, EveryScreenFileMissingEmptyOrCutShortLeavesEveryPuzzlePlayable) {
    const std::vector<std::string> files = ScreenFiles();
    ASSERT_GE(files.size(), 14u) << "the built disc's screen files";
    for (const std::string& file : files) {
        for (Damage damage : {Damage::Missing, Damage::Empty, Damage::CutShort}) {
            SCOPED_TRACE(file + " " + NameOf(damage));
            MakeDisc(file, damage);
            MNResourceManager::Deinit();
            MNResourceManager::Init();
            PlayEveryKind();
        }
    }
}

// The puzzle screens' sprite bank missing, empty or not a sprite bank: no kind can be drawn,
// so each is refused as a puzzle the bank cannot give is, and the player stays on the menu.
// A stopped puzzle stays stored for a disc that can show it.
TEST_F(DamagedDiscTest, PuzzleScreensWithoutTheirArtAreRefusedAndThePlayerStaysOnTheMenu) {
    const struct {
        int type;
        const char* name;
    } kinds[] = {{PUZZLE_FLAG_SUDOKU, "sudoku"},
                 {PUZZLE_FLAG_FITWORD, "fitword"},
                 {PUZZLE_FLAG_CROSSWORD, "crossword"},
                 {PUZZLE_FLAG_WORDSEARCH, "wordsearch"}};
    for (Damage damage : {Damage::Missing, Damage::Empty, Damage::Junk}) {
        MakeDisc("wii/puzzles.KSB", damage);
        MNResourceManager::Deinit();
        MNResourceManager::Init();
        MNGame game;
        MNGameWorld& world = BeginWorld(game);
        SaveGameActivePuzzle& stored = world.GetProfile()->GetSaveData()->simplypuzzleActivePuzzle;
        stored.bActive = 1;
        stored.type = PUZZLE_FLAG_CROSSWORD;
        stored.id = static_cast<u32>(
            MNPuzzleMode::DrawPuzzleId(PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER));
        MNSimplyPuzzle& mode = EnterSimplyPuzzle(world);
        EXPECT_TRUE(stored.bActive) << NameOf(damage);
        EXPECT_EQ(stored.type, static_cast<u32>(PUZZLE_FLAG_CROSSWORD));
        kUIManager& manager = *world.GetUIManager();
        for (const auto& kind : kinds) {
            SCOPED_TRACE(std::string(kind.name) + ", bank " + NameOf(damage));
            const test_support::LogCapture log;
            mode.OnPlay(kind.type, PUZZLE_DIFFICULTY_BEGINNER);
            EXPECT_TRUE(log.Contains(std::string("the ") + kind.name +
                                     " screen's art is not on the disc; the puzzle is refused"));
            EXPECT_EQ(mode.GetPuzzleScreen(), nullptr);
            EXPECT_STREQ(manager.GetLayer(manager.GetNumLayers() - 1)->GetId(), "menu");
            EXPECT_TRUE(mode.GetMenu()->IsOpen());
            Frames(world, 2);
            EXPECT_EQ(world.GetCurrentSubGameIndex(), SUBGAME_SIMPLYPUZZLE);
        }
    }
}

} // namespace
