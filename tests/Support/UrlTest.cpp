#include "Support/Url.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using std::nullopt;
using namespace std::literals;

TEST(UrlTest, ParseAcceptsExactlyUriReferencesAndKeepsTheirText)
{
    for (std::string_view text : { "https://example.com/a?b=c#d"sv, "HTTPS://Example.COM/%7Efoo"sv,
             "foo/bar"sv, "?q=1"sv, "#top"sv, "mailto:a@b.example"sv, "http://[::1]:8080/"sv }) {
        auto url = Url::parse(text);
        ASSERT_TRUE(url) << text;
        EXPECT_EQ(url->absoluteString(), text);
    }
    for (std::string_view text :
        { ""sv, "https://example.com/a b"sv, "%zz"sv, "https://example.com/%4"sv, "http://[::1/"sv,
            "http:\\\\x"sv, "https://example.com/\xC3\xA9"sv, "https://a\0b"sv, " https://example.com"sv })
        EXPECT_FALSE(Url::parse(text)) << text;
}

struct ComponentCase {
    const char* name;
    std::string_view text;
    std::string scheme;
    std::optional<std::string> host;
    std::optional<std::uint16_t> port;
    std::string path;
    std::string query;
    std::string lastPathComponent;
    std::string pathExtension;
};

TEST(UrlTest, ComponentsAreReadAsRouted)
{
    // clang-format off
    for (const auto& expected : {
    ComponentCase{ "NoPath", "https://x.com", "https", "x.com", nullopt, "", "", "", "" },
    ComponentCase{ "Root", "https://x.com/", "https", "x.com", nullopt, "/", "", "", "" },
    ComponentCase{ "TrailingSlashDropped", "https://x.com/a/b/", "https", "x.com", nullopt, "/a/b", "", "b", "" },
    ComponentCase{ "SchemeLowered", "HTTP://X.com:8080/p?q=%20", "http", "X.com", 8080, "/p", "q=%20", "p", "" },
    ComponentCase{ "Ipv6WithoutBrackets", "http://[::1]:80/", "http", "::1", 80, "/", "", "", "" },
    ComponentCase{ "PortTooLarge", "http://x.com:65536/", "http", "x.com", nullopt, "/", "", "", "" },
    ComponentCase{ "PathDecoded", "https://x.com/a%20b/c%2Fd", "https", "x.com", nullopt, "/a b/c/d", "", "c/d", "" },
    ComponentCase{ "BundleDirectory", "file:///tmp/Work.cohortex/", "file", nullopt, nullopt, "/tmp/Work.cohortex", "", "Work.cohortex", "cohortex" },
    ComponentCase{ "Relative", "foo/bar.txt?x", "", nullopt, nullopt, "foo/bar.txt", "x", "bar.txt", "txt" },
    ComponentCase{ "UserInfoNotInHost", "https://me:pw@x.com:443/", "https", "x.com", 443, "/", "", "", "" } }) {
        // clang-format on
        auto url = Url::parse(expected.text);
        ASSERT_TRUE(url) << expected.name;
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(url->scheme(), expected.scheme);
        EXPECT_EQ(url->host(), expected.host);
        EXPECT_EQ(url->port(), expected.port);
        EXPECT_EQ(url->path(), expected.path);
        EXPECT_EQ(url->query(), expected.query);
        EXPECT_EQ(url->lastPathComponent(), expected.lastPathComponent);
        EXPECT_EQ(url->pathExtension(), expected.pathExtension);
    }
}

TEST(UrlTest, FileURLEncodesThePathAndReadsItBack)
{
    struct Case {
        std::string_view path;
        bool isDirectory;
        std::string_view text, filePath;
    };
    // clang-format off
    for (const auto& c : { Case{ "/tmp/a.cohortex", false, "file:///tmp/a.cohortex", "/tmp/a.cohortex" },
             Case{ "/tmp/dir", true, "file:///tmp/dir/", "/tmp/dir/" }, Case{ "tmp/x", false, "file:///tmp/x", "/tmp/x" },
             Case{ "/a b/%/?#/\xC3\xA9", false, "file:///a%20b/%25/%3F%23/%C3%A9", "/a b/%/?#/\xC3\xA9" } }) {
        // clang-format on
        SCOPED_TRACE(c.path);
        auto url = Url::fileURL(c.path, c.isDirectory);
        EXPECT_EQ(url.absoluteString(), c.text);
        EXPECT_EQ(url.filePath(), c.filePath);
        EXPECT_EQ(Url::parse(url.absoluteString()), url);
    }
}

} // namespace
} // namespace cohortex
