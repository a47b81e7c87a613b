#pragma once

#include "Engine/MeasurableView.h"
#include "Support/Uuid.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace cohortex {

class ProcessMemory;

// Footprints in MB: per workspace, and in total with each process counted once; and the application's
// own process.
struct MemoryMeasurement {
    std::map<Uuid, double> perWorkspace;
    double totalMB{ 0 };
    double applicationMB{ 0 };
};

class MainQueue;

// The web views that are alive, each tagged with its tab and workspace, and the memory of the
// web-content processes behind them. Views register when they are created and unregister when torn
// down; the registry holds them weakly, so a view that goes away without unregistering is simply
// dropped at the next measurement. Main thread only.
class WebViewRegistry {
public:
    explicit WebViewRegistry(const ProcessMemory&);
    // Waits for a worker still reading processes; one that has not started yet never will.
    ~WebViewRegistry();
    WebViewRegistry(const WebViewRegistry&) = delete;
    WebViewRegistry& operator=(const WebViewRegistry&) = delete;

    // Replaces an earlier entry of that tab.
    void registerView(std::weak_ptr<MeasurableView>, const Uuid& tabID, const Uuid& workspaceID);
    void unregisterView(const Uuid& tabID);

    // Reads every distinct process once. A process that serves two workspaces counts in both of their
    // figures but once in the total; a process that cannot be read contributes nothing. A workspace
    // with an identifiable view has a figure even when it is 0.
    MemoryMeasurement measure();
    // The same, with the processes read on a worker thread: the main thread never waits on /proc. Which
    // processes belong to which workspace is taken now; done runs on the queue with the figures, unless
    // the registry has gone by then. The ProcessMemory must outlive the registry.
    void measureOffMainThread(MainQueue&, std::function<void(MemoryMeasurement)> done);
    // The workspace's figure of a fresh measurement, when it is above 0.
    std::optional<double> memoryMB(const Uuid& workspaceID);

    std::size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        std::weak_ptr<MeasurableView> webView;
        Uuid workspaceID;
    };

    // Each workspace's distinct process ids in ascending order. Prunes gone views; views without a process id
    // yet (or one below 1) stay registered but are skipped.
    std::map<Uuid, std::vector<std::int32_t>> livePIDs();
    using PIDsByWorkspace = std::map<Uuid, std::vector<std::int32_t>>;
    static MemoryMeasurement read(const PIDsByWorkspace&, const ProcessMemory&);

    const ProcessMemory& m_memory;
    std::map<Uuid, Entry> m_entries;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
    // Shared with the workers, which read the ProcessMemory only while the registry is there.
    struct Readers {
        std::mutex mutex;
        std::condition_variable finished;
        bool isRegistryAlive{ true };
        int reading{ 0 };
    };
    std::shared_ptr<Readers> m_readers{ std::make_shared<Readers>() };
};

} // namespace cohortex
