#include "Models/WorkspaceSession.h"

#include "Support/Hashing.h"
#include "Support/Text.h"
#include "Support/Translation.h"

namespace cohortex {

WorkspaceSession::WorkspaceSession(Uuid id, std::string name, Url initialURL, std::optional<Url> currentURL,
    std::string iconSymbol, std::string colorHex, std::int64_t shortcutIndex, Uuid storageIdentifier,
    Date createdAt, Date lastActiveAt, std::optional<bool> keepAwake, std::optional<bool> requiresUnlock,
    std::optional<std::string> downloadFolderPath, std::optional<std::string> proxyType,
    std::optional<std::string> proxyHost, std::optional<std::int64_t> proxyPort,
    std::optional<std::string> proxyUsername)
    : id(id)
    , name(std::move(name))
    , initialURL(std::move(initialURL))
    , currentURL(currentURL ? std::move(currentURL) : std::optional<Url>(this->initialURL))
    , iconSymbol(std::move(iconSymbol))
    , colorHex(std::move(colorHex))
    , shortcutIndex(shortcutIndex)
    , storageIdentifier(storageIdentifier)
    , createdAt(createdAt)
    , lastActiveAt(lastActiveAt)
    , keepAwake(keepAwake)
    , requiresUnlock(requiresUnlock)
    , downloadFolderPath(std::move(downloadFolderPath))
    , proxyType(std::move(proxyType))
    , proxyHost(std::move(proxyHost))
    , proxyPort(proxyPort)
    , proxyUsername(std::move(proxyUsername))
{
}

bool WorkspaceSession::hasProxy() const
{
    // The kind is deliberately not consulted: a host and a usable port are what route traffic.
    return proxyHost && !proxyHost->empty() && proxyPort && *proxyPort > 0;
}

bool WorkspaceSession::hasUnusableProxy() const
{
    return hasProxy() && *proxyPort > 65535;
}

std::optional<Url> WorkspaceSession::downloadFolderURL() const
{
    if (!downloadFolderPath || downloadFolderPath->empty())
        return std::nullopt;
    return Url::fileURL(*downloadFolderPath, true);
}

RgbColor WorkspaceSession::displayColor() const
{
    return parseHexColor(colorHex).value_or(standardBlue);
}

namespace {

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::uint64_t> scanHexInteger(std::string_view text)
{
    text = trimWhitespace(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')
        && hexDigitValue(text[2]) >= 0)
        text.remove_prefix(2);
    std::uint64_t value = 0;
    std::size_t digits = 0;
    for (char c : text) {
        int digit = hexDigitValue(c);
        if (digit < 0)
            break;
        // Only the low 24 bits are ever used, so bits shifted out at the top are simply dropped.
        value = (value << 4) | static_cast<std::uint64_t>(digit);
        ++digits;
    }
    if (!digits)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<RgbColor> parseHexColor(std::string_view text)
{
    std::string withoutHashes;
    for (char c : trimWhitespace(text)) {
        if (c != '#')
            withoutHashes.push_back(c);
    }
    auto value = scanHexInteger(withoutHashes);
    if (!value)
        return std::nullopt;
    auto channel = [&](int shift) { return static_cast<double>((*value >> shift) & 0xFF) / 255.0; };
    return RgbColor{ channel(16), channel(8), channel(0) };
}

std::vector<WorkspaceSession> WorkspaceSession::defaultWorkspaces(Date now)
{
    auto preset = [now](std::string name, std::string_view site, std::string icon, std::string color,
                      std::int64_t index) {
        auto url = *Url::parse(site);
        return WorkspaceSession(Uuid::random(), std::move(name), url, url, std::move(icon), std::move(color),
            index, Uuid::random(), now, now);
    };
    // The names are the user's to change; they start out in the user's language.
    return {
        // TRANSLATORS: a workspace made at the first launch; the user may rename it.
        preset(_("Work (Client A)"), "https://mail.google.com/", "briefcase.fill", "#007AFF", 1),
        // TRANSLATORS: a workspace made at the first launch; the user may rename it.
        preset(_("Personal / Client B"), "https://calendar.google.com/", "person.crop.circle.fill", "#34C759",
            2),
        // TRANSLATORS: a workspace made at the first launch; the user may rename it.
        preset(_("Admin / Operations"), "https://app.slack.com/", "shield.checkerboard", "#AF52DE", 3),
    };
}

} // namespace cohortex

std::size_t std::hash<cohortex::WorkspaceSession>::operator()(
    const cohortex::WorkspaceSession& w) const noexcept
{
    cohortex::HashBuilder hash;
    hash.add(w.id).add(w.name).add(w.initialURL).add(w.currentURL).add(w.iconSymbol).add(w.colorHex);
    hash.add(w.shortcutIndex).add(w.storageIdentifier).add(w.createdAt).add(w.lastActiveAt).add(w.keepAwake);
    hash.add(w.requiresUnlock).add(w.downloadFolderPath).add(w.proxyType).add(w.proxyHost).add(w.proxyPort);
    hash.add(w.proxyUsername);
    return hash.value();
}
