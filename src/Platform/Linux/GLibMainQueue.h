#pragma once

#include "Support/MainQueue.h"

#include <unordered_set>

typedef struct _GSource GSource;

namespace cohortex {

// The application's MainQueue: work runs from GLib sources attached to the default main context,
// which GTK's main loop drives. Destroying the queue removes the sources of work that has not run,
// so nothing fires into objects torn down with it.
class GLibMainQueue final : public MainQueue {
public:
    GLibMainQueue();
    ~GLibMainQueue() override;

    void post(std::function<void()> work) override;
    Cancellable postAfter(double seconds, std::function<void()> work) override;
    Date now() const override;
    // On GLib's worker threads (GTask); `done` runs from the default main context.
    void runOffMainThread(std::function<void()> work, std::function<void()> done) override;

private:
    struct Pending;

    Cancellable attach(GSource*, std::function<void()> work);
    static int dispatch(void* data);
    static void release(void* data);

    // Sources attached and not yet run or destroyed. The main context holds their references.
    std::unordered_set<GSource*> m_sources;
};

} // namespace cohortex
