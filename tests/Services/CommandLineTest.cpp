#include "Services/CommandLine.h"

#include "Fakes/RecordingConsole.h"
#include "Models/WorkspaceImport.h"
#include "Services/CommandRunner.h"
#include "Services/SessionManagerFixture.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>

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
        Refused{ { "--workspace", "Mail", "Team.cohortex" }, "Not an http or https link: Team.cohortex" },
        // A forgotten value is not taken from the option after it.
        Refused{ { "--export-layout", "--json" }, "--export-layout needs a file." },
        Refused{ { "--list-workspaces", "--export-layout", "out.cohortex" },
            "--list-workspaces and --export-layout can't be used together." },
        Refused{ { "file:///home/ada/notes.txt" }, "Not an http or https link: file:///home/ada/notes.txt" },
        Refused{ { "--open-workspace", "10" }, "--open-workspace needs a workspace number from 1 to 9." }));

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
        Accepted{ { "--workspace", "Client Work", "https://a.example/", "http://b.example/" },
            Action::OpenInWorkspace, { "https://a.example/", "http://b.example/" }, "Client Work" },
        Accepted{ { "--json", "--which-workspace", "https://a.example/p" }, Action::WhichWorkspace,
            { "https://a.example/p" }, "", "", true },
        Accepted{ { "--export-layout", "out/Setup.cohortex" }, Action::ExportLayout, {}, "",
            "/home/ada/work/out/Setup.cohortex" },
        Accepted{ { "-y", "--import-layout=/tmp/in.cohortex" }, Action::ImportLayout, {}, "",
            "/tmp/in.cohortex", false, true },
        Accepted{ .arguments = { "--open-workspace=9" },
            .action = Action::RunCommand,
            .command = "open-workspace",
            .argument = 9 }));

class CommandLineRunnerTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        runner = std::make_unique<CommandRunner>(*manager, timeTracker, *team);
    }

    // The exit status, once everything the command started has run; nothing while it still waits.
    std::optional<int> run(std::vector<std::string> arguments)
    {
        auto status = runner->run(*parseCommandLine(arguments, directory), console);
        queue.runPending();
        return status.isDone() ? std::optional(status.result()) : std::nullopt;
    }

    Json runJson(std::vector<std::string> arguments)
    {
        arguments.push_back("--json");
        EXPECT_EQ(run(std::move(arguments)), 0);
        return Json::parse(std::exchange(console.output, ""));
    }

    static std::string read(const std::filesystem::path& file)
    {
        std::ifstream stream(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), {});
    }

    // A bundle from someone else's setup: one Design workspace with one rule.
    std::filesystem::path teammateBundle()
    {
        auto file = directory / "Team.cohortex";
        auto design = workspace("Design", 1);
        auto bundle = WorkspaceBundle::make(std::vector{ design },
            std::vector{ RoutingRule{ Uuid::random(), "figma.example", design.id } }, queue.now());
        std::ofstream(file, std::ios::binary) << bundle.encoded();
        return file;
    }

    std::unique_ptr<CommandRunner> runner;
    testing::RecordingConsole console;
    TemporaryDirectory temporary;
    const std::filesystem::path& directory = temporary.path();
};

// The decision itself is proved in SessionManagerLinksTest; here, how each reason is printed.
TEST_F(CommandLineRunnerTest, WhichWorkspaceNamesTheDecisionAndItsReason)
{
    const std::string link = "https://rooms.chat.example/42";
    auto expect = [&](std::string name, std::string reason, std::string plain) {
        SCOPED_TRACE(reason);
        auto answer = runJson({ "--which-workspace", link });
        EXPECT_EQ(answer["id"], manager->targetWorkspace(url(link))->id.string());
        EXPECT_EQ(answer["name"], name);
        EXPECT_EQ(answer["reason"], reason);
        EXPECT_EQ(run({ "--which-workspace", link }), 0);
        EXPECT_EQ(console.output, plain + "\n");
        console.output.clear();
        return answer;
    };
    manager->setLinkFallbackWorkspaceId(vault.id);
    expect("Vault", "fallback", "Vault \u2014 fallback");
    routingRules.addRule("https://www.Chat.Example/", chat.id);
    EXPECT_EQ(expect("Chat", "rule", "Chat \u2014 rule chat.example")["pattern"], "chat.example");
}

TEST_F(CommandLineRunnerTest, ListsWorkspacesInListOrderInAlignedColumnsAndAsJson)
{
    chat.name = "Chat\x1b[2J";
    chat.initialURL = url("https://chat.example.org/");
    manager->updateWorkspace(chat);
    EXPECT_EQ(run({ "--list-workspaces" }), 0);
    EXPECT_EQ(console.output,
        "1  Mail         https://1.example.com/\n"
        "2  Chat\\x1B[2J  https://chat.example.org/\n"
        "3  Vault        https://3.example.com/     locked\n");
    console.output.clear();

    chat.shortcutIndex = 0;
    chat.keepAwake = true;
    chat.proxyHost = "127.0.0.1";
    chat.proxyPort = 8080;
    manager->updateWorkspace(chat);
    auto answer = runJson({ "--list-workspaces" });
    EXPECT_EQ(answer[0]["id"], mail.id.string());
    EXPECT_EQ(answer[1]["shortcutIndex"], nullptr);
    EXPECT_EQ(answer[1]["hasProxy"], true);
}

// Names come from the user and from imported files: whatever a command prints of them reaches the
// terminal escaped, in plain text (see above) and in JSON alike.
TEST_F(CommandLineRunnerTest, PrintedNamesReachTheTerminalEscaped)
{
    chat.name = "\u202egnp.exe\x1b]0;x\x07\u2028";
    manager->updateWorkspace(chat);
    routingRules.addRule("chat.example", chat.id);
    for (auto [arguments, expected] : std::initializer_list<std::pair<std::vector<std::string>, std::string>>{
             { { "--list-workspaces", "--json" }, "\\u202egnp.exe\\u001b]0;x\\u0007\\u2028" },
             { { "--which-workspace", "https://chat.example/" }, "\\u202Egnp.exe" },
             { { "--workspace", "No\x1b[2Jbody" }, "\"No\\x1B[2Jbody\"" } }) {
        console.output.clear();
        console.errors.clear();
        run(arguments);
        auto printed = console.output + console.errors;
        EXPECT_NE(printed.find(expected), std::string::npos) << printed;
        for (auto raw : { "\u202e", "\x1b", "\x07", "\u2028" })
            EXPECT_EQ(printed.find(raw), std::string::npos) << printed;
    }
}

TEST_F(CommandLineRunnerTest, OpensLinksInTheNamedWorkspaceWhateverTheRulesOrJustShowsIt)
{
    EXPECT_EQ(run({ "--workspace", "Nowhere", "https://a.example/" }), 1);
    EXPECT_EQ(runtime.loadedCount(), 0u);
    EXPECT_EQ(run({ "--workspace", "Chat" }), 0);
    EXPECT_EQ(addresses(chat.id), (std::vector<std::string>{ "https://2.example.com/" }));

    manager->openWorkspace(mail);
    routingRules.addRule("a.example", mail.id);
    EXPECT_EQ(run({ "--workspace", "chat", "https://a.example/1", "https://a.example/2" }), 0);
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_EQ(addresses(chat.id),
        (std::vector<std::string>{ "https://2.example.com/", "https://a.example/1", "https://a.example/2" }));
}

// Anything but a yes, or no answer at all, imports nothing; the yes comes last as it changes the list.
TEST_F(CommandLineRunnerTest, ImportsOnlyWhenTheUserSaysYes)
{
    for (auto [typed, imports] : std::initializer_list<std::pair<std::optional<std::string>, bool>>{
             { "yep", false }, { std::nullopt, false }, { " YES ", true } }) {
        console.output.clear();
        if (typed)
            console.answers.push_back(*typed);
        auto writes = defaults.writeCount();
        auto status = run({ "--import-layout", teammateBundle().string() });
        EXPECT_NE(console.output.find("\u2022 Design \u2014 1.example.com\n"), std::string::npos);
        EXPECT_EQ(status, imports ? 0 : 1);
        if (imports)
            EXPECT_TRUE(console.output.ends_with("[y/N] Imported 1 workspace\n1 link rule added.\n"));
        else
            EXPECT_EQ(defaults.writeCount(), writes);
    }
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(CommandLineRunnerTest, YesImportsWithoutAsking)
{
    EXPECT_EQ(run({ "--import-layout", teammateBundle().string(), "--yes" }), 0);
    EXPECT_EQ(console.questions, 0);
    EXPECT_EQ(list().back().name, "Design");
}

TEST_F(CommandLineRunnerTest, AFileThatCannotBeReadPrintsTheOneErrorAndImportsNothing)
{
    std::ofstream(directory / "Broken.cohortex") << R"({"workspaces": 3})";
    EXPECT_EQ(run({ "--import-layout", "Broken.cohortex", "--yes" }), 1);
    EXPECT_EQ(console.errors, "Couldn't read that file\nIt isn't a valid Cohortex workspace file.\n");
    EXPECT_EQ(list().size(), 3u);
}

// What an import of it adds is proved in TeamSharingTest.
TEST_F(CommandLineRunnerTest, ExportsTheLayoutTheWindowWouldExportAndTimeWithTheCurrentNames)
{
    routingRules.addRule("chat.example", chat.id);
    EXPECT_EQ(run({ "--export-layout", "Mine.cohortex" }), 0);
    EXPECT_EQ(console.output, "Exported 3 workspaces.\n");
    EXPECT_EQ(read(directory / "Mine.cohortex"), team->exportData());

    timeTracker.tick(chat.id, true, true, 0, Date(1000), *Calendar::inTimeZone("UTC"));
    chat.name = "Chat, Inc.";
    manager->updateWorkspace(chat);
    EXPECT_EQ(run({ "--export-time-csv", "time.csv" }), 0);
    EXPECT_EQ(read(directory / "time.csv"), "Date,Workspace,Hours\n2001-01-01,\"Chat, Inc.\",0.00\n");
}

// Lets this process write no more than a few bytes to any file, so writing fails as on a full disk.
class FileSizeLimit {
public:
    FileSizeLimit()
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = m_saved;
        tiny.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int){ nullptr };
};

TEST_F(CommandLineRunnerTest, AFailedWriteLeavesTheEarlierFileInPlace)
{
    for (auto option : { "--export-layout", "--export-time-csv" }) {
        auto file = directory / "Earlier";
        std::ofstream(file) << "earlier";
        console.errors.clear();
        std::optional<int> status;
        {
            FileSizeLimit limit;
            status = run({ option, file.string() });
        }
        EXPECT_EQ(status, 1) << option;
        EXPECT_EQ(console.errors, "Couldn't save: File too large\n") << option;
        EXPECT_EQ(read(file), "earlier") << option;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory), {}), 1) << option;
    }
}

} // namespace
} // namespace cohortex
