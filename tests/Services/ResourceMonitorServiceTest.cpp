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
    ManualMainQueue queue;
    MemoryDefaults defaults;
    testing::FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
    ResourceMonitorService service{ defaults, registry, queue };
};

TEST_F(ResourceMonitorServiceTest, EverySwitchCountsTwoClicksAndIsStoredAtOnce)
{
    service.recordWorkspaceSwitch();
    queue.advance(10);
    service.recordWorkspaceSwitch();
    EXPECT_EQ(decodeStats(*defaults.data(keys::stats), Date()), (MemorySavingsStats{ 2, 4, 0, queue.now() }));
}

TEST_F(ResourceMonitorServiceTest, RefreshReplacesTheReadingsAndWithoutViewsShowsTheAppAlone)
{
    memory.own = 512;
    memory.footprints = { { 10, 1024 } };
    auto workspace = Uuid::random();
    auto view = std::make_shared<testing::FakeView>(10);
    registry.registerView(view, Uuid::random(), workspace);
    service.refreshMemory();
    queue.runPending();
    EXPECT_EQ(service.perWorkspaceMB().get(), (std::map<Uuid, double>{ { workspace, 1024.0 } }));
    EXPECT_EQ(service.memoryLabel(), "1.5 GB");

    view.reset();
    service.refreshMemory();
    queue.runPending();
    EXPECT_TRUE(service.perWorkspaceMB()->empty());
    EXPECT_EQ(service.memoryLabel(), "512 MB");
}

} // namespace
} // namespace cohortex
