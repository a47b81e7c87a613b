#pragma once

#include <optional>
#include <string>
#include <string_view>

// Every tab presents itself as Safari of the installed version: these build the application name that
// the web view appends to the engine's own user-agent prefix.
namespace cohortex::SafariUserAgent {

// The installed Safari's version. Linux has no Safari to read it from, so there is never one.
std::optional<std::string> installedSafariVersion();
// "Version/<version> Safari/605.1.15", with 17.4 standing in for an absent or empty version.
std::string make(std::optional<std::string> version);
// The engine's user agent up to and including its "(KHTML, like Gecko)" token (the whole of it when
// there is none), then a space and the application name. The engine's own trailing browser tokens
// would otherwise contradict the ones appended.
std::string appendTo(std::string_view engineUserAgent, std::string_view applicationName);

} // namespace cohortex::SafariUserAgent
