#pragma once

#include "Support/Observable.h"
#include "Support/Uuid.h"

#include <functional>
#include <memory>
#include <optional>

namespace cohortex {

class MainQueue;

// What the window presents over its pages: at most one sheet at a time (the create sheet, the settings
// window, one workspace's settings), the quick switcher, the keyboard-shortcuts help, the find bar and the
// downloads list. Views observe it, open what it asks for and clear a flag when they close. Main thread only.
class Presentation {
public:
    explicit Presentation(MainQueue&);
    ~Presentation();
    Presentation(const Presentation&) = delete;
    Presentation& operator=(const Presentation&) = delete;

    const Observable<bool>& showingCreateModal() const { return m_showingCreateModal; }
    const Observable<bool>& showingSettings() const { return m_showingSettings; }
    const Observable<std::optional<Uuid>>& workspaceSettingsID() const { return m_workspaceSettingsID; }
    const Observable<bool>& showingQuickSwitcher() const { return m_showingQuickSwitcher; }
    const Observable<bool>& showingShortcutsHelp() const { return m_showingShortcutsHelp; }
    const Observable<bool>& showingDownloads() const { return m_showingDownloads; }
    const Observable<bool>& showingFindBar() const { return m_showingFindBar; }
    const Observable<bool>& pageFullscreen() const { return m_pageFullscreen; }

    // One sheet at a time: asking for another while one is open closes that one and opens the new one
    // after sheetGapSeconds, so that their animations do not collide. Asking for the sheet already
    // shown does nothing.
    void showCreateModal();
    void showSettings();
    void showWorkspaceSettings(const Uuid& workspaceId);
    // A sheet closes itself by clearing its flag.
    void setShowingCreateModal(bool shown) { m_showingCreateModal.set(shown); }
    void setShowingSettings(bool shown) { m_showingSettings.set(shown); }
    void setWorkspaceSettingsID(std::optional<Uuid> id) { m_workspaceSettingsID.set(id); }

    // The quick switcher, the help and the downloads list are not sheets: they open at once, whatever
    // else is shown.
    void setShowingQuickSwitcher(bool shown) { m_showingQuickSwitcher.set(shown); }
    void setShowingShortcutsHelp(bool shown) { m_showingShortcutsHelp.set(shown); }
    void setShowingDownloads(bool shown) { m_showingDownloads.set(shown); }
    // The find bar over the page on screen.
    void setShowingFindBar(bool shown) { m_showingFindBar.set(shown); }
    // A page on screen has the whole screen: the window's bars stay out of its way until it is done.
    void setPageFullscreen(bool fullscreen) { m_pageFullscreen.set(fullscreen); }

    static constexpr double sheetGapSeconds = 0.45;

private:
    bool anySheetOpen() const;
    void present(bool alreadyOpen, std::function<void()> open);

    MainQueue& m_queue;
    Observable<bool> m_showingCreateModal{ false };
    Observable<bool> m_showingSettings{ false };
    Observable<std::optional<Uuid>> m_workspaceSettingsID;
    Observable<bool> m_showingQuickSwitcher{ false };
    Observable<bool> m_showingShortcutsHelp{ false };
    Observable<bool> m_showingDownloads{ false };
    Observable<bool> m_showingFindBar{ false };
    Observable<bool> m_pageFullscreen{ false };
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
