#pragma once

#include "Support/Log.h"

#include <string>
#include <vector>

namespace cohortex {

// Collects warnings and errors while it lives, then puts the previous sink back.
class LogCapture {
public:
    LogCapture()
        : m_previous(setLogSink([this](LogLevel level, std::string_view message) {
            if (level == LogLevel::Warning || level == LogLevel::Error)
                m_messages.emplace_back(message);
        }))
    {
    }
    ~LogCapture() { setLogSink(std::move(m_previous)); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& messages() const { return m_messages; }

private:
    std::vector<std::string> m_messages;
    LogSink m_previous;
};

} // namespace cohortex
