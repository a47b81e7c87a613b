#pragma once

#include <functional>
#include <glib.h>

namespace cohortex {

inline double secondsSince(gint64 monotonicStart)
{
    return static_cast<double>(g_get_monotonic_time() - monotonicStart) / G_USEC_PER_SEC;
}

// Iterates the default main context until the condition holds or the time is up.
inline bool runUntil(const std::function<bool()>& condition, double seconds)
{
    auto start = g_get_monotonic_time();
    while (!condition()) {
        if (secondsSince(start) > seconds)
            return false;
        if (!g_main_context_iteration(nullptr, false))
            g_usleep(1000);
    }
    return true;
}

// Lets GLib deliver whatever arrives in the meantime.
inline void runFor(double seconds)
{
    runUntil([] { return false; }, seconds);
}

} // namespace cohortex
