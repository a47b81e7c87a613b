#pragma once

#include "Models/TimeLedger.h"
#include "Models/WorkspaceSession.h"
#include "Support/Calendar.h"
#include "Support/Date.h"
#include "Support/Task.h"
#include "Support/Translation.h"

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

class Alerts;
class MainQueue;
class SessionManager;
class TimeTracker;

// The Time tab of the settings window: the tracking switch, the table of time per workspace, the CSV
// export and the clearing of the history. The ledger and the switch are the time tracker's. Main thread
// only.
class TimeSettingsTab {
public:
    static constexpr std::string_view heading = N_("Time Tracking");
    static constexpr std::string_view enabledTitle = N_("Track time spent in each workspace");
    static constexpr std::string_view enabledExplanation
        = N_("Counts only while Cohortex is in front and you're active (no input for 2 minutes pauses it). "
             "Stored on this computer only.");
    static constexpr std::string_view workspaceColumn = N_("Workspace");
    static constexpr std::string_view todayColumn = N_("Today");
    static constexpr std::string_view lastSevenDaysColumn = N_("Last 7 days");
    static constexpr std::string_view exportButtonTitle = N_("Export CSV…");
    static constexpr std::string_view suggestedExportFileName = "Cohortex-time.csv";
    static constexpr std::string_view clearButtonTitle = N_("Clear History…");
    static constexpr std::string_view clearQuestion = N_("Clear all tracked time?");
    static constexpr std::string_view clearQuestionDetails = N_("This can't be undone.");
    static constexpr std::string_view clearConfirmTitle = N_("Clear");
    static constexpr std::string_view clearCancelTitle = N_("Cancel");
    // Days summed in the second column, today included.
    static constexpr int lastDays = 7;

    struct Row {
        Uuid workspaceId;
        std::string name;
        RgbColor color;
        // Both in the ledger's formatted form.
        std::string today;
        std::string lastSevenDays;
    };
    // One row per workspace in list order; days are those of the calendar, ending with the day of now.
    static std::vector<Row> rows(
        std::span<const WorkspaceSession>, const TimeLedger&, Date now, const Calendar&);

    TimeSettingsTab(MainQueue&, SessionManager&, TimeTracker&, Alerts&);
    TimeSettingsTab(const TimeSettingsTab&) = delete;
    TimeSettingsTab& operator=(const TimeSettingsTab&) = delete;

    // The table for today in the user's calendar.
    std::vector<Row> rows() const;

    // Stores the counted seconds not saved yet, so that the export has them; before the file is chosen.
    void prepareExport();
    // Writes the ledger as CSV, with the workspaces' current names, to the file at once and off the main
    // thread. A failed write is only logged: the export reports nothing.
    Task<void> exportCsv(std::filesystem::path);

    // Asks first; on "Clear" empties the history and stores that at once. When that cannot be stored the
    // history stays, and the user is told.
    Task<void> clearHistory();

private:
    MainQueue& m_queue;
    SessionManager& m_sessions;
    TimeTracker& m_tracker;
    Alerts& m_alerts;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
