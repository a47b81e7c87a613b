#include "Models/WorkspaceSettingsForm.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

WorkspaceSession record()
{
    return WorkspaceSession(Uuid::random(), "Client Alpha", *Url::parse("https://example.com/"), std::nullopt,
        "globe", "#34C759", 2, Uuid::random(), Date(10), Date(20));
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

struct PortCase {
    const char* name;
    std::string typed;
    std::optional<std::int64_t> value;
};

class ProxyPort : public testing::TestWithParam<PortCase> { };

TEST_P(ProxyPort, AcceptsOnlyWholeNumbersFromOneTo65535)
{
    WorkspaceSettingsForm form(proxied("http"));
    form.proxyPort = GetParam().typed;
    EXPECT_EQ(form.portValue(), GetParam().value);
    EXPECT_EQ(form.proxyIsValid(), GetParam().value.has_value());
}

INSTANTIATE_TEST_SUITE_P(Rules, ProxyPort,
    testing::Values(PortCase{ "Lowest", "1", 1 }, PortCase{ "Highest", "65535", 65535 },
        PortCase{ "Zero", "0", std::nullopt }, PortCase{ "AboveRange", "65536", std::nullopt },
        PortCase{ "FarAboveRange", "70000", std::nullopt }, PortCase{ "PlusSign", "+8080", 8080 },
        PortCase{ "MinusSign", "-8080", std::nullopt }, PortCase{ "SpacesAndTabs", " \t8080\t ", 8080 },
        PortCase{ "LeadingZeros", "008080", 8080 },
        PortCase{ "LineBreakIsNotTrimmed", "8080\n", std::nullopt }, PortCase{ "Empty", "", std::nullopt },
        PortCase{ "SignAlone", "+", std::nullopt }, PortCase{ "TwoSigns", "+-80", std::nullopt },
        PortCase{ "Letters", "80a", std::nullopt }, PortCase{ "Decimal", "80.0", std::nullopt },
        PortCase{ "SpaceInside", "80 80", std::nullopt },
        PortCase{ "Overflow", "99999999999999999999", std::nullopt }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WorkspaceSettingsForm, OpensWithTheRecordsValuesAndNoPassword)
{
    auto workspace = proxied(std::nullopt, "ann");
    workspace.keepAwake = true;
    workspace.downloadFolderPath = "/home/ann/Work";
    WorkspaceSettingsForm form(workspace);
    EXPECT_EQ(form.name, "Client Alpha");
    EXPECT_TRUE(form.keepAwake);
    EXPECT_FALSE(form.requiresUnlock);
    EXPECT_EQ(form.downloadFolderPath, "/home/ann/Work");
    // A proxy without a type is an HTTP proxy.
    EXPECT_EQ(form.proxyType, "http");
    EXPECT_EQ(form.proxyHost, "proxy.local");
    EXPECT_EQ(form.proxyPort, "3128");
    EXPECT_EQ(form.proxyUsername, "ann");
    EXPECT_EQ(form.proxyPassword, "");
}

TEST(WorkspaceSettingsForm, AProxyWithoutUsableHostOrPortOpensAsNoProxy)
{
    auto workspace = proxied("socks5");
    workspace.proxyPort = 0;
    EXPECT_EQ(WorkspaceSettingsForm(workspace).proxyType, "none");
    EXPECT_EQ(WorkspaceSettingsForm(record()).proxyType, "none");
    EXPECT_EQ(WorkspaceSettingsForm(proxied("socks5")).proxyType, "socks5");
}

TEST(WorkspaceSettingsForm, NeedsAHostOnlyWhileAProxyIsChosen)
{
    WorkspaceSettingsForm form(proxied("http"));
    form.proxyHost = " \t ";
    EXPECT_FALSE(form.proxyIsValid());
    form.proxyType = "none";
    EXPECT_TRUE(form.proxyIsValid());
}

TEST(WorkspaceSettingsForm, PasswordLabelSaysWhetherOneIsSaved)
{
    WorkspaceSettingsForm form(proxied("http", "ann"));
    EXPECT_EQ(form.passwordLabel(), "Password (optional)");
    form.hasStoredPassword = true;
    EXPECT_EQ(form.passwordLabel(), "Password (saved, leave blank to keep)");
}

TEST(WorkspaceSettingsFormSave, WritesTrimmedFieldsAndStoresOffAsAbsent)
{
    auto workspace = record();
    workspace.keepAwake = true;
    workspace.requiresUnlock = true;
    workspace.downloadFolderPath = "/tmp/old";
    WorkspaceSettingsForm form(workspace);
    form.name = " \tClient Beta\t ";
    form.keepAwake = false;
    form.requiresUnlock = false;
    form.downloadFolderPath = "";
    auto change = form.change();
    auto expected = workspace;
    expected.name = "Client Beta";
    expected.keepAwake = std::nullopt;
    expected.requiresUnlock = std::nullopt;
    expected.downloadFolderPath = std::nullopt;
    EXPECT_EQ(change.record, expected);
    EXPECT_EQ(change.passwordAction, ProxyPasswordAction::keep);
    EXPECT_FALSE(change.proxyPasswordChanged);

    form.keepAwake = form.requiresUnlock = true;
    form.downloadFolderPath = "/tmp/new";
    change = form.change();
    EXPECT_EQ(change.record.keepAwake, true);
    EXPECT_EQ(change.record.requiresUnlock, true);
    EXPECT_EQ(change.record.downloadFolderPath, "/tmp/new");
}

struct PasswordCase {
    const char* name;
    std::string proxyType;
    std::string user;
    std::string password;
    bool hasStoredPassword;
    ProxyPasswordAction action;
    bool proxyPasswordChanged;
};

class ProxyPasswordSave : public testing::TestWithParam<PasswordCase> { };

TEST_P(ProxyPasswordSave, WritesKeepsOrRemovesTheStoredPassword)
{
    const auto& param = GetParam();
    WorkspaceSettingsForm form(proxied("http", "ann"));
    form.proxyType = param.proxyType;
    form.proxyUsername = param.user;
    form.proxyPassword = param.password;
    form.hasStoredPassword = param.hasStoredPassword;
    auto change = form.change();
    EXPECT_EQ(change.passwordAction, param.action);
    EXPECT_EQ(change.password, param.action == ProxyPasswordAction::write ? param.password : "");
    EXPECT_EQ(change.proxyPasswordChanged, param.proxyPasswordChanged);
}

using enum ProxyPasswordAction;
INSTANTIATE_TEST_SUITE_P(Rules, ProxyPasswordSave,
    testing::Values(PasswordCase{ "NewPasswordWithUser", "http", "ann", "s3cret", false, write, true },
        PasswordCase{ "ReplacedPassword", "socks5", "ann", " s3cret ", true, write, true },
        PasswordCase{ "BlankFieldKeepsSaved", "http", "ann", "", true, keep, false },
        PasswordCase{ "BlankFieldNothingSaved", "http", "ann", "", false, keep, false },
        PasswordCase{ "ClearedUserRemovesSaved", "http", " \t", "typed", true, remove, false },
        PasswordCase{ "NoUserNothingSaved", "http", "", "typed", false, keep, false },
        PasswordCase{ "NoProxyRemovesSaved", "none", "ann", "typed", true, remove, true },
        PasswordCase{ "NoProxyNothingSaved", "none", "ann", "typed", false, keep, false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WorkspaceSettingsFormSave, AProxyIsWrittenTrimmedAndNoProxyClearsEveryField)
{
    WorkspaceSettingsForm form(record());
    form.proxyType = "socks5";
    form.proxyHost = "\t10.0.0.1 ";
    form.proxyPort = " +1080";
    form.proxyUsername = " ann ";
    auto saved = form.change().record;
    EXPECT_EQ(saved.proxyType, "socks5");
    EXPECT_EQ(saved.proxyHost, "10.0.0.1");
    EXPECT_EQ(saved.proxyPort, 1080);
    EXPECT_EQ(saved.proxyUsername, "ann");

    form.proxyUsername = "";
    EXPECT_EQ(form.change().record.proxyUsername, std::nullopt);

    WorkspaceSettingsForm removal(proxied("http", "ann"));
    removal.proxyType = "none";
    auto cleared = removal.change().record;
    EXPECT_FALSE(cleared.proxyType || cleared.proxyHost || cleared.proxyPort || cleared.proxyUsername);
}

struct LockAnswer {
    const char* name;
    Authentication answer;
    bool staysOn;
    bool warns;
};

class LockSwitchTest : public testing::TestWithParam<LockAnswer> { };

// Turning the lock on asks the owner first; only a successful answer keeps it on.
TEST_P(LockSwitchTest, StaysOnOnlyOnceTheOwnerHasAuthenticated)
{
    WorkspaceSettingsForm form(WorkspaceSession(Uuid::random(), "Mail", *Url::parse("https://mail.example/"),
        std::nullopt, "globe", "#000000", 1, Uuid::random(), Date(0), Date(0)));
    ASSERT_TRUE(form.startLockCheck());
    EXPECT_FALSE(form.canSave());
    form.lockAnswered(GetParam().answer);
    EXPECT_EQ(form.requiresUnlock, GetParam().staysOn);
    EXPECT_EQ(form.change().record.isLocked(), GetParam().staysOn);
    EXPECT_EQ(form.lockCaption(true).isWarning, GetParam().warns);
    EXPECT_TRUE(form.canSave());
}

INSTANTIATE_TEST_SUITE_P(Answers, LockSwitchTest,
    testing::Values(LockAnswer{ "Succeeded", Authentication::Succeeded, true, false },
        LockAnswer{ "Cancelled", Authentication::Failed, false, true },
        LockAnswer{ "NoAgent", Authentication::NoAgent, false, true }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LockSwitchTest, AWorkspaceAlreadyLockedIsNotAskedAgain)
{
    WorkspaceSession locked(Uuid::random(), "Vault", *Url::parse("https://vault.example/"), std::nullopt,
        "globe", "#000000", 1, Uuid::random(), Date(0), Date(0), std::nullopt, true);
    WorkspaceSettingsForm form(locked);
    form.requiresUnlock = false;
    EXPECT_FALSE(form.startLockCheck());
    EXPECT_TRUE(form.requiresUnlock);
}

} // namespace
} // namespace cohortex
