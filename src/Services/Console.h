#pragma once

#include "Support/Task.h"

#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// The terminal a command was typed in. The application runs a command either in its own process or on
// behalf of a second `cohortex` started from a shell, so output and questions go through this rather than
// straight to the standard streams. Texts are passed as they are: callers end their lines themselves.
class Console {
public:
    virtual ~Console() = default;

    virtual void out(std::string_view) = 0;
    virtual void error(std::string_view) = 0;
    // One line without its line break; nothing at the end of input.
    virtual Task<std::optional<std::string>> readLine() = 0;
};

} // namespace cohortex
