#include "Platform/Linux/GLibMainQueue.h"

#include <algorithm>
#include <cmath>
#include <gio/gio.h>
#include <glib.h>
#include <memory>
#include <utility>

namespace cohortex {

namespace {

struct SourceUnref {
    void operator()(GSource* source) const { g_source_unref(source); }
};
using SourcePtr = std::unique_ptr<GSource, SourceUnref>;

// A shared reference, for the cancel handler: std::function needs something copyable.
std::shared_ptr<GSource> shareSource(GSource* source)
{
    return { g_source_ref(source), g_source_unref };
}

guint millisecondsFromSeconds(double seconds)
{
    auto milliseconds = std::llround(std::max(seconds, 0.0) * 1000);
    return static_cast<guint>(std::min<long long>(milliseconds, G_MAXUINT));
}

} // namespace

// The user data of one source. It lives until GLib destroys the source: after it ran, or when it
// was cancelled, or when the queue went away.
struct GLibMainQueue::Pending {
    // Cleared when the work starts, so that nothing reaches back into a queue that the work destroys.
    GLibMainQueue* queue;
    GSource* source;
    std::function<void()> work;
    Cancellable handle;
};

GLibMainQueue::GLibMainQueue() = default;

GLibMainQueue::~GLibMainQueue()
{
    // Destroying a source releases its Pending, which would erase it from the set being walked.
    auto sources = std::exchange(m_sources, {});
    for (auto* source : sources)
        g_source_destroy(source);
}

void GLibMainQueue::post(std::function<void()> work)
{
    // An idle source, unlike g_main_context_invoke, never runs the work inside this call. Giving it
    // the default priority keeps it in line with timers and I/O instead of behind every redraw.
    SourcePtr source(g_idle_source_new());
    attach(source.get(), std::move(work));
}

Cancellable GLibMainQueue::postAfter(double seconds, std::function<void()> work)
{
    SourcePtr source(g_timeout_source_new(millisecondsFromSeconds(seconds)));
    return attach(source.get(), std::move(work));
}

void GLibMainQueue::runOffMainThread(std::function<void()> work, std::function<void()> done)
{
    struct Job {
        std::function<void()> work;
        std::function<void()> done;
    };
    // The task's callback runs in the main context that was the thread's default when it was made: ours.
    auto* task = g_task_new(nullptr, nullptr,
        [](GObject*, GAsyncResult* result, gpointer) {
            static_cast<Job*>(g_task_get_task_data(G_TASK(result)))->done();
        },
        nullptr);
    g_task_set_task_data(task, new Job{ std::move(work), std::move(done) },
        [](gpointer job) { delete static_cast<Job*>(job); });
    g_task_run_in_thread(task, [](GTask* task, gpointer, gpointer job, GCancellable*) {
        static_cast<Job*>(job)->work();
        g_task_return_boolean(task, true);
    });
    g_object_unref(task);
}

Date GLibMainQueue::now() const
{
    return Date::now();
}

Cancellable GLibMainQueue::attach(GSource* source, std::function<void()> work)
{
    auto pending = std::make_unique<Pending>(this, source, std::move(work), Cancellable());
    // The handler holds its own reference, so it may outlive the queue and the source's run: GLib
    // ignores destroying a source twice.
    pending->handle
        = Cancellable::withCancelHandler([source = shareSource(source)] { g_source_destroy(source.get()); });
    auto handle = pending->handle;

    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_static_name(source, "cohortex main queue work");
    g_source_set_callback(source, dispatch, pending.release(), release);
    g_source_attach(source, nullptr);
    m_sources.insert(source);
    return handle;
}

int GLibMainQueue::dispatch(void* data)
{
    auto& pending = *static_cast<Pending*>(data);
    pending.queue->m_sources.erase(pending.source);
    pending.queue = nullptr;
    pending.handle.markStarted();
    if (auto work = std::move(pending.work))
        work();
    return G_SOURCE_REMOVE;
}

void GLibMainQueue::release(void* data)
{
    std::unique_ptr<Pending> pending(static_cast<Pending*>(data));
    if (pending->queue)
        pending->queue->m_sources.erase(pending->source);
}

} // namespace cohortex
