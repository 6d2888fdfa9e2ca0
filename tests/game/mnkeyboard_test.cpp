// The on-screen keyboard: its key order per language (saved puzzle states hold key
// indices, so this table may never change), typing over locked positions, backspace, the
// cursor, one key per press of the A button, and the sounds of a letter and of backspace.
#include "../kelvo/audio_device_support.h"
#include "game_ui_fixture.h"
#include "temporary_host_directory.h"

#include <services/mninputedge.h>
#include <tui/mnkeyboard.h>

#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mnvolume.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;

// Every key of every language in index order, "_" for the space bar and "<" for backspace.
std::string KeyTable(const MNKeyboard& keyboard) {
    std::string keys;
    for (int i = 0; i < keyboard.GetNumKeys(); ++i) {
        const char letter = keyboard.GetLetter(i);
        keys += letter == ' ' ? '_' : (letter == MNKeyboard::kBackspace ? '<' : letter);
    }
    return keys;
}

TEST_F(GameUITest, KeyOrderOfEveryLanguageNeverChanges) {
    const std::vector<std::string> expected = {
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC0\xC7\xC8\xC9",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC0\xC8\xC9\xCC\xD2\xD9",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\xDC",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xD1",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    };
    for (int language = 0; language < 8; ++language) {
        SCOPED_TRACE(language);
        MNKeyboard withSpace(language, true);
        MNKeyboard withoutSpace(language, false);
        EXPECT_EQ(KeyTable(withSpace), expected[language] + "_<");
        EXPECT_EQ(KeyTable(withoutSpace), expected[language] + "<");
        EXPECT_EQ(withoutSpace.GetKeyIndex(' '), -1);
        EXPECT_EQ(withoutSpace.GetKeyIndex('Q'), 16);
        EXPECT_EQ(withoutSpace.GetKeyIndex('a'), -1);
    }
    MNKeyboard unknown(42, false);
    EXPECT_EQ(KeyTable(unknown), expected[0] + "<");
}

// Presses the key of each character of keys ("<" backspace), one press and release each.
void Type(MNKeyboard& keyboard, const char* keys) {
    for (const char* c = keys; *c != 0; ++c) {
        const int index = keyboard.GetKeyIndex(*c == '<' ? MNKeyboard::kBackspace : *c);
        const MNKeyboardKey& key = keyboard.GetKey(index < 0 ? keyboard.GetNumKeys() - 1 : index);
        EXPECT_TRUE(keyboard.MouseHit(key.x + 1, key.y + 1, false, MNInputEdge::PRESSED)) << *c;
        keyboard.MouseHit(key.x + 1, key.y + 1, false, MNInputEdge::RELEASED);
        keyboard.MouseHit(key.x + 1, key.y + 1, false, MNInputEdge::IDLE);
    }
}

struct TypingCase {
    const char* name;
    int length;
    std::vector<int> locked;
    const char* start;
    const char* keys;
    const char* string;
    int cursor;
};

TEST_F(GameUITest, TypingStepsOverLockedPositionsAndStopsAtTheLength) {
    const TypingCase cases[] = {
        {"plain", 5, {}, "", "AB", "AB   ", 1},
        {"full", 3, {}, "", "ABCD", "ABC", 2},
        {"over locks", 5, {0, 2}, "X Y  ", "ABC", "XAYBC", 4},
        {"backspace", 5, {}, "", "ABC<<D", "AD   ", 1},
        {"backspace skips locks", 4, {1}, " L  ", "AB<<<", " L  ", -1},
        {"backspace at start", 3, {}, "", "<A", "A  ", 0},
        {"space bar", 4, {}, "", "A B", "A B ", 2},
    };
    for (const TypingCase& test : cases) {
        SCOPED_TRACE(test.name);
        MNKeyboard keyboard(0, true);
        keyboard.SetMaxStringLength(test.length);
        for (const int position : test.locked) {
            keyboard.SetLockedCells(position);
        }
        keyboard.SetString(test.start);
        Type(keyboard, test.keys);
        EXPECT_STREQ(keyboard.GetString(), test.string);
        EXPECT_EQ(keyboard.GetCursorPos(), test.cursor);
    }
}

TEST_F(GameUITest, KeyboardTakesOneKeyPerPress) {
    MNKeyboard keyboard(0, false);
    keyboard.SetMaxStringLength(8);
    const MNKeyboardKey& a = keyboard.GetKey(keyboard.GetKeyIndex('A'));
    const MNKeyboardKey& back = keyboard.GetKey(keyboard.GetNumKeys() - 1);
    EXPECT_TRUE(keyboard.MouseHit(a.x + 2, a.y + 2, false, MNInputEdge::PRESSED));
    EXPECT_FALSE(keyboard.MouseHit(a.x + 2, a.y + 2, false, MNInputEdge::PRESSED))
        << "a press reported again takes no second key";
    EXPECT_FALSE(keyboard.MouseHit(a.x + 2, a.y + 2, false, MNInputEdge::HELD));
    EXPECT_FALSE(keyboard.MouseHit(a.x + 2, a.y + 2, false, MNInputEdge::IDLE));
    EXPECT_FALSE(keyboard.MouseHit(-50, -50, false, MNInputEdge::PRESSED)) << "no key there";
    keyboard.MouseHit(-50, -50, false, MNInputEdge::IDLE);
    EXPECT_TRUE(keyboard.MouseHit(back.x + 2, back.y + 2, false, MNInputEdge::PRESSED));
    EXPECT_STREQ(keyboard.GetString(), "        ");
    EXPECT_EQ(keyboard.GetCursorPos(), -1);
}

TEST_F(GameUITest, KeyboardKeepsLengthsAndPositionsInsideItsString) {
    MNKeyboard keyboard(0, true);
    keyboard.SetMaxStringLength(40);
    EXPECT_EQ(keyboard.GetMaxStringLength(), MNKeyboard::kMaxString - 1);
    keyboard.SetMaxStringLength(4);
    keyboard.SetString("ABCDEFG");
    EXPECT_STREQ(keyboard.GetString(), "ABCD");
    keyboard.SetString(keyboard.GetString() + 1);
    EXPECT_STREQ(keyboard.GetString(), "BCD ") << "its own string, shifted";
    keyboard.SetCursorPos(9);
    EXPECT_EQ(keyboard.GetCursorPos(), 3);
    keyboard.SetCursorPos(-5);
    EXPECT_EQ(keyboard.GetCursorPos(), -1);
    keyboard.SetLockedCells(99);
    EXPECT_FALSE(keyboard.GetLockedCells(99));
    keyboard.SetLanguage(3);
    EXPECT_EQ(keyboard.GetKeyIndex('\xD6'), 27) << "German keys, string kept";
    EXPECT_STREQ(keyboard.GetString(), "BCD ");
}

} // namespace

namespace {

using namespace audio_device_test;

// The keyboard's sounds on a disc whose letter sound is a steady high level and whose
// backspace sound a steady low one, heard through the voice device.
class KeyboardSoundTest : public AudioDeviceTest {
protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        Write(SFX_KEY_LETTER, 8000);
        Write(SFX_KEY_BACKSPACE, -8000);
        MNSound::Init(MN_MAX_VOLUME, 0);
    }
    void TearDown() override {
        MNSound::Deinit();
        MNResourceManager::Deinit(); // the banks kept loaded from this suite's disc
        AudioDeviceTest::TearDown();
    }

    void Write(int effect, short level) {
        m_disc.Write(std::string("wii/audio/") + MNSound::GetSoundEffectName(effect) + ".dsp",
                     sound_test::Write(kSound_DSPWrite, *OneShot(level)));
    }

    // A tenth of a second of one level, played once.
    static sound_test::SoundPtr OneShot(short level) {
        const std::vector<short> samples(3200, level);
        return sound_test::SoundPtr(kSound_DSPEncode(samples.data(), 3200, 32000, false, 0));
    }

    // Presses key index and returns the mean level of what plays after; then
    // lets the sound end.
    double LevelAfterPressing(MNKeyboard& keyboard, int index) {
        const MNKeyboardKey& key = keyboard.GetKey(index);
        keyboard.MouseHit(key.x + 1, key.y + 1, false, MNInputEdge::PRESSED);
        keyboard.MouseHit(key.x + 1, key.y + 1, false, MNInputEdge::IDLE);
        const audio_test::Output output = Run(14);
        Run(30);
        return Mean(output.left, output.left.size() / 2);
    }

    test_support::TemporaryDisc m_disc;
};

TEST_F(KeyboardSoundTest, LettersAndBackspacePlayTheirOwnSounds) {
    MNKeyboard keyboard(0, true);
    keyboard.SetMaxStringLength(4);
    EXPECT_GT(LevelAfterPressing(keyboard, keyboard.GetKeyIndex('A')), 1000.0)
        << "the letter's sound";
    EXPECT_LT(LevelAfterPressing(keyboard, keyboard.GetNumKeys() - 1), -1000.0)
        << "the backspace's sound";
}

} // namespace
