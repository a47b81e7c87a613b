#include "Engine/WebViewRegistry.h"

#include "Services/ProcessMemory.h"
#include "Support/MainQueue.h"

#include <algorithm>
#include <unordered_map>

namespace cohortex {

WebViewRegistry::WebViewRegistry(const ProcessMemory& memory)
    : m_memory(memory)
{
}

WebViewRegistry::~WebViewRegistry()
{
    std::unique_lock lock(m_readers->mutex);
    m_readers->isRegistryAlive = false;
    m_readers->finished.wait(lock, [this] { return m_readers->reading == 0; });
}

void WebViewRegistry::registerView(
    std::weak_ptr<MeasurableView> webView, const Uuid& tabID, const Uuid& workspaceID)
{
    m_entries.insert_or_assign(tabID, Entry{ std::move(webView), workspaceID });
}

void WebViewRegistry::unregisterView(const Uuid& tabID)
{
    m_entries.erase(tabID);
}

std::map<Uuid, std::vector<std::int32_t>> WebViewRegistry::livePIDs()
{
    std::map<Uuid, std::vector<std::int32_t>> pids;
    for (auto entry = m_entries.begin(); entry != m_entries.end();) {
        auto webView = entry->second.webView.lock();
        if (!webView) {
            entry = m_entries.erase(entry);
            continue;
        }
        if (auto pid = webView->webProcessIdentifier(); pid && *pid >= 1)
            pids[entry->second.workspaceID].push_back(*pid);
        ++entry;
    }
    // One sort per workspace costs far less than a tree node per tab, and the sweep measures every tab.
    for (auto& [workspaceID, list] : pids) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    return pids;
}

MemoryMeasurement WebViewRegistry::measure()
{
    return read(livePIDs(), m_memory);
}

void WebViewRegistry::measureOffMainThread(MainQueue& queue, std::function<void(MemoryMeasurement)> done)
{
    auto pids = std::make_shared<PIDsByWorkspace>(livePIDs());
    auto measurement = std::make_shared<MemoryMeasurement>();
    queue.runOffMainThread(
        [pids, measurement, readers = m_readers, &memory = m_memory] {
            {
                std::lock_guard lock(readers->mutex);
                if (!readers->isRegistryAlive)
                    return;
                ++readers->reading;
            }
            *measurement = read(*pids, memory);
            std::lock_guard lock(readers->mutex);
            --readers->reading;
            readers->finished.notify_all();
        },
        [measurement, done = std::move(done), alive = std::weak_ptr<bool>(m_alive)] {
            if (!alive.expired())
                done(std::move(*measurement));
        });
}

MemoryMeasurement WebViewRegistry::read(const PIDsByWorkspace& pidsByWorkspace, const ProcessMemory& memory)
{
    MemoryMeasurement measurement;
    // Each process is read once even when several workspaces share it, so every workspace and the
    // total see the same figure for it, and the kernel is asked once per process.
    std::unordered_map<std::int32_t, std::optional<double>> footprints;
    for (const auto& [workspaceID, pids] : pidsByWorkspace) {
        double sum = 0;
        for (auto pid : pids) {
            auto [known, isFirstRead] = footprints.try_emplace(pid);
            if (isFirstRead) {
                known->second = memory.footprintMB(pid);
                measurement.totalMB += known->second.value_or(0);
            }
            sum += known->second.value_or(0);
        }
        measurement.perWorkspace.emplace(workspaceID, sum);
    }
    measurement.applicationMB = memory.ownMB();
    return measurement;
}

std::optional<double> WebViewRegistry::memoryMB(const Uuid& workspaceID)
{
    // A workspace's figure depends only on its own processes, so only those are read.
    auto pids = livePIDs();
    auto found = pids.find(workspaceID);
    if (found == pids.end())
        return std::nullopt;
    double sum = 0;
    for (auto pid : found->second)
        sum += m_memory.footprintMB(pid).value_or(0);
    if (!(sum > 0))
        return std::nullopt;
    return sum;
}

} // namespace cohortex
