#include "Models/WorkspaceSettingsForm.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

WorkspaceSession record(bool requiresUnlock = false)
{
    return WorkspaceSession(Uuid::random(), "Client Alpha", *Url::parse("https://example.com/"), std::nullopt,
        "globe", "#34C759", 2, Uuid::random(), Date(10), Date(20), std::nullopt,
        requiresUnlock ? std::optional(true) : std::nullopt);
}

WorkspaceSession proxied(std::optional<std::string> type, std::optional<std::string> user = std::nullopt)
{
    auto workspace = record();
    workspace.proxyType = std::move(type);
    workspace.proxyHost = "proxy.local";
    workspace.proxyPort = 3128;
    workspace.proxyUsername = std::move(user);
    return workspace;
}

TEST(WorkspaceSettingsForm, ProxyPortAcceptsOnlyWholeNumbersFromOneTo65535)
{
    WorkspaceSettingsForm form(proxied("http"));
    // clang-format off
    for (auto [typed, value] : std::initializer_list<std::pair<const char*, std::optional<std::int64_t>>>{
             { "65535", 65535 }, { "0", std::nullopt }, { "65536", std::nullopt }, { " \t+8080\t ", 8080 },
             { "80a", std::nullopt }, { "99999999999999999999", std::nullopt } }) {
        // clang-format on
        form.proxyPort = typed;
        EXPECT_EQ(form.portValue(), value) << '"' << typed << '"';
        EXPECT_EQ(form.proxyIsValid(), value.has_value()) << '"' << typed << '"';
    }
    form.proxyPort = "8080";
    form.proxyHost = " \t ";
    EXPECT_FALSE(form.proxyIsValid()) << "a proxy needs a host";
    form.proxyType = "none";
    EXPECT_TRUE(form.proxyIsValid()) << "no proxy needs nothing";
}

TEST(WorkspaceSettingsFormSave, WritesTrimmedFieldsStoresOffAsAbsentAndNoProxyClearsEveryProxyField)
{
    auto workspace = record(true);
    workspace.keepAwake = true;
    WorkspaceSettingsForm form(workspace);
    form.name = " \tClient Beta\t ";
    form.keepAwake = form.requiresUnlock = false;
    form.proxyType = "socks5";
    form.proxyHost = "\t10.0.0.1 ";
    form.proxyPort = " +1080";
    form.proxyUsername = " ann ";
    auto change = form.change();
    auto expected = workspace;
    expected.name = "Client Beta";
    expected.keepAwake = expected.requiresUnlock = std::nullopt;
    expected.proxyType = "socks5";
    expected.proxyHost = "10.0.0.1";
    expected.proxyPort = 1080;
    expected.proxyUsername = "ann";
    EXPECT_EQ(change.record, expected);
    EXPECT_EQ(change.passwordAction, ProxyPasswordAction::keep);

    form.proxyType = "none";
    auto cleared = form.change().record;
    EXPECT_FALSE(cleared.proxyType || cleared.proxyHost || cleared.proxyPort || cleared.proxyUsername);
}

TEST(WorkspaceSettingsFormSave, WritesKeepsOrRemovesTheStoredProxyPassword)
{
    using enum ProxyPasswordAction;
    struct Case {
        const char* name;
        std::string proxyType, user, password;
        bool hasStoredPassword;
        ProxyPasswordAction action;
        bool proxyPasswordChanged;
    };
    // clang-format off
    for (const auto& expected : {
             Case{ "replaced password", "socks5", "ann", " s3cret ", true, write, true },
             Case{ "blank field keeps the saved one", "http", "ann", "", true, keep, false },
             Case{ "cleared user removes the saved one", "http", " \t", "typed", true, remove, false },
             Case{ "no proxy removes the saved one", "none", "ann", "typed", true, remove, true } }) {
        // clang-format on
        SCOPED_TRACE(expected.name);
        WorkspaceSettingsForm form(proxied("http", "ann"));
        form.proxyType = expected.proxyType;
        form.proxyUsername = expected.user;
        form.proxyPassword = expected.password;
        form.hasStoredPassword = expected.hasStoredPassword;
        auto change = form.change();
        EXPECT_EQ(change.passwordAction, expected.action);
        EXPECT_EQ(change.password, expected.action == write ? expected.password : "");
        EXPECT_EQ(change.proxyPasswordChanged, expected.proxyPasswordChanged);
    }
}

// Turning the lock on asks the owner first; only a successful answer keeps it on.
TEST(WorkspaceSettingsFormLock, StaysOnOnlyOnceTheOwnerHasAuthenticated)
{
    for (auto answer : { Authentication::Succeeded, Authentication::Failed, Authentication::NoAgent }) {
        bool staysOn = answer == Authentication::Succeeded;
        SCOPED_TRACE(staysOn ? "succeeded" : "refused");
        WorkspaceSettingsForm form(record());
        ASSERT_TRUE(form.startLockCheck());
        EXPECT_FALSE(form.canSave());
        form.lockAnswered(answer);
        EXPECT_EQ(form.requiresUnlock, staysOn);
        EXPECT_EQ(form.change().record.isLocked(), staysOn);
        EXPECT_EQ(form.lockCaption(true).isWarning, !staysOn);
        EXPECT_TRUE(form.canSave());
    }
}

} // namespace
} // namespace cohortex
