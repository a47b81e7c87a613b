#include "Models/UnusableProxyPage.h"

namespace cohortex {

std::optional<std::string> unusableProxyPage(const WorkspaceSession& workspace)
{
    if (!workspace.hasUnusableProxy())
        return std::nullopt;
    // Only the port, a number, comes from the record: nothing here needs escaping.
    return std::string(R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>)") + unusableProxyTitle
        + R"(</title><style>body{font-family:sans-serif;max-width:36em;margin:4em auto;padding:0 1em;)"
          R"(line-height:1.5}</style></head><body><h1>This workspace's proxy can't be used</h1><p>Its port, )"
        + std::to_string(*workspace.proxyPort)
        + R"(, is not a port between 1 and 65535. Rather than send this workspace's pages around the proxy )"
          R"(you set, Cohortex loads nothing here.</p><p>Open this workspace's settings and enter the proxy's )"
          R"(port to go online again.</p></body></html>)";
}

} // namespace cohortex
