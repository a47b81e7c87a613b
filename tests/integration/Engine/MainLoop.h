#pragma once

#include "Support/Task.h"

#include <chrono>
#include <functional>
#include <glib.h>
#include <memory>

namespace cohortex {

// How long a test waits for one page load or one engine call before it counts as failed.
constexpr std::chrono::milliseconds engineTimeout{ 12000 };

// Iterates the default main context until done() holds or the time limit passes. False on timeout.
inline bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = engineTimeout)
{
    struct SourceFree {
        void operator()(GSource* source) const
        {
            g_source_destroy(source);
            g_source_unref(source);
        }
    };
    bool timedOut = false;
    std::unique_ptr<GSource, SourceFree> timer(g_timeout_source_new(static_cast<guint>(limit.count())));
    g_source_set_callback(
        timer.get(),
        [](gpointer flag) {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &timedOut, nullptr);
    g_source_attach(timer.get(), nullptr);
    while (!done() && !timedOut)
        g_main_context_iteration(nullptr, true);
    return done();
}

// Lets the engine's processes and callbacks work for a while, for things that must not happen.
inline void runFor(std::chrono::milliseconds time)
{
    runUntil([] { return false; }, time);
}

template <typename T>
[[nodiscard]] bool finishes(const Task<T>& task)
{
    return runUntil([&task] { return task.isDone(); });
}

} // namespace cohortex
