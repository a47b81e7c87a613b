#include "Services/CommandLine.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using Action = CommandLineInvocation::Action;

std::expected<CommandLineInvocation, std::string> parse(const std::vector<std::string>& arguments)
{
    return parseCommandLine(arguments, "/home/ada/work");
}

struct Refused {
    std::vector<std::string> arguments;
    std::string message;
};

class CommandLineRefusalTest : public ::testing::TestWithParam<Refused> { };

TEST_P(CommandLineRefusalTest, SaysWhatIsWrong)
{
    auto parsed = parse(GetParam().arguments);
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.error(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(CommandLine, CommandLineRefusalTest,
    ::testing::Values(
        // What the user typed is quoted back escaped, so it cannot retitle or scramble the terminal.
        Refused{ { "--\x1b]0;owned\x07" }, "Unknown option: --\\x1B]0;owned\\x07 (see cohortex --help)" },
        Refused{ { "https://a.example/\u202e" }, "Not an http or https link: https://a.example/\\u202E" },
        Refused{ { "--workspace" }, "--workspace needs a workspace name." },
        Refused{ { "--workspace", "Mail", "Team.cohortex" }, "Not an http or https link: Team.cohortex" },
        Refused{ { "--which-workspace" }, "--which-workspace needs a link." },
        // A forgotten value is not taken from the option after it.
        Refused{ { "--export-layout", "--json" }, "--export-layout needs a file." },
        Refused{ { "--list-workspaces", "--export-layout", "out.cohortex" },
            "--list-workspaces and --export-layout can't be used together." },
        Refused{ { "--list-workspaces=all" }, "--list-workspaces takes no value." },
        Refused{ { "--json", "https://a.example/" },
            "--json only goes with --which-workspace or --list-workspaces." },
        Refused{ { "--export-layout", "out.cohortex", "--yes" }, "--yes only goes with --import-layout." },
        Refused{ { "file:///home/ada/notes.txt" }, "Not an http or https link: file:///home/ada/notes.txt" },
        Refused{ { "example.com" }, "Not an http or https link or a .cohortex file: example.com" },
        Refused{ { "" }, "An empty argument is neither a link nor a file." },
        Refused{ { "--open-workspace", "10" }, "--open-workspace needs a workspace number from 1 to 9." },
        Refused{ { "--toggle", "https://a.example/" },
            "Unexpected argument: https://a.example/ (see cohortex --help)" },
        Refused{ { "--shell-completion", "fish" }, "No completion for the shell fish (bash or zsh)." }));

struct Accepted {
    std::vector<std::string> arguments;
    Action action;
    std::vector<std::string> urls{};
    std::string workspaceName{};
    std::string file{};
    bool json{ false };
    bool yes{ false };
    // RunCommand: what a desktop binds to a key where the application cannot listen for global shortcuts
    // (the shortcuts' own lines are checked in GlobalShortcutsTest).
    std::string command{};
    std::optional<int> argument{};
};

class CommandLineAcceptanceTest : public ::testing::TestWithParam<Accepted> { };

TEST_P(CommandLineAcceptanceTest, ReadsTheInvocation)
{
    const auto& expected = GetParam();
    auto parsed = parse(expected.arguments);
    ASSERT_TRUE(parsed) << parsed.error();
    EXPECT_EQ(parsed->action, expected.action);
    std::vector<std::string> urls;
    for (const auto& url : parsed->urls)
        urls.push_back(url.absoluteString());
    EXPECT_EQ(urls, expected.urls);
    EXPECT_EQ(parsed->workspaceName, expected.workspaceName);
    EXPECT_EQ(parsed->file, std::filesystem::path(expected.file));
    EXPECT_EQ(parsed->json, expected.json);
    EXPECT_EQ(parsed->yes, expected.yes);
    EXPECT_EQ(parsed->commandName, expected.command);
    EXPECT_EQ(parsed->commandArgument, expected.argument);
    EXPECT_EQ(needsWindow(*parsed),
        expected.action == Action::Open || expected.action == Action::OpenInWorkspace
            || expected.action == Action::RunCommand);
}

INSTANTIATE_TEST_SUITE_P(CommandLine, CommandLineAcceptanceTest,
    ::testing::Values(Accepted{ {}, Action::Open, {} },
        // Relative files are taken from the shell's directory, not this process's.
        Accepted{ { "HTTPS://a.example/x", "Team.cohortex", "../shared/Old Setup.COHORTEX",
                      "file:///srv/Layout.cohortex", "/tmp/b.cohortex" },
            Action::Open,
            { "HTTPS://a.example/x", "file:///home/ada/work/Team.cohortex",
                "file:///home/ada/shared/Old%20Setup.COHORTEX", "file:///srv/Layout.cohortex",
                "file:///tmp/b.cohortex" } },
        Accepted{ { "--", "--odd.cohortex" }, Action::Open, { "file:///home/ada/work/--odd.cohortex" } },
        Accepted{ { "--workspace", "Client Work", "https://a.example/", "http://b.example/" },
            Action::OpenInWorkspace, { "https://a.example/", "http://b.example/" }, "Client Work" },
        Accepted{ { "--json", "--which-workspace", "https://a.example/p" }, Action::WhichWorkspace,
            { "https://a.example/p" }, "", "", true },
        Accepted{ { "--export-layout", "out/Setup.cohortex" }, Action::ExportLayout, {}, "",
            "/home/ada/work/out/Setup.cohortex" },
        Accepted{ { "-y", "--import-layout=/tmp/in.cohortex" }, Action::ImportLayout, {}, "",
            "/tmp/in.cohortex", false, true },
        Accepted{
            { "--export-time-csv", "./time.csv" }, Action::ExportTimeCsv, {}, "", "/home/ada/work/time.csv" },
        // Help wins over anything else typed with it.
        Accepted{ { "--bogus", "--export-layout", "-h" }, Action::Help, {} },
        Accepted{ { "--bogus", "--version" }, Action::Version, {} },
        Accepted{ .arguments = { "--open-workspace=9" },
            .action = Action::RunCommand,
            .command = "open-workspace",
            .argument = 9 },
        Accepted{ .arguments = { "--quit" }, .action = Action::RunCommand, .command = "quit" }));

TEST(CommandLineAnswerTest, HelpVersionAndCompletionNeedNothingElse)
{
    auto answer
        = [](std::vector<std::string> arguments) { return immediateAnswer(*parse(arguments), "2.5.1"); };
    EXPECT_EQ(answer({ "--version" }), "cohortex 2.5.1\n");
    EXPECT_EQ(answer({ "-h" }), std::string(commandLineUsage()));
    EXPECT_EQ(answer({ "--shell-completion=zsh" }), shellCompletion("zsh"));
    EXPECT_EQ(answer({ "--list-workspaces" }), std::nullopt);
}

} // namespace
} // namespace cohortex
