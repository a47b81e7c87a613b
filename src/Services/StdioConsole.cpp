#include "Services/StdioConsole.h"

#include <iostream>

namespace cohortex {

StdioConsole::StdioConsole()
    : StdioConsole(std::cin, std::cout, std::cerr)
{
}

StdioConsole::StdioConsole(std::istream& input, std::ostream& output, std::ostream& errors)
    : m_input(input)
    , m_output(output)
    , m_errors(errors)
{
}

void StdioConsole::out(std::string_view text)
{
    m_output << text << std::flush;
}

void StdioConsole::error(std::string_view text)
{
    m_errors << text << std::flush;
}

Task<std::optional<std::string>> StdioConsole::readLine()
{
    std::string line;
    if (!std::getline(m_input, line))
        co_return std::nullopt;
    co_return line;
}

} // namespace cohortex
