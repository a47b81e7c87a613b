#include "LaunchedProgram.h"

#include "integration/Engine/MainLoop.h"

#include <atomic>
#include <csignal>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace cohortex {

namespace {

std::string readText(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return { std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>() };
}

std::vector<const char*> nullTerminated(const std::vector<std::string>& strings)
{
    std::vector<const char*> pointers;
    for (const auto& string : strings)
        pointers.push_back(string.c_str());
    pointers.push_back(nullptr);
    return pointers;
}

// Several programs of one test may log into the same directory, so each gets a number of its own.
std::filesystem::path logFile(const std::filesystem::path& directory, pid_t self, const char* suffix)
{
    static std::atomic<int> s_counter{ 0 };
    return directory / ("program-" + std::to_string(self) + "-" + std::to_string(++s_counter) + suffix);
}

} // namespace

std::string ProgramOutcome::describe() const
{
    std::string how = !hasEnded ? "still running"
        : exitedNormally        ? "exit status " + std::to_string(exitStatus)
                                : "killed by signal " + std::to_string(signal);
    return how + "; standard error:\n" + errors;
}

LaunchedProgram::LaunchedProgram(const std::vector<std::string>& arguments,
    const std::vector<std::string>& environment, const std::filesystem::path& workingDirectory)
    : m_outputFile(logFile(workingDirectory, ::getpid(), ".out"))
    , m_errorFile(logFile(workingDirectory, ::getpid(), ".err"))
{
    GObjectPtr<GSubprocessLauncher> launcher(g_subprocess_launcher_new(G_SUBPROCESS_FLAGS_NONE));
    auto environ = nullTerminated(environment);
    g_subprocess_launcher_set_environ(launcher.get(), const_cast<char**>(environ.data()));
    g_subprocess_launcher_set_cwd(launcher.get(), workingDirectory.c_str());
    g_subprocess_launcher_set_stdout_file_path(launcher.get(), m_outputFile.c_str());
    g_subprocess_launcher_set_stderr_file_path(launcher.get(), m_errorFile.c_str());
    auto argv = nullTerminated(arguments);
    GErrorPtr error;
    m_process
        = GObjectPtr<GSubprocess>(g_subprocess_launcher_spawnv(launcher.get(), argv.data(), error.out()));
    if (!m_process)
        throw std::runtime_error("Cannot start " + arguments.front() + ": " + error.message());
    // A program that ended at once has been reaped already and has no identifier any more.
    if (const char* identifier = g_subprocess_get_identifier(m_process.get()))
        m_pid = static_cast<pid_t>(std::stol(identifier));
    g_subprocess_wait_async(
        m_process.get(), nullptr,
        [](GObject*, GAsyncResult*, gpointer flag) {
            std::unique_ptr<std::shared_ptr<bool>> hasEnded(static_cast<std::shared_ptr<bool>*>(flag));
            **hasEnded = true;
        },
        new std::shared_ptr<bool>(m_hasEnded));
}

LaunchedProgram::~LaunchedProgram()
{
    if (isRunning()) {
        g_subprocess_force_exit(m_process.get());
        runUntil([this] { return !isRunning(); }, std::chrono::seconds(5));
    }
}

ProgramOutcome LaunchedProgram::run(const std::vector<std::string>& arguments,
    const std::vector<std::string>& environment, const std::filesystem::path& workingDirectory,
    std::chrono::milliseconds limit)
{
    LaunchedProgram program(arguments, environment, workingDirectory);
    return program.waitForEnd(limit);
}

std::string LaunchedProgram::errors() const
{
    return readText(m_errorFile);
}

ProgramOutcome LaunchedProgram::waitForEnd(std::chrono::milliseconds limit)
{
    runUntil([this] { return !isRunning(); }, limit);
    return outcome();
}

ProgramOutcome LaunchedProgram::terminate(std::chrono::milliseconds limit)
{
    signal(SIGTERM);
    return waitForEnd(limit);
}

void LaunchedProgram::signal(int number)
{
    if (isRunning())
        g_subprocess_send_signal(m_process.get(), number);
}

ProgramOutcome LaunchedProgram::outcome() const
{
    ProgramOutcome result;
    result.output = readText(m_outputFile);
    result.errors = errors();
    result.hasEnded = !isRunning();
    if (!result.hasEnded)
        return result;
    result.exitedNormally = g_subprocess_get_if_exited(m_process.get());
    if (result.exitedNormally)
        result.exitStatus = g_subprocess_get_exit_status(m_process.get());
    else if (g_subprocess_get_if_signaled(m_process.get()))
        result.signal = g_subprocess_get_term_sig(m_process.get());
    return result;
}

} // namespace cohortex
