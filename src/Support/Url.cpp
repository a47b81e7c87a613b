#include "Support/Url.h"

#include <algorithm>
#include <boost/url.hpp>
#include <charconv>
#include <limits>

namespace cohortex {

namespace urls = boost::urls;

namespace {

// Only text that parsed is ever stored, so each accessor parses it again instead of keeping a Boost
// view next to the string: parsing is linear and allocation-free, copies stay plain string copies,
// and this header stays free of Boost for everything that includes it.
urls::url_view viewOf(const std::string& text)
{
    return urls::parse_uri_reference(text).value();
}

// The encoded path without the one trailing "/" that ends a directory path; the root keeps it.
std::string_view trimmedEncodedPath(urls::url_view view)
{
    std::string_view path = view.encoded_path();
    if (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

std::string decoded(std::string_view encoded)
{
    return urls::pct_string_view(encoded).decode();
}

char lowerAscii(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a') : character;
}

} // namespace

std::optional<Url> Url::parse(std::string_view text)
{
    if (text.empty() || !urls::parse_uri_reference(text))
        return std::nullopt;
    return Url(std::string(text));
}

Url Url::fileURL(std::string_view absolutePath, bool isDirectory)
{
    static constexpr auto pathChars = urls::pchars + '/';
    std::string text = "file://";
    if (!absolutePath.starts_with('/'))
        text += '/';
    text += urls::encode(absolutePath, pathChars);
    if (isDirectory && !text.ends_with('/'))
        text += '/';
    return Url(std::move(text));
}

std::string Url::scheme() const
{
    // The text is a valid reference, and a relative one cannot have a ':' before its first '/', '?'
    // or '#'; so the scheme is simply what precedes the first ':', read without parsing again. Tab
    // snapshots and link routing ask for it for every tab.
    auto end = m_text.find_first_of(":/?#");
    if (end == std::string::npos || m_text[end] != ':')
        return {};
    std::string result = m_text.substr(0, end);
    std::ranges::transform(result, result.begin(), lowerAscii);
    return result;
}

std::optional<std::string> Url::host() const
{
    auto view = viewOf(m_text);
    if (!view.has_authority())
        return std::nullopt;
    std::string host = view.host_address();
    if (host.empty())
        return std::nullopt;
    return host;
}

std::optional<std::uint16_t> Url::port() const
{
    auto view = viewOf(m_text);
    if (!view.has_port())
        return std::nullopt;
    std::string_view digits = view.port();
    unsigned value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()
        || value > std::numeric_limits<std::uint16_t>::max())
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::string Url::path() const
{
    return decoded(trimmedEncodedPath(viewOf(m_text)));
}

std::string Url::query() const
{
    return std::string(viewOf(m_text).encoded_query());
}

bool Url::isFileURL() const
{
    return scheme() == "file";
}

std::string Url::filePath() const
{
    if (!isFileURL())
        return {};
    std::string path = viewOf(m_text).encoded_path().decode();
    if (path.find('\0') != std::string::npos)
        return {};
    return path;
}

std::string Url::lastPathComponent() const
{
    std::string_view path = trimmedEncodedPath(viewOf(m_text));
    if (path == "/")
        return {};
    auto slash = path.rfind('/');
    return decoded(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Url::pathExtension() const
{
    std::string component = lastPathComponent();
    auto dot = component.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == component.size())
        return {};
    // A decoded "%2F" after the dot belongs to the name, not to an extension.
    std::string extension = component.substr(dot + 1);
    return extension.find('/') == std::string::npos ? extension : std::string();
}

} // namespace cohortex
