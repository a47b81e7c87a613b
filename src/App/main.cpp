#include "App/CohortexApp.h"
#include "App/LocalCommand.h"
#include "Platform/Linux/SoftwareRendering.h"
#include "Services/CommandLine.h"

#include <cstdlib>
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
    bool running = isApplicationRunning();
    if (!needsWindow(*invocation) && !running)
        return runLocalCommand(*invocation);
    if (!running && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::cerr << "Cohortex needs a display to open its window, and none was found.\n";
        return 1;
    }
    preferCairoWithoutGraphicsDevice();
    CohortexApp app;
    return app.run(argc, argv);
}
