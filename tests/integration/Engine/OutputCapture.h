#pragma once

#include "Support/Log.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace cohortex {

// Everything the process says while this lives: each message of the application's log at every level,
// and all that reaches standard error, where GLib's own warnings and those of the engine's processes
// started meanwhile go. Standard error is written to the file and put back afterwards.
class OutputCapture {
public:
    explicit OutputCapture(std::filesystem::path file)
        : m_file(std::move(file))
    {
        std::fflush(stderr);
        int capture = ::open(m_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (capture < 0)
            throw std::runtime_error("Cannot create " + m_file.string());
        m_standardError = ::dup(STDERR_FILENO);
        ::dup2(capture, STDERR_FILENO);
        ::close(capture);
        m_previousSink
            = setLogSink([this](LogLevel, std::string_view message) { m_logMessages.emplace_back(message); });
    }
    ~OutputCapture()
    {
        std::fflush(stderr);
        ::dup2(m_standardError, STDERR_FILENO);
        ::close(m_standardError);
        setLogSink(std::move(m_previousSink));
    }
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    const std::vector<std::string>& logMessages() const { return m_logMessages; }
    // One string per line written to standard error so far.
    std::vector<std::string> standardErrorLines() const
    {
        std::fflush(stderr);
        auto bytes = readFile(m_file);
        std::istringstream text(std::string(bytes.begin(), bytes.end()));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

private:
    std::filesystem::path m_file;
    std::vector<std::string> m_logMessages;
    LogSink m_previousSink;
    int m_standardError{ -1 };
};

} // namespace cohortex
