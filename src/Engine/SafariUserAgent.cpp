#include "Engine/SafariUserAgent.h"

namespace cohortex::SafariUserAgent {

namespace {

constexpr auto fallbackVersion = "17.4";
// The build token does not follow the version; Safari has sent this one for years.
constexpr auto safariBuild = " Safari/605.1.15";

} // namespace

std::optional<std::string> installedSafariVersion()
{
    // Deliberately no probing: another browser's version on this machine says nothing about the
    // engine pages will meet, and a fixed answer keeps the user agent the same on every machine.
    return std::nullopt;
}

std::string make(std::optional<std::string> version)
{
    if (!version || version->empty())
        version = fallbackVersion;
    return "Version/" + *version + safariBuild;
}

std::string appendTo(std::string_view engineUserAgent, std::string_view applicationName)
{
    constexpr std::string_view engineToken = "(KHTML, like Gecko)";
    auto token = engineUserAgent.find(engineToken);
    auto prefix = token == std::string_view::npos ? engineUserAgent
                                                  : engineUserAgent.substr(0, token + engineToken.size());
    return std::string(prefix) + " " + std::string(applicationName);
}

} // namespace cohortex::SafariUserAgent
