#include "Engine/WebKitGtk/ProxyRoute.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using Kind = ProxySettings::Kind;
constexpr auto none = std::nullopt;

// A colon ends the user name, so it is escaped there; in the password GLib rightly leaves it as it is.
TEST(ProxyRouteTest, SettingsBecomeTheProxyUriAndTheCredentialTheViewAnswersWith)
{
    struct Case {
        ProxySettings settings;
        std::string uri;
        std::optional<ProxyCredential> credential;
    };
    for (const auto& [settings, uri, credential] :
        { Case{ { Kind::Socks5, "10.0.0.1", 1080, "a:user@home", "p@ss:w/rd %41#?" },
              "socks5://a%3Auser%40home:p%40ss:w%2Frd%20%2541%23%3F@10.0.0.1:1080", none },
            Case{ { Kind::HttpConnect, "proxy.example", 3128, "user", "" }, "http://proxy.example:3128",
                ProxyCredential{ "user", "" } },
            Case{ { Kind::Socks5, "::1", 1080, none, none }, "socks5://[::1]:1080", none },
            // The host cannot smuggle in a path or another host.
            Case{ { Kind::HttpConnect, "evil.example/x@127.0.0.1", 8080, none, none },
                "http://evil.example%2Fx%40127.0.0.1:8080", none } }) {
        SCOPED_TRACE(uri);
        auto route = ProxyRoute::forSettings(settings);
        EXPECT_EQ(route.uri, uri);
        EXPECT_EQ(route.credential, credential);
    }
}

} // namespace
} // namespace cohortex
