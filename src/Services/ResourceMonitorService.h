#pragma once

#include "Models/MemorySavingsStats.h"
#include "Support/Observable.h"
#include "Support/StoredRecord.h"
#include "Support/Uuid.h"

#include <map>
#include <string>

namespace cohortex {

class DefaultsStore;
class MainQueue;
class WebViewRegistry;

// What the application costs and what it has saved: three live memory readings, refreshed on demand,
// and the savings statistic, which accumulates across launches in the defaults store. Main thread only.
class ResourceMonitorService {
public:
    // Reads the stored statistic once; an unreadable one leaves the zero statistic and stays stored
    // as it is until the next change is saved over it.
    ResourceMonitorService(DefaultsStore&, WebViewRegistry&, MainQueue&);
    ResourceMonitorService(const ResourceMonitorService&) = delete;
    ResourceMonitorService& operator=(const ResourceMonitorService&) = delete;

    const Observable<MemorySavingsStats>& stats() const { return m_stats; }
    // The readings start at 0 (the map empty) until the first refresh.
    const Observable<double>& appMB() const { return m_appMB; }
    const Observable<double>& pagesMB() const { return m_pagesMB; }
    const Observable<std::map<Uuid, double>>& perWorkspaceMB() const { return m_perWorkspaceMB; }
    double totalMB() const { return m_appMB.get() + m_pagesMB.get(); }

    // Reads this process and measures the registry on a worker thread; the readings change once the
    // figures are back. Workspaces without live views leave the map.
    void refreshMemory();
    // Called when the active workspace changes to a different one.
    void recordWorkspaceSwitch();
    // Adds what putting a workspace to sleep freed; nothing happens unless freedMB > 0.
    void recordHibernation(double freedMB);

    std::string memoryLabel() const;
    std::string memoryDetail() const;

private:
    void loadPersistedStats();
    void savePersistedStats();

    StoredRecord m_storedStats;
    WebViewRegistry& m_registry;
    MainQueue& m_queue;

    Observable<MemorySavingsStats> m_stats;
    Observable<double> m_appMB{ 0 };
    Observable<double> m_pagesMB{ 0 };
    Observable<std::map<Uuid, double>> m_perWorkspaceMB;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
