#include "Services/ResourceMonitorService.h"

#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/MemoryDefaults.h"
#include "Services/StoredKeys.h"
#include "Support/ManualMainQueue.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

class ResourceMonitorServiceTest : public ::testing::Test {
protected:
    void store(std::string_view text)
    {
        defaults.setData(
            keys::stats, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    Expected<MemorySavingsStats> stored() const { return decodeStats(*defaults.data(keys::stats), Date()); }
    ResourceMonitorService& service()
    {
        if (!m_service)
            m_service = std::make_unique<ResourceMonitorService>(defaults, registry, queue);
        return *m_service;
    }

    ManualMainQueue queue;
    MemoryDefaults defaults;
    testing::FakeProcessMemory memory;
    WebViewRegistry registry{ memory };

private:
    std::unique_ptr<ResourceMonitorService> m_service;
};

TEST_F(ResourceMonitorServiceTest, EverySwitchCountsTwoClicksAndIsStoredAtOnce)
{
    service().recordWorkspaceSwitch();
    queue.advance(10);
    service().recordWorkspaceSwitch();
    EXPECT_EQ(stored(), (MemorySavingsStats{ 2, 4, 0, queue.now() }));
}

TEST_F(ResourceMonitorServiceTest, RefreshReplacesTheReadingsAndWithoutViewsShowsTheAppAlone)
{
    memory.own = 512;
    memory.footprints = { { 10, 1024 } };
    auto workspace = Uuid::random();
    auto view = std::make_shared<testing::FakeView>(10);
    registry.registerView(view, Uuid::random(), workspace);
    service().refreshMemory();
    queue.runPending();
    EXPECT_EQ(service().perWorkspaceMB().get(), (std::map<Uuid, double>{ { workspace, 1024.0 } }));
    EXPECT_EQ(service().memoryLabel(), "1.5 GB");

    view.reset();
    service().refreshMemory();
    queue.runPending();
    EXPECT_TRUE(service().perWorkspaceMB()->empty());
    EXPECT_EQ(service().memoryLabel(), "512 MB");
}

TEST_F(ResourceMonitorServiceTest, ADamagedStatisticStartsAtZeroAndStaysStoredUntilTheNextChange)
{
    std::string damaged = R"({"totalSwitches":"7"})";
    store(damaged);
    EXPECT_EQ(service().stats().get(), (MemorySavingsStats{ 0, 0, 0, queue.now() }));
    service().refreshMemory();
    queue.runPending();
    EXPECT_EQ(defaults.data(keys::stats), Bytes(damaged.begin(), damaged.end()));
    service().recordWorkspaceSwitch();
    EXPECT_EQ(stored(), (MemorySavingsStats{ 1, 2, 0, queue.now() }));
}

} // namespace
} // namespace cohortex
