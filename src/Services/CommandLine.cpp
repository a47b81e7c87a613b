#include "Services/CommandLine.h"

#include "Models/WorkspaceBundle.h"
#include "Support/Text.h"
#include "Support/Translation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <optional>

namespace cohortex {

namespace {

using Action = CommandLineInvocation::Action;
using Failure = std::unexpected<std::string>;

// What the shell offers as an option's value.
enum class Completes { Nothing, Files, WorkspaceNumbers, Shells };

// The options that choose what the command does, with what their value is called in messages (empty
// for an option without a value). The value's name is translated in the messages only: the completion
// scripts are made from the table as written.
struct ActionOption {
    std::string_view name;
    Action action;
    std::string_view valueName;
    // RunCommand: the command it runs.
    std::string_view command{};
    Completes completes{ Completes::Nothing };
};

constexpr std::array actionOptions{
    // TRANSLATORS: what an option's value is, ending the message "--workspace needs a workspace name."
    ActionOption{ "--workspace", Action::OpenInWorkspace, N_("a workspace name") },
    ActionOption{ "--which-workspace", Action::WhichWorkspace, N_("a link") },
    ActionOption{ "--list-workspaces", Action::ListWorkspaces, "" },
    ActionOption{ "--export-layout", Action::ExportLayout, N_("a file"), {}, Completes::Files },
    ActionOption{ "--import-layout", Action::ImportLayout, N_("a file"), {}, Completes::Files },
    ActionOption{ "--export-time-csv", Action::ExportTimeCsv, N_("a file"), {}, Completes::Files },
    // What the global shortcuts do, for desktops that let the user bind a key to a command line.
    ActionOption{ "--toggle", Action::RunCommand, "", "toggle-window" },
    ActionOption{ "--quick-switcher", Action::RunCommand, "", "quick-switcher" },
    ActionOption{ "--new-workspace", Action::RunCommand, "", "new-workspace" },
    ActionOption{ "--open-workspace", Action::RunCommand, N_("a workspace number from 1 to 9"),
        "open-workspace", Completes::WorkspaceNumbers },
    ActionOption{ "--settings", Action::RunCommand, "", "settings" },
    ActionOption{ "--quit", Action::RunCommand, "", "quit" },
    ActionOption{
        "--shell-completion", Action::ShellCompletion, N_("a shell (bash or zsh)"), {}, Completes::Shells },
};

// The options that only modify the action, and the two that answer by themselves wherever they stand.
struct FlagOption {
    std::string_view name;
    std::string_view shortName{};
};

constexpr FlagOption jsonFlag{ "--json" };
constexpr FlagOption yesFlag{ "--yes", "-y" };
constexpr FlagOption helpFlag{ "--help", "-h" };
constexpr FlagOption versionFlag{ "--version" };
constexpr std::array flagOptions{ jsonFlag, yesFlag, helpFlag, versionFlag };

bool isFlag(std::string_view argument, const FlagOption& flag)
{
    return argument == flag.name || (!flag.shortName.empty() && argument == flag.shortName);
}

// TRANSLATORS: what "cohortex --help" prints. Translate the sentences and the descriptions of the options;
// the command lines under "Usage:" and the option names stay as they are.
constexpr std::string_view usage = N_(R"(Usage:
  cohortex [LINK | FILE.cohortex]...
  cohortex --workspace NAME [LINK...]
  cohortex --which-workspace LINK [--json]
  cohortex --list-workspaces [--json]
  cohortex --export-layout FILE
  cohortex --import-layout FILE [--yes]
  cohortex --export-time-csv FILE
  cohortex --toggle | --quick-switcher | --new-workspace | --open-workspace N | --settings | --quit
  cohortex --shell-completion SHELL | --version

Opens http and https links in the workspace their link rules choose, and imports workspace files.

Options:
  --workspace NAME         open the links in new tabs of this workspace, or show it
  --which-workspace LINK   tell which workspace a link would open in, and why
  --list-workspaces        list the workspaces in their order
  --export-layout FILE     write the workspaces and link rules to a workspace file
  --import-layout FILE     add the workspaces and link rules of a workspace file
  --export-time-csv FILE   write the time spent in each workspace per day as CSV
  --toggle                 show Cohortex, or hide it when it is in front
  --quick-switcher         show the quick switcher
  --new-workspace          start a new workspace
  --open-workspace N       show the workspace with the number N (1 to 9)
  --settings               show the settings
  --quit                   quit Cohortex
  --shell-completion SHELL print the completion script for bash or zsh
  --json                   print machine-readable JSON (with --which-workspace, --list-workspaces)
  -y, --yes                import without asking (with --import-layout)
  -h, --help               show this help
  --version                print the version
)");

std::string valueNeeded(const ActionOption& option)
{
    // TRANSLATORS: {0} is an option ("--workspace"), {1} what its value is ("a workspace name").
    return fillIn(_("{} needs {}."), option.name, _(option.valueName));
}

// Whether the text starts with a URI scheme and its colon, as "https:" or "file:" do.
bool hasScheme(std::string_view text)
{
    auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char character) {
        return std::isalnum(static_cast<unsigned char>(character)) || character == '+' || character == '-'
            || character == '.';
    });
}

std::expected<Url, std::string> webLink(std::string_view text)
{
    auto url = Url::parse(text);
    if (url && (url->scheme() == "http" || url->scheme() == "https") && url->host())
        return *url;
    return Failure(fillIn(_("Not an http or https link: {}"), terminalSafe(text)));
}

std::optional<int> parseWorkspaceNumber(std::string_view text)
{
    if (text.size() != 1 || text[0] < '1' || text[0] > '9')
        return std::nullopt;
    return text[0] - '0';
}

bool isBundleFile(const std::filesystem::path& path)
{
    return toLowerCase(path.extension().string()) == "." + std::string(WorkspaceBundle::fileExtension);
}

// A link, or a workspace file given as a path or a file URL; anything else would be ignored by the
// application, so it is refused here where the user can still be told.
std::expected<Url, std::string> openable(const std::string& argument, const std::filesystem::path& directory)
{
    if (hasScheme(argument)) {
        auto url = Url::parse(argument);
        if (url && url->isFileURL() && isBundleFile(url->filePath()))
            return *url;
        return webLink(argument);
    }
    auto path = (directory / argument).lexically_normal();
    if (!isBundleFile(path))
        // TRANSLATORS: {0} is the extension of workspace files ("cohortex"), {1} what the user typed.
        return Failure(fillIn(_("Not an http or https link or a .{} file: {}"),
            WorkspaceBundle::fileExtension, terminalSafe(argument)));
    return Url::fileURL(path.string(), false);
}

class Parser {
public:
    Parser(std::span<const std::string> arguments, std::filesystem::path directory)
        : m_arguments(arguments)
        , m_directory(std::move(directory))
    {
    }

    std::expected<CommandLineInvocation, std::string> parse();

private:
    std::optional<std::string> readArguments();
    std::optional<std::string> readOption(std::string_view argument, std::size_t& index);
    std::optional<std::string> readActionOption(
        const ActionOption&, std::optional<std::string> value, std::size_t& index);
    std::expected<CommandLineInvocation, std::string> build();
    std::optional<std::string> checkFlags() const;

    std::span<const std::string> m_arguments;
    std::filesystem::path m_directory;
    const ActionOption* m_action{ nullptr };
    std::string m_value;
    std::vector<std::string> m_positionals;
    bool m_json{ false };
    bool m_yes{ false };
};

std::expected<CommandLineInvocation, std::string> Parser::parse()
{
    // Help, then the version, win wherever they stand, so that a user who got the rest wrong still gets
    // them.
    auto options = std::ranges::find(m_arguments, "--");
    for (auto [flag, action] :
        { std::pair{ helpFlag, Action::Help }, std::pair{ versionFlag, Action::Version } }) {
        if (std::any_of(m_arguments.begin(), options, [&](const auto& arg) { return isFlag(arg, flag); })) {
            CommandLineInvocation answer;
            answer.action = action;
            return answer;
        }
    }
    if (auto failure = readArguments())
        return Failure(std::move(*failure));
    return build();
}

std::optional<std::string> Parser::readArguments()
{
    bool optionsEnded = false;
    for (std::size_t index = 0; index < m_arguments.size(); ++index) {
        const auto& argument = m_arguments[index];
        if (argument.empty())
            return _("An empty argument is neither a link nor a file.");
        if (optionsEnded || argument[0] != '-' || argument == "-")
            m_positionals.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (auto failure = readOption(argument, index))
            return failure;
    }
    return std::nullopt;
}

std::optional<std::string> Parser::readOption(std::string_view argument, std::size_t& index)
{
    std::optional<std::string> value;
    if (auto equals = argument.find('='); argument.starts_with("--") && equals != std::string_view::npos) {
        value = std::string(argument.substr(equals + 1));
        argument = argument.substr(0, equals);
    }
    if (isFlag(argument, jsonFlag) || isFlag(argument, yesFlag)) {
        if (value)
            return fillIn(_("{} takes no value."), argument);
        (isFlag(argument, jsonFlag) ? m_json : m_yes) = true;
        return std::nullopt;
    }
    auto found = std::ranges::find(actionOptions, argument, &ActionOption::name);
    if (found == actionOptions.end())
        return fillIn(_("Unknown option: {} (see cohortex --help)"), terminalSafe(argument));
    return readActionOption(*found, std::move(value), index);
}

std::optional<std::string> Parser::readActionOption(
    const ActionOption& option, std::optional<std::string> value, std::size_t& index)
{
    if (m_action)
        return fillIn(_("{} and {} can't be used together."), m_action->name, option.name);
    m_action = &option;
    if (option.valueName.empty())
        return value ? std::optional(fillIn(_("{} takes no value."), option.name)) : std::nullopt;
    // A following option is a forgotten value, not a value that starts with a dash.
    if (!value && index + 1 < m_arguments.size() && !m_arguments[index + 1].starts_with("-"))
        value = m_arguments[++index];
    if (!value || value->empty())
        return valueNeeded(option);
    m_value = std::move(*value);
    return std::nullopt;
}

std::optional<std::string> Parser::checkFlags() const
{
    auto action = m_action ? m_action->action : Action::Open;
    if (m_json && action != Action::WhichWorkspace && action != Action::ListWorkspaces)
        return _("--json only goes with --which-workspace or --list-workspaces.");
    if (m_yes && action != Action::ImportLayout)
        return _("--yes only goes with --import-layout.");
    if (!m_positionals.empty() && action != Action::Open && action != Action::OpenInWorkspace)
        return fillIn(
            _("Unexpected argument: {} (see cohortex --help)"), terminalSafe(m_positionals.front()));
    return std::nullopt;
}

std::expected<CommandLineInvocation, std::string> Parser::build()
{
    if (auto failure = checkFlags())
        return Failure(std::move(*failure));
    CommandLineInvocation invocation;
    invocation.action = m_action ? m_action->action : Action::Open;
    invocation.json = m_json;
    invocation.yes = m_yes;
    switch (invocation.action) {
    case Action::Open:
        for (const auto& argument : m_positionals) {
            auto url = openable(argument, m_directory);
            if (!url)
                return Failure(std::move(url.error()));
            invocation.urls.push_back(std::move(*url));
        }
        break;
    case Action::OpenInWorkspace:
        // Without links it switches to the workspace, as choosing it in the window would.
        invocation.workspaceName = m_value;
        for (const auto& argument : m_positionals) {
            auto url = webLink(argument);
            if (!url)
                return Failure(std::move(url.error()));
            invocation.urls.push_back(std::move(*url));
        }
        break;
    case Action::WhichWorkspace: {
        auto url = webLink(m_value);
        if (!url)
            return Failure(std::move(url.error()));
        invocation.urls.push_back(std::move(*url));
        break;
    }
    case Action::ExportLayout:
    case Action::ImportLayout:
    case Action::ExportTimeCsv:
        invocation.file = (m_directory / m_value).lexically_normal();
        break;
    case Action::RunCommand:
        invocation.commandName = m_action->command;
        if (!m_action->valueName.empty()) {
            auto number = parseWorkspaceNumber(m_value);
            if (!number)
                return Failure(valueNeeded(*m_action));
            invocation.commandArgument = number;
        }
        break;
    case Action::ShellCompletion:
        if (shellCompletion(m_value).empty())
            return Failure(fillIn(_("No completion for the shell {} (bash or zsh)."), terminalSafe(m_value)));
        invocation.shell = m_value;
        break;
    case Action::ListWorkspaces:
    case Action::Help:
    case Action::Version:
        break;
    }
    return invocation;
}

} // namespace

std::expected<CommandLineInvocation, std::string> parseCommandLine(
    std::span<const std::string> arguments, std::filesystem::path workingDirectory)
{
    return Parser(arguments, std::move(workingDirectory)).parse();
}

bool needsWindow(const CommandLineInvocation& invocation)
{
    return invocation.action == Action::Open || invocation.action == Action::OpenInWorkspace
        || invocation.action == Action::RunCommand;
}

std::string_view commandLineUsage()
{
    // The view holds the whole literal, so its data is the message id; a translation lives for the run.
    return _(usage.data());
}

namespace {

std::string bashValues(Completes completes)
{
    switch (completes) {
    case Completes::Files:
        return "COMPREPLY=( $(compgen -f -- \"$cur\") )";
    case Completes::WorkspaceNumbers:
        return "COMPREPLY=( $(compgen -W \"1 2 3 4 5 6 7 8 9\" -- \"$cur\") )";
    case Completes::Shells:
        return "COMPREPLY=( $(compgen -W \"bash zsh\" -- \"$cur\") )";
    case Completes::Nothing:
        break;
    }
    return "COMPREPLY=()";
}

std::string bashCompletion()
{
    std::string names;
    std::string valueCases;
    for (const auto& option : actionOptions) {
        names += std::string(option.name) + " ";
        if (!option.valueName.empty())
            valueCases += "        " + std::string(option.name) + ") " + bashValues(option.completes)
                + "; return ;;\n";
    }
    for (const auto& flag : flagOptions) {
        names += std::string(flag.name) + " ";
        if (!flag.shortName.empty())
            names += std::string(flag.shortName) + " ";
    }
    names.pop_back();
    return "# Completion of cohortex's options and their values, and of workspace files.\n"
           "_cohortex()\n"
           "{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    case $prev in\n"
        + valueCases
        + "    esac\n"
          "    if [[ $cur == -* ]]; then\n"
          "        COMPREPLY=( $(compgen -W \""
        + names
        + "\" -- \"$cur\") )\n"
          "        return\n"
          "    fi\n"
          "    COMPREPLY=( $(compgen -d -- \"$cur\") $(compgen -f -X '!*.cohortex' -- \"$cur\") )\n"
          "}\n"
          "complete -o filenames -F _cohortex cohortex\n";
}

std::string zshValues(Completes completes)
{
    switch (completes) {
    case Completes::Files:
        return "_files";
    case Completes::WorkspaceNumbers:
        return "(1 2 3 4 5 6 7 8 9)";
    case Completes::Shells:
        return "(bash zsh)";
    case Completes::Nothing:
        break;
    }
    return " ";
}

std::string zshCompletion()
{
    std::string specs;
    for (const auto& option : actionOptions) {
        std::string spec(option.name);
        if (!option.valueName.empty())
            spec += "=:" + std::string(option.valueName) + ":" + zshValues(option.completes);
        specs += "  '" + spec + "' \\\n";
    }
    for (const auto& flag : flagOptions) {
        specs += "  '" + std::string(flag.name) + "' \\\n";
        if (!flag.shortName.empty())
            specs += "  '" + std::string(flag.shortName) + "' \\\n";
    }
    return "#compdef cohortex\n"
           "# Completion of cohortex's options and their values, and of workspace files.\n"
           "_arguments \\\n"
        + specs + "  '*:link or workspace file:_files -g \"*.cohortex\"'\n";
}

} // namespace

std::optional<std::string> immediateAnswer(const CommandLineInvocation& invocation, std::string_view version)
{
    switch (invocation.action) {
    case Action::Help:
        return std::string(commandLineUsage());
    case Action::Version:
        return "cohortex " + std::string(version) + "\n";
    case Action::ShellCompletion:
        return shellCompletion(invocation.shell);
    default:
        return std::nullopt;
    }
}

std::string shellCompletion(std::string_view shell)
{
    if (shell == "bash")
        return bashCompletion();
    if (shell == "zsh")
        return zshCompletion();
    return "";
}

} // namespace cohortex
