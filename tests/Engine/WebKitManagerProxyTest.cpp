#include "Engine/WebKitManagerFixture.h"

namespace cohortex::testing {
namespace {

using Kind = ProxySettings::Kind;

WorkspaceSession withProxy(WorkspaceSession workspace, std::optional<std::string> type,
    std::optional<std::string> host, std::optional<std::int64_t> port,
    std::optional<std::string> username = std::nullopt)
{
    workspace.proxyType = std::move(type);
    workspace.proxyHost = std::move(host);
    workspace.proxyPort = port;
    workspace.proxyUsername = std::move(username);
    return workspace;
}

ProxySettings endpoint(Kind kind, std::string host, std::uint16_t port)
{
    return { kind, std::move(host), port, std::nullopt, std::nullopt };
}

// The endpoint every workspace with a user name has in these tests; while the password is still being
// read it waits for it rather than connecting without.
ProxySettings httpEndpoint(
    std::string username, std::optional<std::string> password, bool awaitsPassword = false)
{
    ProxySettings settings{ Kind::HttpConnect, "proxy.example", 3128, std::move(username),
        std::move(password) };
    settings.awaitsPassword = awaitsPassword;
    return settings;
}

using History = std::vector<std::optional<ProxySettings>>;

class WebKitManagerProxyTest : public WebKitManagerFixture {
protected:
    WorkspaceSession workspaceWithUser(std::string username)
    {
        return withProxy(makeWorkspace(), "http", "proxy.example", 3128, std::move(username));
    }

    const History& history(const WorkspaceSession& workspace)
    {
        return engine.proxies[workspace.storageIdentifier];
    }
};

// Whether there is a proxy at all is the record's to say; the store maps its type, and a listed proxy
// with a port no proxy can have refuses every connection rather than going direct.
TEST_F(WebKitManagerProxyTest, TheRecordDecidesTheStoresProxy)
{
    for (const auto& [type, port, expected] :
        std::initializer_list<std::tuple<std::optional<std::string>, std::optional<std::int64_t>,
            std::optional<ProxySettings>>>{ { "http", std::nullopt, std::nullopt },
            { "socks5", 1080, endpoint(Kind::Socks5, "proxy.example", 1080) },
            { "SOCKS5", 1080, endpoint(Kind::HttpConnect, "proxy.example", 1080) },
            { std::nullopt, 8080, endpoint(Kind::HttpConnect, "proxy.example", 8080) },
            { "http", 65536, endpoint(Kind::Unusable, "", 0) } }) {
        SCOPED_TRACE(type.value_or("-") + " " + std::to_string(port.value_or(-1)));
        auto workspace = withProxy(makeWorkspace(), type, "proxy.example", port);
        manager.openStore(workspace);
        queue.runPending();
        ASSERT_EQ(history(workspace).size(), 1u);
        EXPECT_EQ(engine.currentProxy(workspace.storageIdentifier), expected);
    }
}

// A slow read overtaken by a later refresh does not win, and a password arriving after the proxy was
// removed or the store deleted is dropped.
TEST_F(WebKitManagerProxyTest, APasswordArrivingAfterTheProxyChangedIsDropped)
{
    auto changed = workspaceWithUser("alice");
    auto removed = workspaceWithUser("alice");
    auto deleted = workspaceWithUser("alice");
    for (const auto* workspace : { &changed, &removed, &deleted })
        passwords.passwords[workspace->id] = "old";
    passwords.delays = { 2, 0.1, 2, 2 };
    manager.openStore(changed);
    auto renamed = changed;
    renamed.proxyUsername = "bob";
    passwords.passwords[changed.id] = "new";
    manager.refreshProxy(renamed);
    manager.openStore(removed);
    manager.refreshProxy(withProxy(removed, std::nullopt, std::nullopt, std::nullopt));
    manager.openStore(deleted);
    manager.deleteWorkspaceStore(deleted.storageIdentifier);
    queue.advance(3);

    EXPECT_EQ(engine.currentProxy(changed.storageIdentifier), httpEndpoint("bob", "new"));
    EXPECT_EQ(history(changed).size(), 3u);
    EXPECT_EQ(history(removed), (History{ httpEndpoint("alice", std::nullopt, true), std::nullopt }));
    EXPECT_EQ(history(deleted), History{ httpEndpoint("alice", std::nullopt, true) });
}

} // namespace
} // namespace cohortex::testing
