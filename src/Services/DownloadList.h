#pragma once

#include "Models/DownloadItem.h"
#include "Support/MainQueue.h"
#include "Support/Observable.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <sigc++/sigc++.h>
#include <string>
#include <vector>

namespace cohortex {

class DesktopLauncher;

// The downloads of every workspace in this run, with their progress and state. The engine reports what
// its downloads do; the user's commands cancel them, open their files or show them in the file manager.
// Views show one workspace's downloads at a time (DownloadRows), never another's.
//
// A download moves only forward: in progress, then finished, failed or cancelled, once; a finished one
// whose file is gone when the user reaches for it becomes missing. A report that comes after the end
// (the engine confirming a cancel, a failure racing a finish) changes nothing. Main thread only.
class DownloadList {
public:
    // The engine's side of one download.
    class Transfer {
    public:
        virtual ~Transfer() = default;
        // Stops the download for good and removes what it wrote.
        virtual void cancel() = 0;
    };

    DownloadList(MainQueue&, DesktopLauncher&);
    ~DownloadList();
    DownloadList(const DownloadList&) = delete;
    DownloadList& operator=(const DownloadList&) = delete;

    // Every download, oldest first. Progress is published at most once per progressInterval; everything
    // else at once.
    const Observable<std::vector<DownloadItem>>& items() const { return m_items; }
    std::optional<DownloadItem> item(DownloadId) const;
    // A download has finished writing its file.
    sigc::signal<void(const DownloadItem&)>& finished() { return m_finished; }

    // From the engine. The list keeps the transfer until the download is cleared from it.
    DownloadId started(const Uuid& workspaceId, std::filesystem::path file, std::unique_ptr<Transfer>);
    // A download that failed before anything was saved (the server answered with an error).
    DownloadId refused(const Uuid& workspaceId, std::string name, std::string reason);
    void progressed(DownloadId, std::uint64_t receivedBytes, std::optional<std::uint64_t> totalBytes);
    void succeeded(DownloadId);
    void failed(DownloadId, std::string reason);
    // Whether a download in progress writes to the path: the name is taken though no file may exist yet.
    bool isWriting(const std::filesystem::path&) const;

    // From the user; each is false, and does nothing, when the download's state does not allow it.
    bool cancel(DownloadId);
    bool open(DownloadId);
    bool reveal(DownloadId);
    // Takes the workspace's downloads that have ended off the list.
    void clearEnded(const Uuid& workspaceId);

    static constexpr double progressInterval = 0.25;

private:
    struct Entry {
        DownloadItem item;
        std::unique_ptr<Transfer> transfer;
    };

    DownloadId add(DownloadItem);
    Entry* inProgress(DownloadId);
    // The finished download's entry, once its file is known to be there still.
    Entry* finishedWithFile(DownloadId);
    void publish();

    MainQueue& m_queue;
    DesktopLauncher& m_launcher;
    std::vector<Entry> m_entries;
    DownloadId m_nextId{ 1 };
    Observable<std::vector<DownloadItem>> m_items;
    Cancellable m_pendingProgress;
    bool m_isProgressPending{ false };
    sigc::signal<void(const DownloadItem&)> m_finished;
};

} // namespace cohortex
