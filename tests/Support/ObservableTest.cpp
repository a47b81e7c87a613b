#include "Support/Observable.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace cohortex {
namespace {

// Records what it was told, and can be destroyed by another subscriber in the middle of an emission.
class Recorder : public sigc::trackable {
public:
    void record(const std::vector<int>& value) { seen.push_back(value); }
    std::vector<std::vector<int>> seen;
};

TEST(ObservableTest, EveryAssignmentPublishesEvenAnEqualValue)
{
    Observable<std::string> title(std::string("Mail"));
    std::vector<std::string> seen;
    ScopedConnection connection
        = title.changed().connect([&](const std::string& value) { seen.push_back(value); });

    title.set("Mail");
    title.set("Chat");
    title.set("Chat");

    EXPECT_EQ(seen, (std::vector<std::string>{ "Mail", "Chat", "Chat" }));
    EXPECT_EQ(*title, "Chat");
}

TEST(ObservableTest, ModifyChangesInPlaceAndPublishesOnce)
{
    Observable<std::vector<int>> list(std::vector<int>{ 1, 2 });
    std::vector<std::vector<int>> seen;
    ScopedConnection connection
        = list.changed().connect([&](const std::vector<int>& value) { seen.push_back(value); });

    list.modify([](std::vector<int>& value) {
        value.push_back(3);
        value.erase(value.begin());
    });

    EXPECT_EQ(seen, (std::vector<std::vector<int>>{ { 2, 3 } }));
    EXPECT_EQ(list->size(), 2u);
}

TEST(ObservableTest, ScopedConnectionStopsNotificationsWhenItGoesAway)
{
    Observable<int> count;
    int calls = 0;
    {
        ScopedConnection connection = count.changed().connect([&](int) { ++calls; });
        count.set(1);
    }
    count.set(2);

    EXPECT_EQ(calls, 1);
}

TEST(ObservableTest, SubscriberMayDisconnectItselfDuringEmission)
{
    Observable<int> count;
    std::vector<std::string> calls;
    ScopedConnection once;
    once = count.changed().connect([&](int) {
        calls.push_back("once");
        once.disconnect();
    });
    ScopedConnection always = count.changed().connect([&](int) { calls.push_back("always"); });

    count.set(1);
    count.set(2);

    EXPECT_EQ(calls, (std::vector<std::string>{ "once", "always", "always" }));
}

TEST(ObservableTest, SubscriberDestroyedByAnEarlierOneIsNotCalled)
{
    Observable<std::vector<int>> list;
    auto victim = std::make_unique<Recorder>();
    ScopedConnection killer = list.changed().connect([&](const std::vector<int>&) { victim.reset(); });
    list.changed().connect(sigc::mem_fun(*victim, &Recorder::record));
    Recorder survivor;
    list.changed().connect(sigc::mem_fun(survivor, &Recorder::record));

    list.set({ 7 });
    list.set({ 8 });

    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(survivor.seen, (std::vector<std::vector<int>>{ { 7 }, { 8 } }));
}

TEST(ObservableTest, HandlerThatAssignsAgainLetsLaterHandlersSeeTheNewestValue)
{
    Observable<int> level;
    ScopedConnection clamp = level.changed().connect([&](int value) {
        if (value > 10)
            level.set(10);
    });
    std::vector<int> seen;
    ScopedConnection watcher = level.changed().connect([&](int value) { seen.push_back(value); });

    level.set(42);

    // The nested emission reports 10 first; the outer one, resuming, passes the same current value.
    EXPECT_EQ(seen, (std::vector<int>{ 10, 10 }));
    EXPECT_EQ(level.get(), 10);
}

} // namespace
} // namespace cohortex
