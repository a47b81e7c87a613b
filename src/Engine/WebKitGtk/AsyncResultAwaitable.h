#pragma once

#include "Engine/WebKitGtk/GObjectHandles.h"
#include "Support/CallbackAwaitable.h"

#include <functional>
#include <gio/gio.h>

namespace cohortex {

// Starts a GIO-style asynchronous call and lets a coroutine wait for its GAsyncResult, which the
// coroutine then hands to the matching _finish function:
//
//     auto result = co_await awaitAsyncResult([&](GAsyncReadyCallback ready, gpointer data) {
//         webkit_cookie_manager_get_all_cookies(manager, nullptr, ready, data);
//     });
//     GList* cookies = webkit_cookie_manager_get_all_cookies_finish(manager, result.get(), error.out());
//
// The result holds a reference to the object that started the call, so finishing stays safe even
// when our own handle to that object went away in the meantime.
using AsyncStart = std::function<void(GAsyncReadyCallback, gpointer)>;
CallbackAwaitable<GObjectPtr<GAsyncResult>> awaitAsyncResult(AsyncStart);

} // namespace cohortex
