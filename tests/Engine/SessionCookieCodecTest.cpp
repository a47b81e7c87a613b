#include "Engine/SessionCookieCodec.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

using SameSite = HttpCookie::SameSite;

HttpCookie sessionCookie(std::string name, std::string value, std::string domain = ".example.com")
{
    return HttpCookie{ std::move(name), std::move(value), std::move(domain), "/", std::nullopt, false, false,
        SameSite::Unspecified };
}

HttpCookie persistentCookie(std::string name)
{
    auto cookie = sessionCookie(std::move(name), "kept by the engine");
    cookie.expires = Date(9e8);
    return cookie;
}

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// Hand-written blobs in the XML form, which decode accepts like the binary one.
Bytes xmlPlist(std::string_view body)
{
    return bytesOf("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + std::string(body)
        + "</plist>");
}

constexpr std::string_view validDictionary = "<dict><key>name</key><string>sid</string>"
                                             "<key>value</key><string>abc</string>"
                                             "<key>domain</key><string>mail.example.com</string>"
                                             "<key>path</key><string>/inbox</string></dict>";

TEST(SessionCookieCodecTest, RoundTripKeepsSessionCookiesInOrderWithEveryProperty)
{
    auto first = sessionCookie("sid", "a1b2");
    first.secure = true;
    first.sameSite = SameSite::Strict;
    auto second = sessionCookie("greeting", "Grüße 🍪", "mail.example.com");
    second.path = "/inbox";
    second.httpOnly = true;
    second.sameSite = SameSite::None;
    auto third = sessionCookie("", "");
    third.sameSite = SameSite::Lax;
    auto fourth = sessionCookie("plain", "x");

    std::vector<HttpCookie> jar{ persistentCookie("remember"), first, second, persistentCookie("other"),
        third, fourth };
    auto blob = SessionCookieCodec::encode(jar);

    ASSERT_TRUE(blob);
    EXPECT_EQ(std::string(blob->begin(), blob->begin() + 8), "bplist00");
    EXPECT_EQ(SessionCookieCodec::decode(*blob), (std::vector<HttpCookie>{ first, second, third, fourth }));
}

TEST(SessionCookieCodecTest, TextThePropertyListCannotKeepIsLeftOut)
{
    std::vector<HttpCookie> jar{ sessionCookie("latin1", "caf\xe9"),
        sessionCookie("nul", std::string("a\0b", 3)), sessionCookie("fine", "ok") };
    auto blob = SessionCookieCodec::encode(jar);
    ASSERT_TRUE(blob);
    EXPECT_EQ(SessionCookieCodec::decode(*blob), std::vector<HttpCookie>{ jar[2] });

    // Nothing left to keep, whether unkeepable, persistent or no cookies at all, encodes to nothing.
    EXPECT_FALSE(SessionCookieCodec::encode(std::span(jar).first(2)));
    EXPECT_FALSE(SessionCookieCodec::encode(std::vector<HttpCookie>{ persistentCookie("a") }));
    EXPECT_FALSE(SessionCookieCodec::encode({}));
}

TEST(SessionCookieCodecTest, DecodeReadsDatesAndIgnoresUnknownKeys)
{
    auto cookies
        = SessionCookieCodec::decode(xmlPlist("<array><dict><key>name</key><string>n</string>"
                                              "<key>value</key><string></string>"
                                              "<key>domain</key><string>d</string>"
                                              "<key>path</key><string>/</string>"
                                              "<key>expires</key><date>2030-01-01T00:00:00Z</date>"
                                              "<key>comment</key><integer>7</integer></dict></array>"));
    ASSERT_EQ(cookies.size(), 1u);
    EXPECT_EQ(cookies[0].value, "");
    EXPECT_EQ(cookies[0].expires, Date::fromUnixTime(1893456000));
    EXPECT_FALSE(cookies[0].secure);
    EXPECT_EQ(cookies[0].sameSite, SameSite::Unspecified);
}

TEST(SessionCookieCodecTest, AnythingButAnArrayOfCookieDictionariesDecodesToNoCookies)
{
    for (const auto& [label, blob] : std::initializer_list<std::pair<const char*, Bytes>>{ { "Empty", {} },
             { "NotAPropertyList", bytesOf("session=abc") },
             { "TruncatedBinary", bytesOf("bplist00\xd0\x08") },
             { "DictionaryAtTop", xmlPlist(validDictionary) },
             { "StringAtTop", xmlPlist("<string>sid=abc</string>") },
             { "ArrayOfStrings", xmlPlist("<array><string>sid</string></array>") },
             { "DictionaryBesideAString",
                 xmlPlist("<array>" + std::string(validDictionary) + "<string>sid</string></array>") } })
        EXPECT_TRUE(SessionCookieCodec::decode(blob).empty()) << label;
}

// Each invalid dictionary (a required key left out, "every" for all of them, or a mistyped one) sits
// between two valid ones, so skipping it must not lose its neighbours.
TEST(SessionCookieCodecTest, AnInvalidDictionaryIsSkippedAndItsNeighboursKept)
{
    const HttpCookie valid{ "sid", "abc", "mail.example.com", "/inbox", std::nullopt, false, false,
        SameSite::Unspecified };
    for (auto [omitted, extra] :
        std::initializer_list<std::pair<std::string_view, std::string_view>>{ { "name", "" }, { "value", "" },
            { "domain", "" }, { "path", "" }, { "name", "<key>name</key><integer>1</integer>" },
            { "", "<key>secure</key><string>yes</string>" },
            { "", "<key>httpOnly</key><integer>1</integer>" },
            { "", "<key>sameSite</key><string>sometimes</string>" },
            { "", "<key>expires</key><string>tomorrow</string>" }, { "every", "" } }) {
        std::string body;
        for (std::string_view key : { "name", "value", "domain", "path" }) {
            if (key != omitted && omitted != "every")
                body += "<key>" + std::string(key) + "</key><string>x</string>";
        }
        auto cookies = SessionCookieCodec::decode(xmlPlist("<array>" + std::string(validDictionary) + "<dict>"
            + body + std::string(extra) + "</dict>" + std::string(validDictionary) + "</array>"));
        EXPECT_EQ(cookies, (std::vector<HttpCookie>{ valid, valid })) << omitted << extra;
    }
}

} // namespace
} // namespace cohortex
