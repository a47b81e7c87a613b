#include "Engine/NavigationPolicy.h"

#include "Support/Translation.h"
#include "Support/Url.h"

#include <algorithm>
#include <cctype>

namespace cohortex::NavigationPolicy {

namespace {

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::ranges::transform(result, result.begin(), [](unsigned char byte) { return std::tolower(byte); });
    return result;
}

// The scheme as RFC 3986 spells it: a letter, then letters, digits, "+", "-" or ".", before the first ":".
// Read by hand, since a link with a stray space is no valid URI but still names its scheme.
std::string schemeOf(std::string_view uri)
{
    auto colon = uri.find(':');
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(uri[0])))
        return "";
    auto scheme = uri.substr(0, colon);
    bool valid = std::ranges::all_of(scheme,
        [](unsigned char byte) { return std::isalnum(byte) || byte == '+' || byte == '-' || byte == '.'; });
    return valid ? lowered(scheme) : "";
}

std::string hostOr(std::string_view uri, std::string_view fallback)
{
    auto url = Url::parse(uri);
    auto host = url ? url->host() : std::nullopt;
    return host ? *host : std::string(fallback);
}

} // namespace

bool opensInSystem(std::string_view uri)
{
    auto scheme = schemeOf(uri);
    return scheme == "mailto" || scheme == "tel";
}

std::string otherApplicationScheme(std::string_view uri)
{
    constexpr std::string_view shownHere[]
        = { "http", "https", "about", "data", "blob", "file", "javascript", "mailto", "tel" };
    auto scheme = schemeOf(uri);
    return std::ranges::find(shownHere, scheme) == std::end(shownHere) ? scheme : "";
}

bool isAttachment(std::string_view contentDisposition)
{
    return lowered(contentDisposition).starts_with("attachment");
}

std::string popupTitle(std::string_view uri)
{
    // TRANSLATORS: the title of a pop-up window opened on a blank page, usually to sign in somewhere.
    return hostOr(uri, _("Sign in"));
}

std::string scriptDialogTitle(std::string_view uri)
{
    return hostOr(uri, "Cohortex");
}

} // namespace cohortex::NavigationPolicy
