#include "KeyboardShortcuts/ShortcutStore.h"

#include "Fakes/FakeHotKeys.h"
#include "Fakes/MemoryDefaults.h"
#include "KeyboardShortcuts/KeyTable.h"
#include "KeyboardShortcuts/RecorderField.h"
#include "KeyboardShortcuts/RecorderRules.h"
#include "Services/StoredKeys.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace cohortex {
namespace {

constexpr Shortcut ctrlAltS{ 1, Shortcut::control | Shortcut::option };
constexpr Shortcut ctrlAltX{ 7, Shortcut::control | Shortcut::option };

class ShortcutStoreTest : public ::testing::Test {
protected:
    // A launch: the store made afresh over what is stored, with a handler counting its name's releases.
    void launch()
    {
        store.reset();
        store = std::make_unique<ShortcutStore>(defaults, hotKeys);
        store->addName("toggleApp", ctrlAltS);
        store->addName("custom", std::nullopt);
        for (const auto* name : { "toggleApp", "custom" })
            store->onKeyUp(name, [this, name] { ++fired[name]; });
    }
    std::optional<std::string> stored(const std::string& name) const
    {
        return defaults.string(std::string(keys::keyboardShortcutPrefix) + name);
    }

    MemoryDefaults defaults;
    FakeHotKeys hotKeys;
    std::unique_ptr<ShortcutStore> store;
    std::map<std::string, int> fired;
};

TEST_F(ShortcutStoreTest, TheDefaultIsStoredOnceAndAUsersChangeSurvivesRelaunch)
{
    launch();
    EXPECT_EQ(stored("toggleApp"), R"({"carbonKeyCode":1,"carbonModifiers":6144})");
    ASSERT_TRUE(store->setShortcut("toggleApp", ctrlAltX));
    launch();
    EXPECT_EQ(store->shortcut("toggleApp"), ctrlAltX);
    EXPECT_EQ(hotKeys.grabs, (std::map<Shortcut, int>{ { ctrlAltX, 1 } }));
}

TEST_F(ShortcutStoreTest, AClearedDefaultStaysClearedAndInactiveAfterRelaunch)
{
    launch();
    ASSERT_TRUE(store->setShortcut("toggleApp", std::nullopt));
    EXPECT_TRUE(hotKeys.grabs.empty());
    launch();
    EXPECT_FALSE(store->shortcut("toggleApp"));
    EXPECT_FALSE(store->isActive("toggleApp"));
    // A name without a default is cleared by removing its key.
    ASSERT_TRUE(store->setShortcut("custom", ctrlAltX));
    ASSERT_TRUE(store->setShortcut("custom", std::nullopt));
    EXPECT_FALSE(defaults.contains(std::string(keys::keyboardShortcutPrefix) + "custom"));
}

TEST_F(ShortcutStoreTest, ARecordedChangeTakesEffectAtOnceAndSharedCombinationsFireBoth)
{
    launch();
    store->setShortcut("toggleApp", ctrlAltX);
    hotKeys.release(ctrlAltS);
    EXPECT_EQ(fired["toggleApp"], 0) << "The old combination still fired";
    store->setShortcut("custom", ctrlAltX);
    hotKeys.release(ctrlAltX);
    EXPECT_EQ(fired["toggleApp"], 1);
    EXPECT_EQ(fired["custom"], 1);
}

TEST_F(ShortcutStoreTest, WhatDoesNotDecodeIsNoShortcutAndIsLeftAlone)
{
    defaults.setString(
        std::string(keys::keyboardShortcutPrefix) + "toggleApp", "{\"carbonKeyCode\":\"one\"}");
    launch();
    EXPECT_FALSE(store->shortcut("toggleApp"));
    EXPECT_EQ(stored("toggleApp"), "{\"carbonKeyCode\":\"one\"}");
}

using Outcome = RecorderDecision::Outcome;
constexpr std::uint32_t ctrl = KeyTable::controlMask;
constexpr std::uint32_t alt = KeyTable::altMask;
constexpr std::uint32_t shift = KeyTable::shiftMask;

TEST(RecorderRulesTest, DecidesWhatAKeyDoesWhileRecording)
{
    std::vector<CommandKey> commands{ { *parseAccelerator("<Control>t"), "New Tab" },
        { *parseAccelerator("<Control><Shift>n"), "New Workspace" } };
    std::set<Shortcut> reserved{ { 21, Shortcut::control | Shortcut::option } };
    struct Case {
        const char* name;
        std::uint32_t keysym, state;
        Outcome outcome;
        std::string conflict{};
    };
    // clang-format off
    for (const auto& c : { Case{ "Tab moves on", 0xff09, 0, Outcome::PassOn }, Case{ "Escape cancels", 0xff1b, 0, Outcome::Cancel },
             Case{ "Backspace clears", 0xff08, 0, Outcome::Clear },
             Case{ "Shift+A is rejected", 'A', shift, Outcome::Beep }, Case{ "plain K is rejected", 'k', 0, Outcome::Beep },
             Case{ "F5 alone is recorded", 0xffc2, 0, Outcome::Record }, Case{ "Ctrl+Alt+S is recorded", 's', ctrl | alt, Outcome::Record },
             Case{ "a window key names its command", 't', ctrl, Outcome::UsedByCommand, "New Tab" },
             Case{ "shifted letter of a window key", 'N', ctrl | shift, Outcome::UsedByCommand, "New Workspace" },
             Case{ "the desktop's own is refused", '4', ctrl | alt, Outcome::ReservedBySystem } }) {
        // clang-format on
        SCOPED_TRACE(c.name);
        auto decision = decideRecording(c.keysym, c.state, commands, reserved);
        EXPECT_EQ(decision.outcome, c.outcome);
        EXPECT_EQ(decision.conflict, c.conflict);
        EXPECT_EQ(decision.shortcut.has_value(), c.outcome == Outcome::Record);
    }
}

TEST(KeyTableTest, ReadsAsThisDesktopWritesItAndParsesBack)
{
    // clang-format off
    for (auto [shortcut, display, accelerator] : { std::tuple<Shortcut, const char*, const char*>{
             { 1, Shortcut::control | Shortcut::option }, "Ctrl+Alt+S", "<Control><Alt>s" },
             { { 96, Shortcut::shift }, "Shift+F5", "<Shift>F5" }, { { 43, Shortcut::control }, "Ctrl+,", "<Control>comma" } }) {
        // clang-format on
        EXPECT_EQ(KeyTable::displayName(shortcut), display);
        EXPECT_EQ(KeyTable::accelerator(shortcut), accelerator);
        EXPECT_EQ(parseAccelerator(accelerator), shortcut);
        EXPECT_EQ(Shortcut::decode(shortcut.encoded()), shortcut);
    }
}

constexpr Shortcut ctrlQ{ 12, Shortcut::control };
constexpr Shortcut superL{ 37, Shortcut::command };

constexpr std::uint32_t keyQ = 0x71, keyF5 = 0xffc2, escape = 0xff1b, tab = 0xff09;

class RecorderFieldTest : public ::testing::Test {
protected:
    RecorderFieldTest()
    {
        store.addName("toggleApp", ctrlAltS);
        store.onKeyUp("toggleApp", [] {});
    }

    MemoryDefaults defaults;
    FakeHotKeys hotKeys;
    ShortcutStore store{ defaults, hotKeys };
    RecorderField field{ store, "toggleApp", { { ctrlQ, "Quit" } }, { superL } };
};

TEST_F(RecorderFieldTest, RejectedKeysKeepTheOldCombinationAndTheFieldRecording)
{
    field.startRecording();
    EXPECT_EQ(field.text(), RecorderField::recordingText);
    EXPECT_FALSE(field.keyPressed(0xffe3, 0).beep) << "Pressing Control on the way to a combination beeped";
    auto quit = field.keyPressed(keyQ, KeyTable::controlMask);
    ASSERT_TRUE(quit.alert);
    EXPECT_NE(quit.alert->message.find("“Quit”"), std::string::npos) << quit.alert->message;
    EXPECT_FALSE(field.keyPressed(tab, 0).handled) << "Tab must still move the focus";
    EXPECT_TRUE(field.isRecording());
    EXPECT_EQ(store.shortcut("toggleApp"), ctrlAltS);

    field.keyPressed(escape, 0);
    EXPECT_FALSE(field.isRecording());
    EXPECT_EQ(field.text(), "Ctrl+Alt+S");
}

TEST_F(RecorderFieldTest, AnAcceptedKeyIsStoredGrabbedAndShown)
{
    field.startRecording();
    field.keyPressed(keyF5, 0);
    EXPECT_FALSE(field.isRecording());
    EXPECT_EQ(field.text(), "F5");
    EXPECT_EQ(hotKeys.grabs.count(Shortcut{ 96, 0 }), 1u);
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

} // namespace
} // namespace cohortex
