#include "KeyboardShortcuts/RecorderField.h"

#include "Fakes/FakeHotKeys.h"
#include "Fakes/MemoryDefaults.h"
#include "KeyboardShortcuts/KeyTable.h"
#include "KeyboardShortcuts/ShortcutStore.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr Shortcut ctrlAltS{ 1, Shortcut::control | Shortcut::option };
constexpr Shortcut ctrlQ{ 12, Shortcut::control };
constexpr Shortcut superL{ 37, Shortcut::command };

constexpr std::uint32_t keyQ = 0x71, keyL = 0x6c, keyF5 = 0xffc2, escape = 0xff1b, backspace = 0xff08,
                        tab = 0xff09;

class RecorderFieldTest : public ::testing::Test {
protected:
    RecorderFieldTest()
    {
        store.addName("toggleApp", ctrlAltS);
        store.onKeyUp("toggleApp", [] {});
        field.changed().connect([this] { ++changes; });
    }

    MemoryDefaults defaults;
    FakeHotKeys hotKeys;
    ShortcutStore store{ defaults, hotKeys };
    RecorderField field{ store, "toggleApp", { { ctrlQ, "Quit" } }, { superL } };
    int changes{ 0 };
};

TEST_F(RecorderFieldTest, RejectedKeysKeepTheOldCombinationAndTheFieldRecording)
{
    field.startRecording();
    EXPECT_EQ(field.text(), RecorderField::recordingText);
    EXPECT_FALSE(field.keyPressed(0xffe3, 0).beep) << "Pressing Control on the way to a combination beeped";
    auto quit = field.keyPressed(keyQ, KeyTable::controlMask);
    ASSERT_TRUE(quit.alert);
    EXPECT_NE(quit.alert->message.find("“Quit”"), std::string::npos) << quit.alert->message;
    auto reserved = field.keyPressed(keyL, KeyTable::superMask);
    ASSERT_TRUE(reserved.alert);
    EXPECT_EQ(reserved.alert->message, RecorderField::reservedMessage);
    EXPECT_FALSE(field.keyPressed(tab, 0).handled) << "Tab must still move the focus";
    EXPECT_TRUE(field.isRecording());
    EXPECT_EQ(store.shortcut("toggleApp"), ctrlAltS);

    field.keyPressed(escape, 0);
    EXPECT_FALSE(field.isRecording());
    EXPECT_EQ(field.text(), "Ctrl+Alt+S");
}

TEST_F(RecorderFieldTest, AnAcceptedKeyIsStoredListenedForAndShown)
{
    field.startRecording();
    field.keyPressed(keyF5, 0);
    EXPECT_FALSE(field.isRecording());
    EXPECT_EQ(field.text(), "F5");
    EXPECT_EQ(hotKeys.grabs.count(Shortcut{ 96, 0 }), 1u);

    // Backspace while recording and the clear button both clear, and the field says so.
    field.startRecording();
    field.keyPressed(backspace, 0);
    EXPECT_FALSE(store.shortcut("toggleApp"));
    EXPECT_EQ(field.text(), RecorderField::emptyText);
    EXPECT_FALSE(field.canClear());
}

TEST_F(RecorderFieldTest, AChangeThatCannotBeStoredIsReportedAndNotShown)
{
    defaults.setFailWrites(true);
    field.startRecording();
    auto reaction = field.keyPressed(keyF5, 0);
    ASSERT_TRUE(reaction.alert);
    EXPECT_FALSE(field.isRecording());
    EXPECT_EQ(field.text(), "Ctrl+Alt+S");

    EXPECT_TRUE(field.clear().has_value());
    EXPECT_TRUE(field.canClear());
}

TEST_F(RecorderFieldTest, ShowsChangesMadeElsewhereAndCombinationsTheDesktopRefused)
{
    hotKeys.heldElsewhere.insert(Shortcut{ 96, 0 });
    auto before = changes;
    ASSERT_TRUE(store.setShortcut("toggleApp", Shortcut{ 96, 0 }));
    EXPECT_GT(changes, before);
    EXPECT_EQ(field.text(), "F5");
    EXPECT_TRUE(field.isInactive());
    hotKeys.heldElsewhere.clear();
    ASSERT_TRUE(store.setShortcut("toggleApp", ctrlAltS));
    EXPECT_FALSE(field.isInactive());
}

} // namespace
} // namespace cohortex
