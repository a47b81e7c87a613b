#pragma once

#include "Support/Task.h"
#include "Support/Translation.h"

#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// Whether the desktop hands web links to Cohortex, and the request to make it do so.
class DefaultBrowser {
public:
    virtual ~DefaultBrowser() = default;

    // Whether the application the system opens https links with is this one.
    virtual bool isDefaultBrowser() const = 0;
    // Asks to become the handler of http links, then of https links, stopping at the first failure.
    // Completes with nothing on success, or with the system's description of what went wrong.
    virtual Task<std::optional<std::string>> makeDefault() = 0;
};

// The line the Links settings show under the default-browser row when a change failed.
inline std::string defaultBrowserChangeFailure(std::string_view systemMessage)
{
    // TRANSLATORS: {} is the system's own description of what went wrong.
    return fillIn(_("Couldn't change it: {}"), systemMessage);
}

} // namespace cohortex
