#include "Models/UnusableProxyPage.h"

#include "Models/LocalPage.h"

namespace cohortex {

std::optional<std::string> unusableProxyPage(const WorkspaceSession& workspace)
{
    if (!workspace.hasUnusableProxy())
        return std::nullopt;
    return renderLocalPage({ .title = unusableProxyTitle,
        .heading = "This workspace's proxy can't be used",
        .paragraphs = { "Its port, " + std::to_string(*workspace.proxyPort)
                + ", is not a port between 1 and 65535. Rather than send this workspace's pages around the "
                  "proxy you set, Cohortex loads nothing here.",
            "Open this workspace's settings and enter the proxy's port to go online again." },
        .buttons = {},
        .details = {},
        .detailButtons = {} });
}

} // namespace cohortex
