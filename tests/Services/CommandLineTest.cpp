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

TEST(CommandLineTest, RefusesWhatItCannotRunAndSaysWhy)
{
    for (auto [arguments, message] : std::initializer_list<std::pair<std::vector<std::string>, std::string>>{
             // What the user typed is quoted back escaped, so it cannot retitle or scramble the terminal.
             { { "--\x1b]0;owned\x07" }, "Unknown option: --\\x1B]0;owned\\x07 (see cohortex --help)" },
             { { "--workspace", "Mail", "Team.cohortex" }, "Not an http or https link: Team.cohortex" },
             // A forgotten value is not taken from the option after it.
             { { "--export-layout", "--json" }, "--export-layout needs a file." },
             { { "--list-workspaces", "--export-layout", "out.cohortex" },
                 "--list-workspaces and --export-layout can't be used together." },
             { { "file:///home/ada/notes.txt" }, "Not an http or https link: file:///home/ada/notes.txt" },
             { { "--open-workspace", "10" }, "--open-workspace needs a workspace number from 1 to 9." } }) {
        auto parsed = parse(arguments);
        ASSERT_FALSE(parsed) << message;
        EXPECT_EQ(parsed.error(), message);
    }
}

// Relative files are taken from the shell's directory, not this process's.
TEST(CommandLineTest, ReadsLinksFilesAndTheNamedWorkspace)
{
    auto open = parse(
        { "HTTPS://a.example/x", "Team.cohortex", "../shared/Old Setup.COHORTEX", "/tmp/b.cohortex" });
    ASSERT_TRUE(open);
    EXPECT_TRUE(needsWindow(*open));
    std::vector<std::string> urls;
    for (const auto& url : open->urls)
        urls.push_back(url.absoluteString());
    EXPECT_EQ(urls,
        (std::vector<std::string>{ "HTTPS://a.example/x", "file:///home/ada/work/Team.cohortex",
            "file:///home/ada/shared/Old%20Setup.COHORTEX", "file:///tmp/b.cohortex" }));

    auto named = parse({ "--workspace", "Client Work", "https://a.example/" });
    EXPECT_EQ(named->action, Action::OpenInWorkspace);
    EXPECT_EQ(named->workspaceName, "Client Work");
    auto exported = parse({ "--export-layout", "out/Setup.cohortex" });
    EXPECT_EQ(exported->file, "/home/ada/work/out/Setup.cohortex");
    EXPECT_FALSE(needsWindow(*exported));
    EXPECT_EQ(parse({ "-y", "--import-layout=/tmp/in.cohortex" })->file, "/tmp/in.cohortex");
}

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

// The decision itself is proved in SessionManagerLinksTest; here, how it is printed.
TEST_F(CommandLineRunnerTest, WhichWorkspaceNamesTheDecisionAndItsReason)
{
    routingRules.addRule("https://www.Chat.Example/", chat.id);
    auto answer = runJson({ "--which-workspace", "https://rooms.chat.example/42" });
    EXPECT_EQ(answer["id"], chat.id.string());
    EXPECT_EQ(answer["reason"], "rule");
    EXPECT_EQ(answer["pattern"], "chat.example");
    EXPECT_EQ(run({ "--which-workspace", "https://rooms.chat.example/42" }), 0);
    EXPECT_EQ(console.output, "Chat \u2014 rule chat.example\n");
}

// Names come from the user and from imported files: whatever a command prints of them reaches the
// terminal escaped, in plain text and in JSON alike.
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
