#include "Services/SessionManager.h"

namespace cohortex {

Task<void> SessionManager::openInWorkspace(Uuid workspaceId, std::vector<Url> urls)
{
    std::erase_if(urls, [](const Url& url) { return url.scheme() != "http" && url.scheme() != "https"; });
    auto target = workspace(workspaceId);
    if (!target)
        co_return;
    // A locked workspace asks its owner once for all the links; a refusal drops them all.
    co_await openInto(*target, std::move(urls), true);
}

} // namespace cohortex
