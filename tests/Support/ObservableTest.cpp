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

TEST(ObservableTest, EveryAssignmentPublishesEvenAnEqualValueAndModifyPublishesOnce)
{
    Observable<std::vector<int>> list(std::vector<int>{ 1 });
    std::vector<std::vector<int>> seen;
    ScopedConnection connection
        = list.changed().connect([&](const std::vector<int>& value) { seen.push_back(value); });

    list.set({ 1 });
    list.modify([](std::vector<int>& value) {
        value.push_back(3);
        value.erase(value.begin());
    });
    list.set({ 3 });

    EXPECT_EQ(seen, (std::vector<std::vector<int>>{ { 1 }, { 3 }, { 3 } }));
    EXPECT_EQ(*list, std::vector<int>{ 3 });
}

TEST(ObservableTest, SubscriberDestroyedOrDisconnectedByAnEarlierOneIsNotCalled)
{
    Observable<std::vector<int>> list;
    auto victim = std::make_unique<Recorder>();
    int killerCalls = 0;
    ScopedConnection killer;
    killer = list.changed().connect([&](const std::vector<int>&) {
        ++killerCalls;
        victim.reset();
        killer.disconnect();
    });
    list.changed().connect(sigc::mem_fun(*victim, &Recorder::record));
    Recorder survivor;
    list.changed().connect(sigc::mem_fun(survivor, &Recorder::record));

    list.set({ 7 });
    list.set({ 8 });

    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(killerCalls, 1);
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
