// Dialog manager: which open dialog is active under the priority rules, the order and
// count of its signals, and its behaviour before Init.
#include <framework/kdialog.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kelvo_lib::kDialog;
using Kelvo_lib::kDialogManager;
using Kelvo_lib::kHasSlots;

// Records each signal as "open X" / "close X" with the active dialog seen at that moment.
class DialogLog : public kHasSlots<> {
public:
    DialogLog() {
        kDialogManager::DialogOpenSignal.Connect(this, &DialogLog::Opened);
        kDialogManager::DialogCloseSignal.Connect(this, &DialogLog::Closed);
    }

    void Opened(kDialog* dialog) { Record("open", dialog); }
    void Closed(kDialog* dialog) { Record("close", dialog); }

    std::vector<std::string> m_lines;

private:
    void Record(const char* what, kDialog* dialog) {
        const kDialog* active = kDialogManager::GetActiveDialog();
        m_lines.push_back(std::string(what) + " " + dialog->m_title.CStr() + " active " +
                          (active != nullptr ? active->m_title.CStr() : "none"));
    }
};

class DialogManagerTest : public ::testing::Test {
protected:
    void SetUp() override { kDialogManager::Init(nullptr, nullptr, nullptr); }
    void TearDown() override { kDialogManager::Deinit(); }

    DialogLog m_log;
};

TEST(DialogManagerBeforeInitTest, OpenAndCloseDoNothing) {
    kDialogManager::Deinit();
    DialogLog log;
    kDialog dialog("A", "", 1);
    kDialogManager::Open(&dialog);
    kDialogManager::Close(&dialog);
    EXPECT_FALSE(kDialogManager::IsOpen());
    EXPECT_FALSE(kDialogManager::IsOpen(&dialog));
    EXPECT_EQ(kDialogManager::GetActiveDialog(), nullptr);
    EXPECT_TRUE(log.m_lines.empty());
}

TEST_F(DialogManagerTest, LowerPriorityWaitsUntilTheHigherCloses) {
    kDialog a("A", "", 4);
    kDialog b("B", "", 1);
    kDialogManager::Open(&a);
    kDialogManager::Open(&b);
    EXPECT_EQ(kDialogManager::GetActiveDialog(), &a);
    kDialogManager::Close(&a);
    EXPECT_EQ(kDialogManager::GetActiveDialog(), &b);
    EXPECT_EQ(m_log.m_lines,
              (std::vector<std::string>{"open A active A", "open B active A", "close A active B"}));
}

TEST_F(DialogManagerTest, ClosingTheActiveDialogPicksTheLatestOfTheHighestPriority) {
    kDialog a("A", "", 3);
    kDialog b("B", "", 5);
    kDialog c("C", "", 5);
    kDialog d("D", "", 5);
    for (kDialog* dialog : {&a, &b, &c, &d}) {
        kDialogManager::Open(dialog);
    }
    kDialogManager::Close(&c); // not active: D stays
    EXPECT_EQ(kDialogManager::GetActiveDialog(), &d);
    kDialogManager::Close(&d);
    EXPECT_EQ(kDialogManager::GetActiveDialog(), &b);
    kDialogManager::Close(&b);
    EXPECT_EQ(kDialogManager::GetActiveDialog(), &a);
}

TEST_F(DialogManagerTest, RepeatedOpenAndStrayCloseSignalNothing) {
    kDialog a("A", "", 1);
    kDialog stranger("S", "", 9);
    kDialogManager::Open(&a);
    kDialogManager::Open(&a);
    kDialogManager::Close(&stranger);
    kDialogManager::Close(&a);
    kDialogManager::Close(&a);
    EXPECT_EQ(m_log.m_lines, (std::vector<std::string>{"open A active A", "close A active none"}));
}

TEST_F(DialogManagerTest, IsOpenFollowsTheListAndADialogCanReopen) {
    kDialog a("A", "", 1);
    EXPECT_FALSE(kDialogManager::IsOpen());
    kDialogManager::Open(&a);
    EXPECT_TRUE(kDialogManager::IsOpen());
    EXPECT_TRUE(kDialogManager::IsOpen(&a));
    kDialogManager::Close(&a);
    EXPECT_FALSE(kDialogManager::IsOpen());
    EXPECT_FALSE(kDialogManager::IsOpen(&a));
    EXPECT_EQ(kDialogManager::GetActiveDialog(), nullptr);
    kDialogManager::Open(&a);
    EXPECT_TRUE(kDialogManager::IsOpen(&a));
    EXPECT_EQ(m_log.m_lines.size(), 3u);
    kDialogManager::Close(&a);
}

TEST_F(DialogManagerTest, LaterInitKeepsTheOpenDialogs) {
    kDialog a("A", "", 1);
    kDialogManager::Open(&a);
    kDialogManager::Init(nullptr, nullptr, nullptr);
    EXPECT_TRUE(kDialogManager::IsOpen(&a));
    kDialogManager::Close(&a);
}

TEST_F(DialogManagerTest, ASlotMayCloseTheDialogBeingOpened) {
    struct Closer : kHasSlots<> {
        void Opened(kDialog* dialog) { kDialogManager::Close(dialog); }
    } closer;
    kDialogManager::DialogOpenSignal.Connect(&closer, &Closer::Opened);
    kDialog a("A", "", 1);
    kDialogManager::Open(&a);
    EXPECT_FALSE(kDialogManager::IsOpen());
    EXPECT_EQ(m_log.m_lines, (std::vector<std::string>{"open A active A", "close A active none"}));
}

} // namespace
