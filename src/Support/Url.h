#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// A URI reference (RFC 3986), absolute or relative, kept exactly as written. Two URLs are equal when
// their text is equal: nothing is normalised, so what was stored is what is compared and written back.
class Url {
public:
    // Accepts any valid URI reference except the empty one, which is valid but names nothing.
    static std::optional<Url> parse(std::string_view text);

    // A "file:///..." URL for a local path; characters that may not appear in a path are
    // percent-encoded. A path without a leading "/" is taken from the root, since "file://" followed
    // by a relative path would read its first component as a host. isDirectory ensures a trailing "/".
    static Url fileURL(std::string_view absolutePath, bool isDirectory);

    const std::string& absoluteString() const { return m_text; }

    // Lower-cased; "" when the URL has no scheme.
    std::string scheme() const;
    // Percent-decoded, case as written, IPv6 literals without brackets. Nothing when the URL has no authority
    // or the host is empty ("file:///x"), so callers never have to tell the two apart.
    std::optional<std::string> host() const;
    // Any decimal port from 0 to 65535; nothing when absent, empty or out of range.
    std::optional<std::uint16_t> port() const;
    // Percent-decoded. One trailing "/" after a longer path is dropped ("/a/b/" is "/a/b"), the root
    // stays "/", and a URL without a path gives "".
    std::string path() const;
    // Still percent-encoded, without the "?"; "" when there is none.
    std::string query() const;

    bool isFileURL() const;
    // The percent-decoded path of a file URL, trailing "/" kept. "" for other URLs and for paths that
    // decode to a NUL byte, which no file can have.
    std::string filePath() const;
    // The percent-decoded last segment of the path, ignoring one trailing "/"; "" when there is none.
    std::string lastPathComponent() const;
    // What follows the last "." of the last path component; "" when there is no dot, the dot leads
    // (".bashrc") or ends it ("file.").
    std::string pathExtension() const;

    bool operator==(const Url& other) const { return m_text == other.m_text; }

private:
    explicit Url(std::string text)
        : m_text(std::move(text))
    {
    }

    std::string m_text;
};

} // namespace cohortex

template <>
struct std::hash<cohortex::Url> {
    std::size_t operator()(const cohortex::Url& url) const noexcept
    {
        return std::hash<std::string>{}(url.absoluteString());
    }
};
