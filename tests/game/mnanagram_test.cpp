// The anagram played through scripted remote input, frame by frame: the circle of keys, the
// answer row that closes its gaps, the check of 20 ticks a letter with its 5-second pause, a
// wrong answer that gives the letters back, the time-out that reveals the word, the debug
// key, a slot that deletes the widget inside its game over, the words it refuses, and how
// the circle, a check and the revealed answer look.
#include "frame_step.h"
#include "game_golden_fixture.h"
#include "log_capture.h"

#include <puzzles/anagram/mnanagram.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <utility>

namespace {

using namespace Kelvo_lib;
using test_support::LogCapture;

constexpr int kTicksPerCheckStep = 20;

// Counts the signals of an anagram; may delete it from inside its game over.
class AnagramListener : public kHasSlots<> {
public:
    explicit AnagramListener(MNAnagram* anagram) : m_anagram(anagram) {
        anagram->GameOverSignal.Connect(this, &AnagramListener::OnGameOver);
        anagram->GamePauseSignal.Connect(this, &AnagramListener::OnPause);
    }

    void OnGameOver() {
        ++m_gameOvers;
        if (m_bDeleteOnGameOver) {
            delete m_anagram;
            m_anagram = nullptr;
        }
    }
    void OnPause() { ++m_pauses; }

    MNAnagram* m_anagram;
    bool m_bDeleteOnGameOver = false;
    int m_gameOvers = 0;
    int m_pauses = 0;
};

class AnagramTest : public GameGoldenTest {
protected:
    void SetUp() override {
        GameGoldenTest::SetUp();
        MNProfile::GetRandomGen()->seed(2026);
        m_anagram = new MNAnagram;
    }

    void TearDown() override {
        delete m_anagram;
        GameGoldenTest::TearDown();
    }

    // A frame: the script's events, the input, then the widget's tick.
    void Frame(const std::string& events = "") {
        if (!events.empty()) {
            LoadScript({events});
        }
        Step();
        m_anagram->Tick(kFrame);
    }

    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            Frame();
        }
    }

    // Points at the rectangle's centre, lets the pointer settle, then presses and releases A.
    void Click(const kUIRect& rect) {
        Frame(PointAt(static_cast<int>(rect.x + rect.w * 0.5f),
                      static_cast<int>(rect.y + rect.h * 0.5f)));
        Frames(2);
        Frame("hold A");
        Frame("hold none");
    }

    kUIRect KeyRect(int i) const {
        const MNAnagram::MNKey& key = m_anagram->GetKey(i);
        return {key.x, key.y, key.w, key.h};
    }

    // Clicks, for each letter, the first key of the circle that shows it and is not placed.
    void Spell(const char* letters) {
        for (const char* c = letters; *c != 0; ++c) {
            int found = -1;
            for (int i = 0; i < m_anagram->GetNumKeys() && found < 0; ++i) {
                const MNAnagram::MNKey& key = m_anagram->GetKey(i);
                found = key.letter == *c && !key.used ? i : -1;
            }
            ASSERT_GE(found, 0) << *c;
            Click(KeyRect(found));
        }
    }

    // The letters of the answer row, '.' for an empty position.
    std::string Answer() const {
        std::string row(static_cast<size_t>(m_anagram->GetNumKeys()), '.');
        for (int i = 0; i < m_anagram->GetNumKeys(); ++i) {
            const MNAnagram::MNKey& key = m_anagram->GetKey(i);
            if (key.used) {
                row[static_cast<size_t>(key.order)] = key.letter;
            }
        }
        return row;
    }

    // Ticks until done() or limit ticks have run; returns the ticks run.
    template <class Done>
    int TicksUntil(Done done, int limit = 5000) {
        int ticks = 0;
        for (; !done() && ticks < limit; ++ticks) {
            Frame();
        }
        return ticks;
    }

    // The anagram over the menus' background, as the mode shows it.
    testing::AssertionResult Looks(const char* golden) {
        DrawBackground(BACKGROUND_MENUS);
        m_anagram->Render();
        return png_golden::MatchesGolden(golden, Picture());
    }

    MNAnagram* m_anagram = nullptr;
};

TEST_F(AnagramTest, IsMadeByClassWithItsArtFontsAndTextsFromTheDisc) {
    kClass* record = MNAnagram::StaticClass();
    EXPECT_STREQ(record->m_className, "Kelvo_lib::MNAnagram");
    EXPECT_EQ(record->m_superClass, kUIWidget::StaticClass());
    LogCapture log;
    kObject* memory = kObject::Allocate(record, nullptr, nullptr);
    record->m_classConstructor(memory);
    MNAnagram* byFactory = static_cast<MNAnagram*>(memory);
    EXPECT_EQ(byFactory->Class(), record);
    delete byFactory; // the class delete frees what Allocate gave
    for (const char* missing : {"No sprite", "Failed to", "Couldn't find"}) {
        EXPECT_FALSE(log.Contains(missing)) << missing;
    }
    for (const int id : {290, 292, 299, 380, 516}) {
        EXPECT_STRNE(kText::Text(id) != nullptr ? kText::Text(id) : "", "") << id;
    }
}

TEST_F(AnagramTest, KeysLieOnTheCircleEachOnItsOwnSlot) {
    ASSERT_TRUE(m_anagram->SetString("PUZZLE"));
    const float cx = static_cast<float>(kSpriteManager::GetDisplayWidth() / 2);
    const float cy = static_cast<float>(kSpriteManager::GetDisplayHeight() / 2);
    std::set<std::pair<float, float>> corners;
    std::string letters;
    for (int i = 0; i < m_anagram->GetNumKeys(); ++i) {
        const MNAnagram::MNKey& key = m_anagram->GetKey(i);
        letters += key.letter;
        corners.insert({key.x, key.y});
        EXPECT_NEAR(std::hypot(key.x - cx, key.y - cy), 80.0f, 1.5f) << i;
    }
    EXPECT_EQ(letters, "PUZZLE") << "keys in the word's order";
    EXPECT_EQ(corners.size(), 6u) << "one slot each";

    MNAnagram single;
    ASSERT_TRUE(single.SetString("A"));
    EXPECT_EQ(single.GetKey(0).x, cx + 80.0f) << "one slot, at angle 0";
    EXPECT_EQ(single.GetKey(0).y, cy);
}

TEST_F(AnagramTest, RefusesWordsItCannotHold) {
    const std::string longest(MNAnagram::kMaxWordLength, 'A');
    const std::string tooLong = longest + "B";
    LogCapture log;
    for (const char* word : {static_cast<const char*>(nullptr), "", tooLong.c_str()}) {
        EXPECT_FALSE(m_anagram->SetString(word));
    }
    EXPECT_EQ(m_anagram->GetNumKeys(), 0);
    EXPECT_TRUE(log.Contains("longer than 31"));
    EXPECT_TRUE(m_anagram->SetString(longest.c_str()));
    EXPECT_FALSE(m_anagram->SetString("OTHER")) << "one word per anagram";
    EXPECT_EQ(m_anagram->GetNumKeys(), MNAnagram::kMaxWordLength);

    // Played without a word, it ends at once rather than taking an empty answer.
    MNAnagram wordless;
    AnagramListener listener(&wordless);
    wordless.Play();
    wordless.Tick(kFrame);
    EXPECT_EQ(wordless.GetState(), PUZZLE_STATE_COMPLETED);
    EXPECT_EQ(listener.m_gameOvers, 1);
}

TEST_F(AnagramTest, PlacedLettersComeBackAndTheRowClosesItsGap) {
    ASSERT_TRUE(m_anagram->SetString("GRAPE"));
    Click(KeyRect(0));
    EXPECT_EQ(m_anagram->GetCursorPos(), 0) << "nothing counts before Play";
    EXPECT_EQ(m_anagram->GetTimeLeft(), MNAnagram::kTimeLimit);

    m_anagram->Play();
    Spell("PEAR");
    Click(m_anagram->GetConfirmRect());
    EXPECT_FALSE(m_anagram->IsChecking()) << "confirm waits for every letter";
    Spell("G");
    EXPECT_EQ(Answer(), "PEARG");
    Click(KeyRect(4)); // the E, through its key in the circle
    EXPECT_EQ(Answer(), "PARG.");
    const kUIRect second = m_anagram->GetAnswerCellRect(1);
    Click({second.x, second.y + second.h - 4.0f, second.w, 4.0f});
    EXPECT_EQ(Answer(), "PRG..") << "the foot of a drawn cell takes its letter back";
    EXPECT_EQ(m_anagram->GetCursorPos(), 3);

    AnagramListener listener(m_anagram);
    Click(m_anagram->GetMenuRect());
    EXPECT_EQ(listener.m_pauses, 1);
    EXPECT_TRUE(Looks("anagram_circle"));
}

TEST_F(AnagramTest, RightWordIsCheckedLetterByLetterThenEndsAfterFiveSeconds) {
    AnagramListener listener(m_anagram);
    ASSERT_TRUE(m_anagram->SetString("GRAPE"));
    m_anagram->Play();
    Spell("GRAPE");
    LogCapture log;
    Click(m_anagram->GetConfirmRect());
    ASSERT_TRUE(m_anagram->IsChecking());
    const float clock = m_anagram->GetTimeLeft();

    // The press started the check; the release frame was its first tick.
    EXPECT_EQ(1 + TicksUntil([&] { return log.Contains("Scan complete"); }),
              6 * kTicksPerCheckStep);
    EXPECT_EQ(log.CountContaining("Scanning..."), 5);
    EXPECT_TRUE(log.Contains("Completed Anagram - Correct word"));
    EXPECT_EQ(m_anagram->GetTimeLeft(), clock) << "the clock stands during the check";
    EXPECT_EQ(listener.m_gameOvers, 0);

    const int ticks = TicksUntil([&] { return listener.m_gameOvers > 0; });
    EXPECT_NEAR(ticks * kFrame, 5.0f, 2.0f * kFrame);
    EXPECT_EQ(m_anagram->GetState(), PUZZLE_STATE_COMPLETED);
    Frames(300);
    EXPECT_EQ(listener.m_gameOvers, 1) << "once";
}

TEST_F(AnagramTest, WrongOrderGivesTheLettersBackAndTheClockRunsOn) {
    ASSERT_TRUE(m_anagram->SetString("PUZZLE"));
    m_anagram->Play();
    Spell("PUZLZE");
    LogCapture log;
    Click(m_anagram->GetConfirmRect());
    Frames(3 * kTicksPerCheckStep + 4);
    EXPECT_TRUE(Looks("anagram_check"));
    TicksUntil([&] { return log.Contains("Incorrect Anagram"); });
    EXPECT_EQ(Answer(), "......");
    EXPECT_EQ(m_anagram->GetCursorPos(), 0);
    EXPECT_FALSE(m_anagram->IsChecking() || m_anagram->IsComplete());
    const float clock = m_anagram->GetTimeLeft();
    Frames(10);
    EXPECT_LT(m_anagram->GetTimeLeft(), clock);
}

TEST_F(AnagramTest, TimeOutChecksEveryPositionThenRevealsTheWord) {
    AnagramListener listener(m_anagram);
    ASSERT_TRUE(m_anagram->SetString("PUZZLE"));
    m_anagram->Play();
    Spell("ZU");
    LogCapture log;
    TicksUntil([&] { return m_anagram->IsChecking(); });
    EXPECT_NEAR(m_anagram->GetTimeLeft(), 0.0f, 0.0f);
    EXPECT_EQ(log.CountContaining("Scanning..."), 0) << "up with up to a second on the clock";
    TicksUntil([&] { return m_anagram->IsComplete(); });
    EXPECT_EQ(log.CountContaining("Scanning..."), 6) << "every position, filled or not";
    EXPECT_TRUE(log.Contains("Completed Anagram - Ran out of time"));

    std::string revealed;
    for (int step = 0; step < 8; ++step) {
        Frames(kTicksPerCheckStep);
        revealed += Answer() + " ";
    }
    EXPECT_EQ(revealed, "...... P..... PU.... PUZ... PUZZ.. PUZZL. PUZZLE PUZZLE ");
    EXPECT_TRUE(Looks("anagram_reveal"));
    EXPECT_EQ(listener.m_gameOvers, 0) << "the answer shows for 5 seconds";
    const int ticks = TicksUntil([&] { return listener.m_gameOvers > 0; });
    EXPECT_NEAR(ticks * kFrame, 5.0f, 1.0f);
}

// The mode deletes the anagram inside its game over, after the check or on the debug key:
// the tick touches nothing afterwards (the sanitizer build reports any use of the freed
// widget).
TEST_F(AnagramTest, SlotMayDeleteTheAnagramInsideGameOver) {
    ASSERT_TRUE(m_anagram->SetString("GRAPE"));
    m_anagram->Play();
    Spell("GRAPE");
    Click(m_anagram->GetConfirmRect());
    AnagramListener listener(m_anagram);
    listener.m_bDeleteOnGameOver = true;
    TicksUntil([&] { return listener.m_anagram == nullptr; });
    EXPECT_EQ(listener.m_gameOvers, 1);

    MNSaveProfileData& record = *MNProfileManager::GetProfile(0)->GetSaveData();
    const MNSaveProfileData saved = record;
    const int previousProfile = MNProfileManager::GetActiveProfileIndex();
    std::snprintf(record.name, sizeof record.name, "%s", MNProfile::kDebugName);
    record.bUsed = 1;
    MNProfileManager::SetActiveProfile(0);
    m_anagram = new MNAnagram;
    ASSERT_TRUE(m_anagram->SetString("GRAPE"));
    m_anagram->Play();
    AnagramListener debug(m_anagram);
    debug.m_bDeleteOnGameOver = true;
    LogCapture log;
    Frame("hold 2");
    EXPECT_EQ(debug.m_gameOvers, 1);
    EXPECT_TRUE(log.Contains("Debug: Completing anagram game"));
    m_anagram = nullptr;
    LoadScript({"hold none"});
    Step();
    record = saved;
    MNProfileManager::SetActiveProfile(previousProfile);
}

} // namespace
