#pragma once

#include "Support/Url.h"

#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// What one `cohortex` command line asks for, checked and ready to run.
struct CommandLineInvocation {
    enum class Action {
        Open,
        OpenInWorkspace,
        WhichWorkspace,
        ListWorkspaces,
        ExportLayout,
        ImportLayout,
        ExportTimeCsv,
        // One of the window's commands, run by the running application (started for it if need be).
        RunCommand,
        // Prints the script that completes these options in the shell named.
        ShellCompletion,
        Help,
        Version
    };

    Action action{ Action::Open };
    // Open: web links and file URLs, in the order given, files already absolute. OpenInWorkspace: web
    // links. WhichWorkspace: the one web link asked about.
    std::vector<Url> urls;
    // OpenInWorkspace: the workspace as the user named it.
    std::string workspaceName;
    // ExportLayout, ImportLayout, ExportTimeCsv: absolute.
    std::filesystem::path file;
    bool json{ false };
    bool yes{ false };
    // ShellCompletion: the shell, as the user named it.
    std::string shell;
    // RunCommand: the command's name and, for the workspace shortcut, its number.
    std::string commandName;
    std::optional<int> commandArgument;

    bool operator==(const CommandLineInvocation&) const = default;
};

// Reads the arguments after the program name. Relative paths are resolved against workingDirectory, an
// absolute path: the directory of the shell the command was typed in, which is not this process's own
// when the command was forwarded to a running application. A value that starts with "-" is taken as a
// forgotten value, so such a name or file is written as --option=value. The error is one sentence for
// the user without a line break, to be printed on the error stream with exit status 1; what it quotes of
// the arguments is made safe for a terminal.
std::expected<CommandLineInvocation, std::string> parseCommandLine(
    std::span<const std::string> arguments, std::filesystem::path workingDirectory);

// Opening links needs the running application (which is started if there is none); every other action
// works on the stored profile without a window.
bool needsWindow(const CommandLineInvocation&);

// What --help prints.
std::string_view commandLineUsage();

// What the command line answers by itself, without the application or the stored profile: the help,
// the version ("cohortex " and the version given) or a completion script. Nothing for any other action.
std::optional<std::string> immediateAnswer(const CommandLineInvocation&, std::string_view version);

// The script that completes the options, and the values they take, in the shell: "bash" or "zsh". Empty
// for any other shell.
std::string shellCompletion(std::string_view shell);

} // namespace cohortex
