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

// The endpoint every workspace with a user name has in these tests, with the credential or without.
ProxySettings httpEndpoint(std::optional<std::string> username = {}, std::optional<std::string> password = {})
{
    return { Kind::HttpConnect, "proxy.example", 3128, std::move(username), std::move(password) };
}

// The endpoint while the user's password is still being read.
ProxySettings awaitingPassword(std::string username)
{
    auto settings = httpEndpoint(std::move(username));
    settings.awaitsPassword = true;
    return settings;
}

using History = std::vector<std::optional<ProxySettings>>;

class WebKitManagerProxyTest : public WebKitManagerFixture {
protected:
    WorkspaceSession workspaceWithUser(std::string username, std::string type = "http")
    {
        return withProxy(makeWorkspace(), std::move(type), "proxy.example", 3128, std::move(username));
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

TEST_F(WebKitManagerProxyTest, TheEndpointIsInPlaceBeforeThePasswordArrivesOrIsFoundMissing)
{
    auto workspace = workspaceWithUser("alice");
    auto withoutPassword = workspaceWithUser("bob");
    auto withoutUser = workspaceWithUser("");
    passwords.passwords[workspace.id] = "pa55";
    passwords.passwords[withoutUser.id] = "unused";
    passwords.delays = { 2, 0, 0 };
    manager.openStore(workspace);
    manager.openStore(withoutPassword);
    manager.openStore(withoutUser);
    EXPECT_EQ(history(workspace), History{ awaitingPassword("alice") });
    queue.advance(2);
    EXPECT_EQ(history(workspace), (History{ awaitingPassword("alice"), httpEndpoint("alice", "pa55") }));
    // Only users with a name have their password read; that none came ends the wait for it.
    EXPECT_EQ(passwords.reads, 2);
    EXPECT_EQ(history(withoutPassword), (History{ awaitingPassword("bob"), httpEndpoint("bob") }));
    EXPECT_EQ(history(withoutUser), History{ httpEndpoint() });
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
    EXPECT_EQ(history(removed), (History{ awaitingPassword("alice"), std::nullopt }));
    EXPECT_EQ(history(deleted), History{ awaitingPassword("alice") });
}

TEST_F(WebKitManagerProxyTest, RefreshingAStoreNotYetOpenedAppliesTheProxyOnce)
{
    auto workspace = workspaceWithUser("alice");
    passwords.passwords[workspace.id] = "pa55";
    manager.refreshProxy(workspace);
    queue.runPending();
    EXPECT_EQ(count("engine.open"), 1);
    EXPECT_EQ(passwords.reads, 1);
    EXPECT_EQ(history(workspace).size(), 2u);
}

} // namespace
} // namespace cohortex::testing
