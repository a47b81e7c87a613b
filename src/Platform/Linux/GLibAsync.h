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

// Lets a coroutine wait for a GIO-style call and then hand its result to the matching `_finish`:
//
//     auto result = co_await awaitAsyncResult([&](GAsyncReadyCallback ready, gpointer data) {
//         webkit_cookie_manager_get_all_cookies(manager, nullptr, ready, data);
//     });
//     GList* cookies = webkit_cookie_manager_get_all_cookies_finish(manager, result.get(), error.out());
//
// start(GAsyncReadyCallback, gpointer) begins the call. The result is kept with a reference of its own,
// and it holds one to the object that started the call, so finishing stays safe even when our own
// handle to that object went away in the meantime.
template <typename Start>
CallbackAwaitable<GObjectPtr<GAsyncResult>> awaitAsyncResult(Start start)
{
    return awaitCallback<GObjectPtr<GAsyncResult>>(
        [start = std::move(start)](std::function<void(GObjectPtr<GAsyncResult>)> resume) mutable {
            auto ready = asyncReady([resume = std::move(resume)](GObject*, GAsyncResult* result) {
                resume(GObjectPtr<GAsyncResult>::retain(result));
            });
            start(ready.callback, ready.userData);
        });
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
