#include "Platform/Linux/X11HotKeys.h"

#include "MainLoopWait.h"
#include "RunProgram.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

// Last: Xlib's macros (None, Bool, Status, ...) would break headers included after them.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace cohortex {
namespace {

constexpr Shortcut ctrlAltS{ 1, Shortcut::control | Shortcut::option };

// Against a real X server (ctest runs this binary under xvfb-run), typed by xdotool through XTest.
class X11HotKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || !hasProgram("xdotool"))
            GTEST_SKIP() << "needs an X display (xvfb-run) and xdotool";
        keys = X11HotKeys::open();
        ASSERT_TRUE(keys);
        keys->setReleaseHandler([this](const Shortcut& shortcut) { released.push_back(shortcut); });
    }

    static void type(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "xdotool");
        ASSERT_TRUE(runProgram(arguments).succeeded);
    }

    std::unique_ptr<X11HotKeys> keys;
    std::vector<Shortcut> released;
};

TEST_F(X11HotKeysTest, FiresOnceOnReleaseHoweverLongHeldAndWhateverTheLockKeys)
{
    ASSERT_TRUE(keys->registerHotKey("toggleApp", ctrlAltS));
    type({ "keydown", "ctrl+alt+s" });
    runFor(1.0);
    EXPECT_TRUE(released.empty()) << "Fired on the press, or on an auto-repeat";
    type({ "keyup", "s" });
    type({ "keyup", "ctrl+alt" });
    ASSERT_TRUE(runUntil([&] { return !released.empty(); }, 2));
    runFor(0.3);
    EXPECT_EQ(released, std::vector{ ctrlAltS });

    type({ "key", "Num_Lock" });
    type({ "key", "ctrl+alt+s" });
    bool firedWithNumLock = runUntil([&] { return released.size() == 2; }, 2);
    type({ "key", "Num_Lock" });
    EXPECT_TRUE(firedWithNumLock);
}

} // namespace
} // namespace cohortex
