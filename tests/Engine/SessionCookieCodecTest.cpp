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

    std::vector<HttpCookie> jar{ persistentCookie("remember"), first, second, persistentCookie("other"),
        third };
    auto blob = SessionCookieCodec::encode(jar);

    ASSERT_TRUE(blob);
    EXPECT_EQ(std::string(blob->begin(), blob->begin() + 8), "bplist00");
    EXPECT_EQ(SessionCookieCodec::decode(*blob), (std::vector<HttpCookie>{ first, second, third }));
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

TEST(SessionCookieCodecTest, AnythingButAnArrayOfCookieDictionariesDecodesToNoCookies)
{
    for (const auto& [label, blob] : std::initializer_list<std::pair<const char*, Bytes>>{ { "Empty", {} },
             { "NotAPropertyList", bytesOf("session=abc") },
             { "TruncatedBinary", bytesOf("bplist00\xd0\x08") },
             { "DictionaryAtTop", xmlPlist(validDictionary) } })
        EXPECT_TRUE(SessionCookieCodec::decode(blob).empty()) << label;
}

// Each invalid dictionary (a required key left out, "every" for all of them, or a mistyped one) sits
// between two valid ones, so skipping it must not lose its neighbours.
TEST(SessionCookieCodecTest, AnInvalidDictionaryIsSkippedAndItsNeighboursKept)
{
    const HttpCookie valid{ "sid", "abc", "mail.example.com", "/inbox", std::nullopt, false, false,
        SameSite::Unspecified };
    for (auto [omitted, extra] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
             { "value", "" }, { "name", "<key>name</key><integer>1</integer>" },
             { "", "<key>httpOnly</key><integer>1</integer>" }, { "every", "" } }) {
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
