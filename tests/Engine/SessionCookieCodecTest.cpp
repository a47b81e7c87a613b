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

struct RejectedBlob {
    const char* label;
    Bytes blob;
};

class SessionCookieCodecRejectsBlob : public testing::TestWithParam<RejectedBlob> { };

TEST_P(SessionCookieCodecRejectsBlob, DecodesToNoCookies)
{
    EXPECT_TRUE(SessionCookieCodec::decode(GetParam().blob).empty());
}

INSTANTIATE_TEST_SUITE_P(NotACookieArray, SessionCookieCodecRejectsBlob,
    testing::Values(RejectedBlob{ "Empty", {} }, RejectedBlob{ "NotAPropertyList", bytesOf("session=abc") },
        RejectedBlob{ "TruncatedBinary", bytesOf("bplist00\xd0\x08") },
        RejectedBlob{ "DictionaryAtTop", xmlPlist(validDictionary) },
        RejectedBlob{ "StringAtTop", xmlPlist("<string>sid=abc</string>") },
        RejectedBlob{ "ArrayOfStrings", xmlPlist("<array><string>sid</string></array>") },
        RejectedBlob{ "DictionaryBesideAString",
            xmlPlist("<array>" + std::string(validDictionary) + "<string>sid</string></array>") }),
    [](const auto& info) { return std::string(info.param.label); });

// A dictionary with every required key except the one left out ("every": none at all), plus an extra key.
struct InvalidDictionary {
    const char* label;
    std::string_view omitted;
    std::string extra;
};

std::string dictionaryBody(const InvalidDictionary& invalid)
{
    std::string body;
    for (std::string_view key : { "name", "value", "domain", "path" }) {
        if (key != invalid.omitted && invalid.omitted != "every")
            body += "<key>" + std::string(key) + "</key><string>x</string>";
    }
    return body + invalid.extra;
}

class SessionCookieCodecSkipsDictionary : public testing::TestWithParam<InvalidDictionary> { };

// The invalid dictionary sits between two valid ones, so skipping it must not lose its neighbours.
TEST_P(SessionCookieCodecSkipsDictionary, KeepsOnlyTheValidCookies)
{
    auto cookies = SessionCookieCodec::decode(xmlPlist("<array>" + std::string(validDictionary) + "<dict>"
        + dictionaryBody(GetParam()) + "</dict>" + std::string(validDictionary) + "</array>"));
    ASSERT_EQ(cookies.size(), 2u);
    EXPECT_EQ(cookies[0],
        (HttpCookie{
            "sid", "abc", "mail.example.com", "/inbox", std::nullopt, false, false, SameSite::Unspecified }));
    EXPECT_EQ(cookies[1], cookies[0]);
}

INSTANTIATE_TEST_SUITE_P(MissingOrMistyped, SessionCookieCodecSkipsDictionary,
    testing::Values(InvalidDictionary{ "NoName", "name", "" }, InvalidDictionary{ "NoValue", "value", "" },
        InvalidDictionary{ "NoDomain", "domain", "" }, InvalidDictionary{ "NoPath", "path", "" },
        InvalidDictionary{ "NameIsANumber", "name", "<key>name</key><integer>1</integer>" },
        InvalidDictionary{ "SecureIsAString", "", "<key>secure</key><string>yes</string>" },
        InvalidDictionary{ "HttpOnlyIsANumber", "", "<key>httpOnly</key><integer>1</integer>" },
        InvalidDictionary{ "UnknownSameSite", "", "<key>sameSite</key><string>sometimes</string>" },
        InvalidDictionary{ "ExpiresIsAString", "", "<key>expires</key><string>tomorrow</string>" },
        InvalidDictionary{ "Empty", "every", "" }),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace cohortex
