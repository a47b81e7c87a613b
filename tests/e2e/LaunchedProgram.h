#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <chrono>
#include <filesystem>
#include <gio/gio.h>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace cohortex {

struct ProgramOutcome {
    // False when the time limit passed first; the other members then describe nothing.
    bool hasEnded{ false };
    bool exitedNormally{ false };
    int exitStatus{ -1 };
    int signal{ 0 };
    std::string output;
    std::string errors;

    bool succeeded() const { return hasEnded && exitedNormally && exitStatus == 0; }
    std::string describe() const;
};

// Output goes to files (a pipe nobody reads would stall a chatty browser). Waiting runs the default main
// context, so a test's web server keeps answering. A program still running when this goes is killed.
class LaunchedProgram {
public:
    LaunchedProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
        const std::filesystem::path& workingDirectory);
    ~LaunchedProgram();
    LaunchedProgram(const LaunchedProgram&) = delete;
    LaunchedProgram& operator=(const LaunchedProgram&) = delete;

    static ProgramOutcome run(const std::vector<std::string>& arguments,
        const std::vector<std::string>& environment, const std::filesystem::path& workingDirectory,
        std::chrono::milliseconds limit);

    pid_t pid() const { return m_pid; }
    bool isRunning() const { return !*m_hasEnded; }
    std::string errors() const;

    ProgramOutcome waitForEnd(std::chrono::milliseconds limit);
    ProgramOutcome terminate(std::chrono::milliseconds limit);
    void signal(int number);

private:
    ProgramOutcome outcome() const;

    std::filesystem::path m_outputFile;
    std::filesystem::path m_errorFile;
    GObjectPtr<GSubprocess> m_process;
    pid_t m_pid{ 0 };
    // Shared with the wait callback, which may run after this object is gone.
    std::shared_ptr<bool> m_hasEnded{ std::make_shared<bool>(false) };
};

} // namespace cohortex
