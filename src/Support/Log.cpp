#include "Support/Log.h"

#include <cstdio>
#include <utility>

namespace cohortex {

namespace {

LogSink& installedSink()
{
    static LogSink sink;
    return sink;
}

const char* levelName(LogLevel level)
{
    switch (level) {
    case LogLevel::Debug:
        return "debug";
    case LogLevel::Info:
        return "info";
    case LogLevel::Warning:
        return "warning";
    case LogLevel::Error:
        return "error";
    }
    return "log";
}

} // namespace

void log(LogLevel level, std::string_view message)
{
    if (auto& sink = installedSink()) {
        sink(level, message);
        return;
    }
    std::fprintf(
        stderr, "cohortex: %s: %.*s\n", levelName(level), static_cast<int>(message.size()), message.data());
}

LogSink setLogSink(LogSink sink)
{
    return std::exchange(installedSink(), std::move(sink));
}

} // namespace cohortex
