#include "Services/SessionManagerFixture.h"

#include <algorithm>

namespace cohortex {
namespace {

using KeyMods = std::uint8_t;
constexpr KeyMods ctrl = KeyPress::Control;

class SessionManagerLifecycleTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        manager->showMainWindow();
        log.clear();
    }

    double counted(const Uuid& id) const
    {
        return timeTracker.ledger().get().seconds(id, queue.now(), *Calendar::inTimeZone("Europe/Berlin"));
    }
    long cookieSaves() const { return std::ranges::count(log.calls, "stores.saveSessionCookies 3"); }
};

TEST_F(SessionManagerLifecycleTest, TheTickRunsEveryFiveSecondsAndTheSweepEveryThirty)
{
    queue.advance(4.9);
    EXPECT_EQ(counted(mail.id), 0);
    queue.advance(0.1);
    EXPECT_EQ(counted(mail.id), 5);
    EXPECT_EQ(cookieSaves(), 0);

    queue.advance(25);
    EXPECT_EQ(counted(mail.id), 30);
    EXPECT_EQ(cookieSaves(), 1);
    EXPECT_EQ(runtime.lastActive(mail.id), queue.now());
    queue.advance(30);
    EXPECT_EQ(counted(mail.id), 60);
    EXPECT_EQ(cookieSaves(), 2);
}

TEST_F(SessionManagerLifecycleTest, NothingRunsOnceTheManagerIsGone)
{
    queue.advance(12);
    manager.reset();
    runtime.load(chat, queue.now());
    queue.advance(120);
    EXPECT_EQ(counted(mail.id), 10);
    EXPECT_EQ(cookieSaves(), 0);
    EXPECT_TRUE(runtime.isDirty());
    EXPECT_EQ(queue.pendingCount(), 0u);
    window.key = true;
    EXPECT_FALSE(window.press({ "t", ctrl }));
}

struct KeyCase {
    const char* name;
    KeyPress key;
    std::size_t tabsBefore;
    bool windowIsKey;
    bool switcherOpen;
    bool consumed;
    std::size_t tabsAfter;
};

class SessionManagerKeyTest : public SessionManagerLifecycleTest,
                              public ::testing::WithParamInterface<KeyCase> { };

TEST_P(SessionManagerKeyTest, HandlesOnlyItsOwnShortcutsInTheMainWindow)
{
    const auto& param = GetParam();
    while (runtime.tabs(mail.id).size() < param.tabsBefore)
        runtime.newTab(mail.id, *Url::parse("https://other.example.com/"));
    window.key = param.windowIsKey;
    manager->setShowingQuickSwitcher(param.switcherOpen);

    EXPECT_EQ(window.press(param.key), param.consumed);
    EXPECT_EQ(runtime.tabs(mail.id).size(), param.tabsAfter);
    if (param.tabsAfter > param.tabsBefore) {
        EXPECT_EQ(runtime.activeTab(mail.id)->url, mail.initialURL);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, SessionManagerKeyTest,
    ::testing::Values(KeyCase{ "CtrlTOpensATabOnTheInitialSite", { "t", ctrl }, 1, true, false, true, 2 },
        KeyCase{ "CtrlWClosesTheActiveOfTwoTabs", { "w", ctrl }, 2, true, false, true, 1 },
        KeyCase{ "CtrlWWithOneTabFallsThroughToHideTheWindow", { "w", ctrl }, 1, true, false, false, 1 },
        KeyCase{ "CtrlShiftTIsPassedOn", { "t", ctrl | KeyPress::Shift }, 1, true, false, false, 1 },
        KeyCase{
            "CtrlTWithCapsLockIsPassedOn", { "t", ctrl | KeyPress::CapsLock }, 1, true, false, false, 1 },
        KeyCase{ "CtrlAltTIsPassedOn", { "t", ctrl | KeyPress::Alt }, 1, true, false, false, 1 },
        KeyCase{ "SuperTIsPassedOn", { "t", KeyPress::Super }, 1, true, false, false, 1 },
        KeyCase{ "PlainTIsTyping", { "t", 0 }, 1, true, false, false, 1 },
        KeyCase{ "OtherCtrlKeysArePassedOn", { "l", ctrl }, 2, true, false, false, 2 },
        KeyCase{ "CtrlTWithTheSwitcherOpenIsTheSwitchers", { "t", ctrl }, 1, true, true, false, 1 },
        KeyCase{ "CtrlWWhileAnotherWindowIsKeyIsThatWindows", { "w", ctrl }, 2, false, false, false, 2 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionManagerLifecycleTest, LosingTheFocusWritesOpenTabsAndSavesLoginsSoonAfter)
{
    runtime.load(chat, queue.now());
    window.deactivate();
    EXPECT_TRUE(runtime.isDirty());
    EXPECT_EQ(cookieSaves(), 0);
    queue.runPending();
    EXPECT_FALSE(runtime.isDirty());
    EXPECT_EQ(cookieSaves(), 1);
}

TEST_F(SessionManagerLifecycleTest, FocusLostJustBeforeTheManagerGoesDoesNothing)
{
    runtime.load(chat, queue.now());
    window.deactivate();
    manager.reset();
    queue.runPending();
    EXPECT_TRUE(runtime.isDirty());
    EXPECT_EQ(cookieSaves(), 0);
    EXPECT_FALSE(window.deactivationObserver);
}

} // namespace
} // namespace cohortex
