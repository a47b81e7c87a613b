#include "Services/ResourceMonitorService.h"

#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/MemoryDefaults.h"
#include "Services/StoredKeys.h"
#include "Support/ManualMainQueue.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace cohortex {
namespace {

using testing::FakeProcessMemory;
using testing::FakeView;

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

class ResourceMonitorServiceTest : public ::testing::Test {
protected:
    std::unique_ptr<ResourceMonitorService> makeService()
    {
        return std::make_unique<ResourceMonitorService>(defaults, registry, memory, queue);
    }

    MemorySavingsStats storedStats() const
    {
        auto stored = defaults.data(keys::stats);
        if (!stored)
            return {};
        return decodeStats(*stored, Date()).value_or(MemorySavingsStats{});
    }

    ManualMainQueue queue;
    MemoryDefaults defaults;
    FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
};

TEST_F(ResourceMonitorServiceTest, EverySwitchCountsTwoClicksAndIsStoredAtOnce)
{
    auto service = makeService();
    EXPECT_EQ(defaults.writeCount(), 0);
    for (int i = 0; i < 3; ++i) {
        queue.advance(10);
        service->recordWorkspaceSwitch();
    }
    MemorySavingsStats expected{ 3, 6, 0, queue.now() };
    EXPECT_EQ(service->stats().get(), expected);
    EXPECT_EQ(storedStats(), expected);
    EXPECT_EQ(defaults.writeCount(), 3);
}

TEST_F(ResourceMonitorServiceTest, HibernationAddsOnlyPositiveAmounts)
{
    auto service = makeService();
    int published = 0;
    ScopedConnection connection = service->stats().changed().connect([&](const auto&) { ++published; });
    for (double nothing : { 0.0, -12.0, std::nan("") })
        service->recordHibernation(nothing);
    EXPECT_EQ(defaults.writeCount(), 0);
    EXPECT_EQ(published, 0);
    EXPECT_EQ(service->stats()->hibernationFreedMB, 0.0);

    queue.advance(60);
    service->recordHibernation(0.5);
    service->recordHibernation(0.25);
    EXPECT_EQ(service->stats()->hibernationFreedMB, 0.75);
    EXPECT_EQ(service->stats()->lastUpdated, queue.now());
    EXPECT_EQ(storedStats().hibernationFreedMB, 0.75);
    EXPECT_EQ(defaults.writeCount(), 2);
}

TEST_F(ResourceMonitorServiceTest, RefreshWithoutViewsShowsTheApplicationAlone)
{
    memory.own = 87.6;
    auto service = makeService();
    service->refreshMemory();
    EXPECT_EQ(service->appMB().get(), 87.6);
    EXPECT_EQ(service->pagesMB().get(), 0.0);
    EXPECT_TRUE(service->perWorkspaceMB()->empty());
    EXPECT_EQ(service->memoryLabel(), "88 MB");
}

TEST_F(ResourceMonitorServiceTest, RefreshReplacesTheWorkspaceMapEntirely)
{
    memory.own = 512;
    memory.footprints = { { 10, 1024 }, { 20, 100 } };
    auto a = Uuid::random();
    auto b = Uuid::random();
    auto viewA = std::make_shared<FakeView>(10);
    auto viewB = std::make_shared<FakeView>(20);
    registry.registerView(viewA, Uuid::random(), a);
    registry.registerView(viewB, Uuid::random(), b);
    auto service = makeService();
    service->refreshMemory();
    EXPECT_EQ(service->perWorkspaceMB().get(), (std::map<Uuid, double>{ { a, 1024.0 }, { b, 100.0 } }));
    EXPECT_EQ(service->totalMB(), 1636.0);
    EXPECT_EQ(service->memoryLabel(), "1.6 GB");

    viewB.reset();
    service->refreshMemory();
    EXPECT_EQ(service->perWorkspaceMB().get(), (std::map<Uuid, double>{ { a, 1024.0 } }));
    EXPECT_EQ(service->pagesMB().get(), 1024.0);
}

TEST_F(ResourceMonitorServiceTest, DetailNamesBothReadingsAndTheSummary)
{
    memory.own = 1536;
    memory.footprints = { { 10, 612.4 } };
    auto view = std::make_shared<FakeView>(10);
    registry.registerView(view, Uuid::random(), Uuid::random());
    auto service = makeService();
    service->recordWorkspaceSwitch();
    service->recordHibernation(2048);
    service->refreshMemory();
    EXPECT_EQ(service->memoryDetail(),
        "App 1.5 GB + web pages 612 MB. You've switched workspaces 1 times, saving about 2 context-switching "
        "clicks. Hibernating idle workspaces has freed 2.0 GB.");
}

TEST_F(ResourceMonitorServiceTest, StoredStatisticWithoutFreedMemoryKeepsItsCounters)
{
    defaults.setData(keys::stats, bytesOf(R"({"totalSwitches":7,"clicksSaved":14,"lastUpdated":5})"));
    auto writes = defaults.writeCount();
    auto service = makeService();
    EXPECT_EQ(service->stats().get(), (MemorySavingsStats{ 7, 14, 0, Date(5) }));
    EXPECT_EQ(defaults.writeCount(), writes);

    service->recordWorkspaceSwitch();
    EXPECT_EQ(storedStats(), (MemorySavingsStats{ 8, 16, 0, queue.now() }));
}

class DamagedStatisticTest : public ResourceMonitorServiceTest,
                             public ::testing::WithParamInterface<const char*> { };

TEST_P(DamagedStatisticTest, StartsAtZeroAndIsLeftAsItIsUntilTheNextChange)
{
    std::string damaged = GetParam();
    defaults.setData(keys::stats, bytesOf(damaged));
    auto writes = defaults.writeCount();
    auto service = makeService();
    EXPECT_EQ(service->stats().get(), (MemorySavingsStats{ 0, 0, 0, queue.now() }));
    service->refreshMemory();
    service->recordHibernation(0);
    EXPECT_EQ(defaults.writeCount(), writes);
    EXPECT_EQ(defaults.data(keys::stats), Bytes(damaged.begin(), damaged.end()));

    queue.advance(1);
    service->recordWorkspaceSwitch();
    EXPECT_EQ(storedStats(), (MemorySavingsStats{ 1, 2, 0, queue.now() }));
}

INSTANTIATE_TEST_SUITE_P(Texts, DamagedStatisticTest,
    ::testing::Values(
        R"({"totalSwitches":"7"})", R"({"totalSwitches":7,"clicksSaved":14)", "[1,2]", "", "\xff\xfe{}"));

TEST_F(ResourceMonitorServiceTest, StatisticStoredAsAnotherKindIsIgnoredAndKept)
{
    defaults.setString(keys::stats, R"({"totalSwitches":7})");
    auto service = makeService();
    EXPECT_EQ(service->stats()->totalSwitches, 0);
    EXPECT_EQ(defaults.string(keys::stats), R"({"totalSwitches":7})");
}

TEST_F(ResourceMonitorServiceTest, FailedSaveKeepsTheCountAndTheNextSaveStoresIt)
{
    auto service = makeService();
    defaults.setFailWrites(true);
    service->recordWorkspaceSwitch();
    EXPECT_FALSE(defaults.contains(keys::stats));
    defaults.setFailWrites(false);
    service->recordWorkspaceSwitch();
    EXPECT_EQ(storedStats().totalSwitches, 2);
}

TEST_F(ResourceMonitorServiceTest, CountsStopAtTheLargestStorableNumber)
{
    constexpr auto maximum = std::numeric_limits<std::int64_t>::max();
    defaults.setData(
        keys::stats, bytesOf(encodeStats(MemorySavingsStats{ maximum, maximum - 1, 0, Date(1) })));
    auto service = makeService();
    service->recordWorkspaceSwitch();
    EXPECT_EQ(service->stats()->totalSwitches, maximum);
    EXPECT_EQ(service->stats()->clicksSaved, maximum);
    EXPECT_EQ(storedStats().clicksSaved, maximum);
}

TEST_F(ResourceMonitorServiceTest, InfiniteFreedMemoryIsNotSavedOverTheStoredTotal)
{
    auto service = makeService();
    service->recordHibernation(100);
    auto writes = defaults.writeCount();
    service->recordHibernation(std::numeric_limits<double>::infinity());
    EXPECT_EQ(defaults.writeCount(), writes);
    EXPECT_EQ(storedStats().hibernationFreedMB, 100.0);
}

} // namespace
} // namespace cohortex
