#pragma once

#include "Models/WorkspaceSession.h"
#include "Support/Translation.h"

#include <optional>
#include <string>

namespace cohortex {

// The page every tab of a workspace shows while its proxy cannot be used (see hasUnusableProxy): what is
// wrong and how to mend it, in place of a page that would have gone around the proxy. Nothing for a
// workspace whose proxy is fine, or that has none.
std::optional<std::string> unusableProxyPage(const WorkspaceSession&);

inline constexpr const char* unusableProxyTitle = N_("Proxy can't be used");

} // namespace cohortex
