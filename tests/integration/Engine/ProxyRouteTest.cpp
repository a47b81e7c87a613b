#include "Engine/WebKitGtk/ProxyRoute.h"

#include <gtest/gtest.h>
#include <ostream>

namespace cohortex {
namespace {

struct RouteCase {
    const char* name;
    ProxySettings settings;
    std::string uri;
    std::optional<ProxyCredential> credential;
};

// A colon ends the user name, so it is escaped there; in the password GLib rightly leaves it as it is.

void PrintTo(const RouteCase& routeCase, std::ostream* out)
{
    *out << routeCase.name;
}

class ProxyRouteTest : public ::testing::TestWithParam<RouteCase> { };

TEST_P(ProxyRouteTest, SettingsBecomeTheProxyUriAndTheCredentialTheViewAnswersWith)
{
    auto route = ProxyRoute::forSettings(GetParam().settings);

    EXPECT_EQ(route.uri, GetParam().uri);
    EXPECT_EQ(route.credential, GetParam().credential);
}

using Kind = ProxySettings::Kind;
constexpr auto none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(Kinds, ProxyRouteTest,
    ::testing::Values(RouteCase{ "SocksWithoutLogin", { Kind::Socks5, "proxy.example", 1080, none, none },
                          "socks5://proxy.example:1080", none },
        RouteCase{ "SocksLoginGoesIntoTheUriEncoded",
            { Kind::Socks5, "10.0.0.1", 1080, "a:user@home", "p@ss:w/rd %41#?" },
            "socks5://a%3Auser%40home:p%40ss:w%2Frd%20%2541%23%3F@10.0.0.1:1080", none },
        RouteCase{ "HttpLoginStaysOutOfTheUri",
            { Kind::HttpConnect, "proxy.example", 3128, "user", "secret" }, "http://proxy.example:3128",
            ProxyCredential{ "user", "secret" } },
        RouteCase{ "UserWithoutPasswordIsNoLogin", { Kind::HttpConnect, "proxy.example", 3128, "user", none },
            "http://proxy.example:3128", none },
        RouteCase{ "EmptyUserIsNoLogin", { Kind::Socks5, "proxy.example", 1080, "", "secret" },
            "socks5://proxy.example:1080", none },
        RouteCase{ "EmptyPasswordIsALogin", { Kind::HttpConnect, "proxy.example", 3128, "user", "" },
            "http://proxy.example:3128", ProxyCredential{ "user", "" } },
        RouteCase{ "Ipv6AddressIsBracketed", { Kind::Socks5, "::1", 1080, none, none }, "socks5://[::1]:1080",
            none },
        RouteCase{ "HostCannotSmuggleAPathOrAnotherHost",
            { Kind::HttpConnect, "evil.example/x@127.0.0.1", 8080, none, none },
            "http://evil.example%2Fx%40127.0.0.1:8080", none }),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace cohortex
