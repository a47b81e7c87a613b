#include "Services/ResourceMonitorService.h"

#include "Engine/WebViewRegistry.h"
#include "Services/StoredKeys.h"
#include "Support/DefaultsStore.h"
#include "Support/Log.h"
#include "Support/MainQueue.h"
#include "Support/Translation.h"

#include <cmath>
#include <limits>

namespace cohortex {

namespace {

// A stored count comes from outside and may already be near the limit; it stops there rather than
// wrapping round to a negative number.
std::int64_t saturatingAdd(std::int64_t count, std::int64_t step)
{
    constexpr auto maximum = std::numeric_limits<std::int64_t>::max();
    return count > maximum - step ? maximum : count + step;
}

// JSON has no infinity: writing one would store null, which reads back as 0 and loses the total.
bool isEncodable(const MemorySavingsStats& stats)
{
    return std::isfinite(stats.hibernationFreedMB)
        && std::isfinite(stats.lastUpdated.secondsSinceReferenceDate());
}

} // namespace

ResourceMonitorService::ResourceMonitorService(
    DefaultsStore& defaults, WebViewRegistry& registry, MainQueue& queue)
    : m_storedStats(defaults, keys::stats)
    , m_registry(registry)
    , m_queue(queue)
    , m_stats(MemorySavingsStats{ 0, 0, 0, queue.now() })
{
    loadPersistedStats();
}

void ResourceMonitorService::refreshMemory()
{
    m_registry.measureOffMainThread(m_queue, [this, alive = std::weak_ptr<bool>(m_alive)](auto measurement) {
        if (alive.expired())
            return;
        m_appMB.set(measurement.applicationMB);
        m_pagesMB.set(measurement.totalMB);
        m_perWorkspaceMB.set(std::move(measurement.perWorkspace));
    });
}

void ResourceMonitorService::recordWorkspaceSwitch()
{
    m_stats.modify([now = m_queue.now()](MemorySavingsStats& stats) {
        stats.totalSwitches = saturatingAdd(stats.totalSwitches, 1);
        stats.clicksSaved = saturatingAdd(stats.clicksSaved, 2);
        stats.lastUpdated = now;
    });
    savePersistedStats();
}

void ResourceMonitorService::recordHibernation(double freedMB)
{
    // Written so that NaN is refused along with zero and negative amounts.
    if (!(freedMB > 0))
        return;
    m_stats.modify([freedMB, now = m_queue.now()](MemorySavingsStats& stats) {
        stats.hibernationFreedMB += freedMB;
        stats.lastUpdated = now;
    });
    savePersistedStats();
}

std::string ResourceMonitorService::memoryLabel() const
{
    return MemorySavingsStats::format(totalMB());
}

std::string ResourceMonitorService::memoryDetail() const
{
    // TRANSLATORS: the memory readout's tooltip: the memory of Cohortex itself ({0}) and of its web pages
    // ({1}), then a sentence on what hibernation and switching have saved ({2}).
    return fillIn(_("App {} + web pages {}. {}"), MemorySavingsStats::format(m_appMB.get()),
        MemorySavingsStats::format(m_pagesMB.get()), m_stats->summaryMessage());
}

void ResourceMonitorService::loadPersistedStats()
{
    auto stored = m_storedStats.load();
    if (!stored)
        return;
    auto decoded = decodeStats(*stored, m_queue.now());
    if (!decoded) {
        // The stored copy stays as it is; the next change saves over it.
        logWarning("The stored savings statistic could not be read (" + decoded.error().message + ").");
        return;
    }
    m_stats.set(*decoded);
}

void ResourceMonitorService::savePersistedStats()
{
    if (!isEncodable(m_stats.get())) {
        logWarning("The savings statistic holds a value JSON cannot store; it was not saved.");
        return;
    }
    auto encoded = encodeStats(m_stats.get());
    if (!m_storedStats.save(encoded))
        logWarning("The savings statistic could not be saved.");
}

} // namespace cohortex
