#pragma once

#include <functional>
#include <string_view>

namespace cohortex {

enum class LogLevel { Debug, Info, Warning, Error };

// Messages go to standard error unless a sink is installed (tests install one to read what was logged).
// Callers never pass secrets: cookie values, blobs and passwords stay out of every message.
using LogSink = std::function<void(LogLevel, std::string_view)>;

void log(LogLevel, std::string_view message);
inline void logWarning(std::string_view message)
{
    log(LogLevel::Warning, message);
}
inline void logError(std::string_view message)
{
    log(LogLevel::Error, message);
}

// Returns the sink that was installed before, so a test can put it back.
LogSink setLogSink(LogSink);

} // namespace cohortex
