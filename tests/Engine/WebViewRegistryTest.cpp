#include "Engine/WebViewRegistry.h"

#include "Fakes/FakeProcessMemory.h"
#include "Support/ManualMainQueue.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using Figures = std::map<Uuid, double>;

class WebViewRegistryTest : public ::testing::Test {
protected:
    std::shared_ptr<testing::FakeView> show(
        const Uuid& workspaceID, std::optional<std::int32_t> pid, Uuid tabID = Uuid::random())
    {
        views.push_back(std::make_shared<testing::FakeView>(pid));
        registry.registerView(views.back(), tabID, workspaceID);
        return views.back();
    }

    testing::FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
    std::vector<std::shared_ptr<testing::FakeView>> views;
    Uuid a = Uuid::random();
    Uuid b = Uuid::random();
};

// A destroyed view is pruned with its workspace; an unreadable process counts as zero but has no figure.
TEST_F(WebViewRegistryTest, AProcessCountsOncePerWorkspaceAndOnceInTheTotalAndGoneViewsArePruned)
{
    memory.footprints = { { 100, 100.0 }, { 200, 30.5 }, { 300, 50.0 } };
    show(a, 100);
    show(a, 100);
    show(b, 100);
    show(b, 200);
    auto unreadable = Uuid::random();
    show(unreadable, 404);
    registry.registerView(std::make_shared<testing::FakeView>(300), Uuid::random(), Uuid::random());
    auto measurement = registry.measure();
    EXPECT_EQ(measurement.perWorkspace, (Figures{ { a, 100.0 }, { b, 130.5 }, { unreadable, 0.0 } }));
    EXPECT_EQ(measurement.totalMB, 130.5);
    EXPECT_EQ(memory.reads, (std::map<std::int32_t, int>{ { 100, 1 }, { 200, 1 }, { 404, 1 } }));
    EXPECT_EQ(registry.size(), 5u);
    EXPECT_FALSE(registry.memoryMB(unreadable));
}

// The figures arrive on the queue; a registry gone by the time a worker would start reads nothing and
// answers nothing, so no worker reaches what the application has already torn down.
TEST(WebViewRegistryOffMainThreadTest, FiguresComeBackOnTheQueueAndNothingIsReadForAGoneRegistry)
{
    ManualMainQueue queue;
    testing::FakeProcessMemory memory;
    memory.footprints = { { 100, 40.0 } };
    memory.own = 12;
    auto view = std::make_shared<testing::FakeView>(100);
    auto workspace = Uuid::random();
    std::optional<MemoryMeasurement> answered;
    {
        WebViewRegistry registry(memory);
        registry.registerView(view, Uuid::random(), workspace);
        registry.measureOffMainThread(queue, [&](MemoryMeasurement figures) { answered = figures; });
        EXPECT_FALSE(answered) << "answered inside the call";
        queue.runPending();
        ASSERT_TRUE(answered);
        EXPECT_EQ(answered->perWorkspace, (Figures{ { workspace, 40.0 } }));
        EXPECT_EQ(answered->applicationMB, 12.0);
        answered.reset();
        registry.measureOffMainThread(queue, [&](MemoryMeasurement figures) { answered = figures; });
    }
    queue.runPending();
    EXPECT_FALSE(answered);
    EXPECT_EQ(memory.reads[100], 1);
}

} // namespace
} // namespace cohortex
