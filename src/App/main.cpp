#include "App/CohortexApp.h"
#include "App/LocalCommand.h"
#include "Services/CommandLine.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    using namespace cohortex;
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::error_code noDirectory;
    auto invocation = parseCommandLine(arguments, std::filesystem::current_path(noDirectory));
    if (!invocation) {
        std::cerr << invocation.error() << "\n";
        return 1;
    }
    if (invocation->action == CommandLineInvocation::Action::Help) {
        std::cout << commandLineUsage();
        return 0;
    }
    // Questions and files are answered by the running application when there is one, so that its state
    // and the stored one never disagree; otherwise right here, without a window.
    if (!needsWindow(*invocation) && !isApplicationRunning())
        return runLocalCommand(*invocation);
    CohortexApp app;
    return app.run(argc, argv);
}
