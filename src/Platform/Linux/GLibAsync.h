#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "Support/CallbackAwaitable.h"
#include "Support/MainQueue.h"

#include <functional>
#include <gio/gio.h>
#include <memory>
#include <utility>

namespace cohortex {

// The callback and user data to hand to a GLib `_async` call.
struct AsyncReady {
    GAsyncReadyCallback callback;
    gpointer userData;
};

// Makes the AsyncReady for a callable that receives the source object and the result, and usually
// calls the matching `_finish` and a coroutine's resume. GLib calls back exactly once, so the callable
// is destroyed right after that call; it may therefore own what the call needs to keep alive.
template <typename Finish>
AsyncReady asyncReady(Finish finish)
{
    GAsyncReadyCallback callback = [](GObject* source, GAsyncResult* result, gpointer userData) {
        std::unique_ptr<Finish> owned(static_cast<Finish*>(userData));
        (*owned)(source, result);
    };
    return { callback, std::make_unique<Finish>(std::move(finish)).release() };
}

// Awaits a cancellable GLib call for at most `seconds`. When the time is up the call is cancelled and
// the coroutine resumes with onTimeout at once, without waiting for the call to notice; whatever the
// call reports later is dropped. This is for services that may never answer (a bus whose daemon hangs),
// where waiting for GLib's own timeout of 25 seconds per D-Bus call would leave the user staring at a
// button that does nothing.
//
// start(GCancellable*, std::function<void(T)> resume) begins the call and arranges for resume.
template <typename T, typename Start>
CallbackAwaitable<T> awaitWithin(double seconds, T onTimeout, Start start)
{
    auto& queue = MainQueue::requireCurrent();
    return awaitCallback<T>(queue,
        [&queue, seconds, onTimeout = std::move(onTimeout), start = std::move(start)](
            std::function<void(T)> resume) {
            GObjectPtr<GCancellable> cancellable(g_cancellable_new());
            auto deadline = queue.postAfter(seconds, [cancellable, resume, onTimeout] {
                g_cancellable_cancel(cancellable.get());
                resume(onTimeout);
            });
            // Copies of a Cancellable share the work, so cancelling a copy stops the deadline.
            start(cancellable.get(), std::function<void(T)>([deadline, resume](T value) {
                auto timer = deadline;
                timer.cancel();
                resume(std::move(value));
            }));
        });
}

} // namespace cohortex
