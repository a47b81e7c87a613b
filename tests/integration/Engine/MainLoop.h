#pragma once

#include "Support/Task.h"

#include <chrono>
#include <functional>
#include <glib.h>

namespace cohortex {

// How long a test waits for one page load or one engine call before it counts as failed.
constexpr std::chrono::milliseconds engineTimeout{ 12000 };

inline double secondsSince(gint64 monotonicStart)
{
    return static_cast<double>(g_get_monotonic_time() - monotonicStart) / G_USEC_PER_SEC;
}

// Iterates the default main context until done() holds or the time limit passes; false on timeout. With a
// poll interval the loop also wakes that often, for conditions no source of the loop reports (a file
// another process writes, the X server's idle time).
inline bool runUntil(
    const std::function<bool()>& done, std::chrono::milliseconds limit, std::chrono::milliseconds poll)
{
    bool timedOut = false;
    auto timer = g_timeout_add(
        static_cast<guint>(limit.count()),
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &timedOut);
    auto ticks = poll.count() > 0
        ? g_timeout_add(
            static_cast<guint>(poll.count()), [](gpointer) { return gboolean(G_SOURCE_CONTINUE); }, nullptr)
        : 0;
    while (!done() && !timedOut)
        g_main_context_iteration(nullptr, true);
    if (!timedOut)
        g_source_remove(timer);
    if (ticks)
        g_source_remove(ticks);
    return done();
}

inline bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = engineTimeout)
{
    return runUntil(done, limit, std::chrono::milliseconds(0));
}

// The same with the limit in seconds, re-checking the condition every millisecond.
inline bool runUntil(const std::function<bool()>& condition, double seconds)
{
    return runUntil(condition, std::chrono::milliseconds(static_cast<long>(seconds * 1000)),
        std::chrono::milliseconds(1));
}

// Lets GLib deliver whatever arrives in the meantime, for things that must not happen.
inline void runFor(std::chrono::milliseconds time)
{
    runUntil([] { return false; }, time);
}

inline void runFor(double seconds)
{
    runUntil([] { return false; }, seconds);
}

template <typename T>
[[nodiscard]] bool finishes(const Task<T>& task)
{
    return runUntil([&task] { return task.isDone(); });
}

} // namespace cohortex
