#pragma once

#include "Support/Url.h"
#include "Support/Uuid.h"

#include <string>

namespace cohortex {

// One tab of a workspace. Tabs are never stored as such: only their addresses survive a quit.
struct BrowserTab {
    Uuid id;
    Url url;
    std::string title;

    bool operator==(const BrowserTab&) const = default;
};

} // namespace cohortex
