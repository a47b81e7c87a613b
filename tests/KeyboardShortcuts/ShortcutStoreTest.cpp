#include "KeyboardShortcuts/ShortcutStore.h"

#include "Fakes/FakeHotKeys.h"
#include "Fakes/MemoryDefaults.h"
#include "KeyboardShortcuts/GlobalShortcuts.h"
#include "Services/CommandLine.h"
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

TEST_F(ShortcutStoreTest, ACombinationHeldElsewhereIsInactiveButKept)
{
    hotKeys.heldElsewhere.insert(ctrlAltS);
    launch();
    EXPECT_FALSE(store->isActive("toggleApp"));
    EXPECT_EQ(store->shortcut("toggleApp"), ctrlAltS);
}

TEST_F(ShortcutStoreTest, WhatDoesNotDecodeIsNoShortcutAndIsLeftAlone)
{
    defaults.setString(
        std::string(keys::keyboardShortcutPrefix) + "toggleApp", "{\"carbonKeyCode\":\"one\"}");
    launch();
    EXPECT_FALSE(store->shortcut("toggleApp"));
    EXPECT_EQ(stored("toggleApp"), "{\"carbonKeyCode\":\"one\"}");
}

TEST(GlobalShortcutsTest, EachCommandLineRunsWhatItsShortcutRuns)
{
    for (const auto& shortcut : globalShortcuts) {
        auto arguments = std::vector<std::string>{};
        std::string line(shortcut.commandLine.substr(std::string_view("cohortex ").size()));
        for (auto space = line.find(' '); !line.empty(); space = line.find(' ')) {
            arguments.push_back(line.substr(0, space));
            line = space == std::string::npos ? "" : line.substr(space + 1);
        }
        auto parsed = parseCommandLine(arguments, "/");
        ASSERT_TRUE(parsed) << shortcut.commandLine;
        EXPECT_EQ(parsed->commandName, shortcut.command) << shortcut.commandLine;
        EXPECT_EQ(parsed->commandArgument, shortcut.argument) << shortcut.commandLine;
    }
}

TEST(GlobalShortcutsTest, TheWorkspaceShortcutsAreCtrlAltAndTheirDigit)
{
    // The digit keys' codes are not in order; a slip would send Ctrl+Alt+5 to workspace 6.
    const std::int64_t digitCodes[] = { 18, 19, 20, 21, 23, 22, 26, 28, 25 };
    for (int index = 1; index <= 9; ++index) {
        const auto& shortcut = globalShortcuts[static_cast<std::size_t>(2 + index)];
        EXPECT_EQ(shortcut.argument, index);
        EXPECT_EQ(shortcut.defaultShortcut, controlOption(digitCodes[index - 1])) << shortcut.name;
    }
}

} // namespace
} // namespace cohortex
