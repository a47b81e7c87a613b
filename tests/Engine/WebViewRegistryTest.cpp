#include "Engine/WebViewRegistry.h"

#include "Fakes/FakeProcessMemory.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using testing::FakeProcessMemory;
using testing::FakeView;

class WebViewRegistryTest : public ::testing::Test {
protected:
    // Registers a new view on the given process under a new tab; the fixture keeps it alive.
    std::shared_ptr<FakeView> show(
        const Uuid& workspaceID, std::optional<std::int32_t> pid, Uuid tabID = Uuid::random())
    {
        auto view = std::make_shared<FakeView>(pid);
        views.push_back(view);
        registry.registerView(view, tabID, workspaceID);
        return view;
    }

    FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
    std::vector<std::shared_ptr<FakeView>> views;
    Uuid workspaceA = Uuid::random();
    Uuid workspaceB = Uuid::random();
};

TEST_F(WebViewRegistryTest, TwoTabsOnOneProcessCountItOnce)
{
    memory.footprints = { { 100, 100.0 } };
    show(workspaceA, 100);
    show(workspaceA, 100);
    auto measurement = registry.measure();
    EXPECT_EQ(measurement.perWorkspace, (std::map<Uuid, double>{ { workspaceA, 100.0 } }));
    EXPECT_EQ(measurement.totalMB, 100.0);
}

TEST_F(WebViewRegistryTest, ProcessSharedByTwoWorkspacesCountsInBothButOnceInTheTotal)
{
    memory.footprints = { { 100, 100.0 }, { 200, 30.5 } };
    show(workspaceA, 100);
    show(workspaceB, 100);
    show(workspaceB, 200);
    auto measurement = registry.measure();
    EXPECT_EQ(
        measurement.perWorkspace, (std::map<Uuid, double>{ { workspaceA, 100.0 }, { workspaceB, 130.5 } }));
    EXPECT_EQ(measurement.totalMB, 130.5);
    // Every process is asked once per measurement, however many workspaces and tabs share it.
    EXPECT_EQ(memory.reads, (std::map<std::int32_t, int>{ { 100, 1 }, { 200, 1 } }));
}

TEST_F(WebViewRegistryTest, DestroyedViewIsPrunedAndItsWorkspaceDisappears)
{
    memory.footprints = { { 100, 100.0 }, { 200, 50.0 } };
    show(workspaceA, 100);
    {
        auto gone = std::make_shared<FakeView>(200);
        registry.registerView(gone, Uuid::random(), workspaceB);
    }
    EXPECT_EQ(registry.size(), 2u);
    auto measurement = registry.measure();
    EXPECT_EQ(registry.size(), 1u);
    EXPECT_FALSE(measurement.perWorkspace.contains(workspaceB));
    EXPECT_EQ(measurement.totalMB, 100.0);
    EXPECT_FALSE(memory.reads.contains(200));
}

TEST_F(WebViewRegistryTest, ViewsWithoutAUsableProcessIdAreSkippedButKept)
{
    memory.footprints = { { 0, 999.0 }, { -7, 999.0 } };
    show(workspaceA, 0);
    show(workspaceA, -7);
    auto unknown = show(workspaceB, std::nullopt);
    auto measurement = registry.measure();
    EXPECT_TRUE(measurement.perWorkspace.empty());
    EXPECT_EQ(measurement.totalMB, 0.0);
    EXPECT_TRUE(memory.reads.empty());
    EXPECT_EQ(registry.size(), 3u);

    // Once the process has reported its id, the same entry is measured.
    memory.footprints[4321] = 12.0;
    unknown->pid = 4321;
    EXPECT_EQ(registry.memoryMB(workspaceB), 12.0);
}

TEST_F(WebViewRegistryTest, UnreadableProcessGivesAZeroFigureAndNoMemoryMB)
{
    memory.footprints = { { 100, 100.0 } };
    show(workspaceA, 100);
    show(workspaceB, 404);
    auto measurement = registry.measure();
    EXPECT_EQ(measurement.perWorkspace.at(workspaceB), 0.0);
    EXPECT_EQ(measurement.totalMB, 100.0);
    EXPECT_FALSE(registry.memoryMB(workspaceB));
    EXPECT_EQ(registry.memoryMB(workspaceA), 100.0);
    EXPECT_FALSE(registry.memoryMB(Uuid::random()));
}

TEST_F(WebViewRegistryTest, RegisteringATabAgainKeepsOnlyTheSecondViewAndWorkspace)
{
    memory.footprints = { { 100, 100.0 }, { 200, 20.0 } };
    auto tab = Uuid::random();
    // The first view stays alive in the fixture, so only the replacement can drop it.
    show(workspaceA, 100, tab);
    show(workspaceB, 200, tab);
    EXPECT_EQ(registry.size(), 1u);
    EXPECT_EQ(registry.measure().perWorkspace, (std::map<Uuid, double>{ { workspaceB, 20.0 } }));
}

TEST_F(WebViewRegistryTest, UnregisteredTabIsNoLongerMeasured)
{
    memory.footprints = { { 100, 100.0 }, { 200, 20.0 } };
    auto tab = Uuid::random();
    show(workspaceA, 100, tab);
    show(workspaceA, 200);
    registry.unregisterView(tab);
    registry.unregisterView(Uuid::random());
    auto measurement = registry.measure();
    EXPECT_EQ(measurement.perWorkspace, (std::map<Uuid, double>{ { workspaceA, 20.0 } }));
    EXPECT_EQ(measurement.totalMB, 20.0);
}

TEST_F(WebViewRegistryTest, NothingIsCachedBetweenMeasurements)
{
    memory.footprints = { { 100, 100.0 } };
    show(workspaceA, 100);
    EXPECT_EQ(registry.measure().totalMB, 100.0);
    memory.footprints[100] = 250.0;
    EXPECT_EQ(registry.measure().totalMB, 250.0);
    memory.footprints.clear();
    auto measurement = registry.measure();
    EXPECT_EQ(measurement.totalMB, 0.0);
    EXPECT_EQ(measurement.perWorkspace.at(workspaceA), 0.0);
}

} // namespace
} // namespace cohortex
