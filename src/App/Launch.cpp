#include "App/Launch.h"

#include "App/CohortexApp.h"
#include "App/LocalCommand.h"
#include "Platform/Linux/SoftwareRendering.h"
#include "Services/CommandLine.h"
#include "Support/Translation.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace cohortex {

int runCohortex(int argc, char* argv[], Alerts* alertsInsteadOfDialogs)
{
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::error_code noDirectory;
    auto invocation = parseCommandLine(arguments, std::filesystem::current_path(noDirectory));
    if (!invocation) {
        std::cerr << invocation.error() << "\n";
        return 1;
    }
    if (auto answer = immediateAnswer(*invocation, COHORTEX_VERSION)) {
        std::cout << *answer;
        return 0;
    }
    // Questions and files are answered by the running application when there is one, so that its state
    // and the stored one never disagree; otherwise right here, without a window.
    bool running = isApplicationRunning();
    if (!needsWindow(*invocation) && !running)
        return runLocalCommand(*invocation);
    // A workspace that does not exist is the same error whether or not Cohortex is running, and starts
    // nothing: the user would otherwise be left with a browser they did not ask for and no link in it.
    if (!running && invocation->action == CommandLineInvocation::Action::OpenInWorkspace) {
        if (int status = checkWorkspaceNamed(invocation->workspaceName); status != 0)
            return status;
    }
    if (!running && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::cerr << _("Cohortex needs a display to open its window, and none was found.") << "\n";
        return 1;
    }
    preferCairoWithoutGraphicsDevice();
    CohortexApp app(alertsInsteadOfDialogs);
    return app.run(argc, argv);
}

} // namespace cohortex
