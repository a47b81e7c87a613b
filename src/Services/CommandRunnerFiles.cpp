#include "Models/WorkspaceImport.h"
#include "Services/CommandRunner.h"
#include "Services/Console.h"
#include "Services/SessionManager.h"
#include "Services/TeamSharing.h"
#include "Services/TimeTracker.h"
#include "Support/AtomicFile.h"
#include "Support/QueueAwaitable.h"
#include "Support/Text.h"
#include "Support/Translation.h"

#include <map>

namespace cohortex {

namespace {

bool isYes(std::string_view answer)
{
    auto word = toLowerCase(trimWhitespace(answer));
    return word == "y" || word == "yes";
}

int reportWrite(const Expected<void>& written, Console& console, std::string_view success)
{
    if (!written) {
        console.error(terminalSafe(exportFailureStatus(written.error().message)) + "\n");
        return 1;
    }
    console.out(success);
    return 0;
}

} // namespace

int CommandRunner::exportLayout(const CommandLineInvocation& invocation, Console& console) const
{
    auto written = writeFileAtomically(invocation.file, m_teamSharing.exportData());
    return reportWrite(written, console, exportStatus(m_sessions.workspaces().get().size()) + "\n");
}

Task<int> CommandRunner::importLayout(CommandLineInvocation invocation, Console& console)
{
    std::weak_ptr<bool> alive = m_alive;
    // Made before the co_await: g++ 12 destroys a lambda with captures twice inside a co_await expression.
    auto reading = offMainThread(
        MainQueue::requireCurrent(), [file = invocation.file] { return previewImport(file); });
    auto bundle = co_await reading;
    if (alive.expired())
        co_return 1;
    if (!bundle) {
        console.error(_(importErrorMessage) + "\n" + _(importErrorDetails) + "\n");
        co_return 1;
    }
    console.out(importConfirmationMessage(*bundle) + "\n" + importConfirmationDetails(*bundle) + "\n");
    if (!invocation.yes) {
        // Not translated: the answer is read as "y" or "yes" in any language.
        console.out("[y/N] ");
        auto answer = co_await console.readLine();
        if (alive.expired())
            co_return 1;
        // A declined import changed nothing, which a script learns from the status.
        if (!answer || !isYes(*answer)) {
            console.error(std::string(_("Nothing was imported.")) + "\n");
            co_return 1;
        }
    }
    auto counts = m_sessions.apply(*bundle);
    if (!counts) {
        console.error(_(importFailedMessage) + "\n" + counts.error().message + "\n");
        co_return 1;
    }
    console.out(importResultMessage(counts->workspaces) + "\n" + importResultDetails(counts->rules) + "\n");
    co_return 0;
}

int CommandRunner::exportTimeCsv(const CommandLineInvocation& invocation, Console& console) const
{
    std::map<Uuid, std::string> names;
    for (const auto& workspace : m_sessions.workspaces().get())
        names.emplace(workspace.id, workspace.name);
    auto written = writeFileAtomically(invocation.file, m_timeTracker.ledger().get().csv(names));
    return reportWrite(written, console, "");
}

} // namespace cohortex
