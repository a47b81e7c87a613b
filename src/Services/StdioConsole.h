#pragma once

#include "Services/Console.h"

#include <iosfwd>

namespace cohortex {

// A console over the process's own standard streams, or any other streams a caller hands in. Reading
// blocks until a line is typed; it is meant for commands that run without a window, where nothing else
// waits on the main thread.
class StdioConsole final : public Console {
public:
    StdioConsole();
    StdioConsole(std::istream& input, std::ostream& output, std::ostream& errors);

    void out(std::string_view) override;
    void error(std::string_view) override;
    Task<std::optional<std::string>> readLine() override;

private:
    std::istream& m_input;
    std::ostream& m_output;
    std::ostream& m_errors;
};

} // namespace cohortex
