#include "Engine/WebKitGtk/BackgroundRemoval.h"

#include "Platform/Linux/GLibAsync.h"
#include "Support/Log.h"

#include <memory>
#include <string>
#include <system_error>

namespace cohortex {

namespace {

using Directories = std::vector<std::filesystem::path>;

void removeOnWorker(GTask* task, gpointer, gpointer data, GCancellable*)
{
    for (const auto& directory : *static_cast<Directories*>(data)) {
        std::error_code error;
        // The network process may still be closing a journal file in there: an entry that vanishes
        // during the walk fails the walk without anything being wrong, so walk again.
        for (int attempt = 0; attempt < 5; ++attempt) {
            error.clear();
            std::filesystem::remove_all(directory, error);
            if (error != std::errc::no_such_file_or_directory)
                break;
        }
        // Its own error code: asking must not clear the failure of a folder that is still there.
        std::error_code asked;
        if (error == std::errc::no_such_file_or_directory && !std::filesystem::exists(directory, asked)
            && !asked)
            error.clear();
        if (error) {
            g_task_return_new_error(task, G_IO_ERROR, g_io_error_from_errno(error.value()),
                "Cannot delete %s: %s", directory.c_str(), error.message().c_str());
            return;
        }
    }
    g_task_return_boolean(task, true);
}

void startRemoval(Directories directories, GAsyncReadyCallback ready, gpointer data)
{
    GObjectPtr<GTask> task(g_task_new(nullptr, nullptr, ready, data));
    g_task_set_task_data(task.get(), std::make_unique<Directories>(std::move(directories)).release(),
        [](gpointer directories) { std::unique_ptr<Directories>(static_cast<Directories*>(directories)); });
    g_task_run_in_thread(task.get(), removeOnWorker);
}

} // namespace

Task<bool> removeDirectoriesInBackground(Directories directories)
{
    auto result = co_await awaitAsyncResult([&directories](GAsyncReadyCallback ready, gpointer data) {
        startRemoval(std::move(directories), ready, data);
    });
    GErrorPtr error;
    if (!g_task_propagate_boolean(G_TASK(result.get()), error.out())) {
        logWarning(error.message());
        co_return false;
    }
    co_return true;
}

} // namespace cohortex
