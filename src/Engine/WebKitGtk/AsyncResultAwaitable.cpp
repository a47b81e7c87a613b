#include "Engine/WebKitGtk/AsyncResultAwaitable.h"

#include <memory>
#include <utility>

namespace cohortex {

namespace {

using Resume = CallbackAwaitable<GObjectPtr<GAsyncResult>>::Resume;

void resumeWithResult(GObject*, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<Resume> resume(static_cast<Resume*>(data));
    (*resume)(GObjectPtr<GAsyncResult>::retain(result));
}

} // namespace

CallbackAwaitable<GObjectPtr<GAsyncResult>> awaitAsyncResult(AsyncStart start)
{
    return awaitCallback<GObjectPtr<GAsyncResult>>([start = std::move(start)](Resume resume) {
        // GIO calls back exactly once, so the callback owns the user data and frees it.
        start(resumeWithResult, std::make_unique<Resume>(std::move(resume)).release());
    });
}

} // namespace cohortex
