#include "Models/UnusableProxyPage.h"

#include "Models/LocalPage.h"
#include "Support/Translation.h"

namespace cohortex {

std::optional<std::string> unusableProxyPage(const WorkspaceSession& workspace)
{
    if (!workspace.hasUnusableProxy())
        return std::nullopt;
    // TRANSLATORS: {} is the port number the user entered for the proxy.
    auto portProblem = fillIn(_("Its port, {}, is not a port between 1 and 65535. Rather than send this "
                                "workspace's pages around the proxy you set, Cohortex loads nothing here."),
        std::to_string(*workspace.proxyPort));
    return renderLocalPage({ .title = _(unusableProxyTitle),
        .heading = _("This workspace's proxy can't be used"),
        .paragraphs = { std::move(portProblem),
            _("Open this workspace's settings and enter the proxy's port to go online again.") },
        .buttons = {},
        .details = {},
        .detailButtons = {} });
}

} // namespace cohortex
