#include "Platform/Linux/PolkitAuthenticator.h"

#include "LogCapture.h"
#include "MainLoopWait.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Platform/Linux/GLibPtr.h"
#include "PrivateSystemBus.h"
#include "SilentSocket.h"
#include "SystemBusAddress.h"
#include "TemporaryDirectory.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace cohortex {
namespace {

constexpr auto missingBus = "unix:path=/nonexistent/cohortex-test-bus";
// polkitd ships this action itself, so every polkitd knows it; ours only the installed policy file adds.
constexpr auto actionOfPolkit = "org.freedesktop.policykit.exec";
constexpr auto policyOfPolkit = "/usr/share/polkit-1/actions/org.freedesktop.policykit.policy";
constexpr auto reason = "Unlock Client Alpha in Cohortex";

bool runUntilDone(const Task<bool>& task, double seconds)
{
    return runUntil([&] { return task.isDone(); }, seconds);
}

class PolkitAuthenticatorTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (!m_authenticator)
            return;
        // Waiting out one last probe leaves no D-Bus call behind to answer into the next test.
        runUntilDone(m_authenticator->refreshAvailability(), PolkitAuthenticator::probeTimeout + 1);
        m_authenticator.reset();
    }

    PolkitAuthenticator& makeAuthenticator(std::string actionId = std::string(PolkitAuthenticator::actionId))
    {
        m_authenticator = std::make_unique<PolkitAuthenticator>(std::move(actionId));
        return *m_authenticator;
    }

    GLibMainQueue m_queue;
    std::unique_ptr<PolkitAuthenticator> m_authenticator;
};

class PolkitWithoutSystemBusTest : public PolkitAuthenticatorTest {
protected:
    static void SetUpTestSuite() { s_address.emplace(missingBus); }
    static void TearDownTestSuite() { s_address.reset(); }

    static inline std::optional<SystemBusAddress> s_address;
};

TEST_F(PolkitWithoutSystemBusTest, NothingIsAvailableAndNobodyWaitsForIt)
{
    GCharPtr address(g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, nullptr));
    ASSERT_STREQ(address.get(), missingBus);

    auto start = g_get_monotonic_time();
    auto& authenticator = makeAuthenticator();
    EXPECT_FALSE(authenticator.isAvailable());
    EXPECT_LT(secondsSince(start), 0.1);

    auto probe = authenticator.refreshAvailability();
    ASSERT_TRUE(runUntilDone(probe, 2));
    EXPECT_FALSE(probe.result());
    EXPECT_FALSE(authenticator.isAvailable());
    EXPECT_LT(secondsSince(start), 2);
}

TEST_F(PolkitWithoutSystemBusTest, OverlappingPromptsAnswerFalseAtOnce)
{
    auto& authenticator = makeAuthenticator();
    auto start = g_get_monotonic_time();
    auto first = authenticator.authenticate(reason);
    auto second = authenticator.authenticate("Unlock Client Beta in Cohortex");

    ASSERT_TRUE(runUntil([&] { return first.isDone() && second.isDone(); }, 5));
    EXPECT_FALSE(first.result());
    EXPECT_FALSE(second.result());
    EXPECT_LT(secondsSince(start), 2);
}

TEST_F(PolkitWithoutSystemBusTest, APromptOutlivingItsAuthenticatorStillAnswers)
{
    auto prompt = makeAuthenticator().authenticate(reason);
    m_authenticator.reset();

    ASSERT_TRUE(runUntilDone(prompt, 5));
    EXPECT_FALSE(prompt.result());
}

class PolkitOnSilentBusTest : public PolkitAuthenticatorTest {
protected:
    void TearDown() override
    {
        m_socket.close();
        PolkitAuthenticatorTest::TearDown();
        // The request that timed out was cancelled, and closing the socket ends its connection; its
        // answer still has to come back before the next test may ask polkit for an authority.
        runUntil([] { return false; }, 0.5);
    }

    TemporaryDirectory m_directory;
    std::string m_path = (m_directory.path() / "bus").string();
    SilentSocket m_socket{ m_path };
    SystemBusAddress m_address{ "unix:path=" + m_path };
};

TEST_F(PolkitOnSilentBusTest, AProbeGivesUpAtItsBound)
{
    ASSERT_TRUE(m_socket.isListening());
    auto start = g_get_monotonic_time();
    auto& authenticator = makeAuthenticator();
    auto prompt = authenticator.authenticate(reason);
    EXPECT_FALSE(authenticator.isAvailable());
    EXPECT_LT(secondsSince(start), 0.1);

    ASSERT_TRUE(runUntilDone(prompt, 5));
    EXPECT_FALSE(prompt.result());
    // It waited for the silent bus rather than failing for some other reason, and no longer than promised.
    EXPECT_GE(secondsSince(start), PolkitAuthenticator::probeTimeout - 0.1);
    EXPECT_LT(secondsSince(start), PolkitAuthenticator::probeTimeout + 1);
}

class PolkitOnPrivateBusTest : public PolkitAuthenticatorTest {
protected:
    void SetUp() override
    {
        auto bus = PrivateSystemBus::start();
        if (!bus)
            GTEST_SKIP() << "No private bus for polkitd: " << bus.error();
        m_bus = std::move(*bus);
        m_address.emplace(m_bus->address());
        // GIO ends the process when the system bus goes away. Holding the shared connection with that
        // turned off lets the test stop its bus.
        GErrorPtr error;
        m_systemBus = GObjectPtr<GDBusConnection>(g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, error.out()));
        ASSERT_TRUE(m_systemBus) << error.message();
        ASSERT_FALSE(g_dbus_connection_is_closed(m_systemBus.get()))
            << "an earlier test's bus connection lives on";
        g_dbus_connection_set_exit_on_close(m_systemBus.get(), false);
    }
    void TearDown() override
    {
        PolkitAuthenticatorTest::TearDown();
        releaseSystemBus();
        m_bus.reset();
        m_address.reset();
    }

    // The shared connection must be gone before the next test asks for one, or GIO would hand that
    // test this one, closed with its bus. GIO holds its own references for a moment after the last
    // D-Bus call.
    void releaseSystemBus()
    {
        if (!m_systemBus)
            return;
        GObject* connection = G_OBJECT(m_systemBus.get());
        g_object_add_weak_pointer(connection, reinterpret_cast<gpointer*>(&connection));
        m_systemBus.reset();
        if (!runUntil([&] { return connection == nullptr; }, 1)) {
            g_object_remove_weak_pointer(connection, reinterpret_cast<gpointer*>(&connection));
            ADD_FAILURE() << "the system bus connection is still in use after the test";
        }
    }

    std::unique_ptr<PrivateSystemBus> m_bus;
    std::optional<SystemBusAddress> m_address;
    GObjectPtr<GDBusConnection> m_systemBus;
};

TEST_F(PolkitOnPrivateBusTest, ABusWithoutTheDaemonOffersNothing)
{
    auto& authenticator = makeAuthenticator(actionOfPolkit);
    auto probe = authenticator.refreshAvailability();
    auto prompt = authenticator.authenticate(reason);

    ASSERT_TRUE(runUntil([&] { return probe.isDone() && prompt.isDone(); }, 5));
    EXPECT_FALSE(probe.result());
    EXPECT_FALSE(prompt.result());
}

TEST_F(PolkitOnPrivateBusTest, AnUnregisteredActionIsUnavailableAndNeverReachesTheDaemon)
{
    if (auto started = m_bus->startPolkit(); !started)
        GTEST_SKIP() << started.error();
    LogCapture log;
    auto& authenticator = makeAuthenticator();
    auto probe = authenticator.refreshAvailability();
    auto prompt = authenticator.authenticate(reason);

    ASSERT_TRUE(runUntil([&] { return probe.isDone() && prompt.isDone(); }, 5));
    EXPECT_FALSE(probe.result());
    EXPECT_FALSE(prompt.result());
    // polkitd refuses to check an action it does not know, and that refusal would be logged.
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(PolkitOnPrivateBusTest, ARegisteredActionIsAvailableAndTheDaemonDecides)
{
    if (!g_file_test(policyOfPolkit, G_FILE_TEST_EXISTS))
        GTEST_SKIP() << "polkitd's own actions are not installed";
    if (auto started = m_bus->startPolkit(); !started)
        GTEST_SKIP() << started.error();
    LogCapture log;
    auto& authenticator = makeAuthenticator(actionOfPolkit);
    auto probe = authenticator.refreshAvailability();
    ASSERT_TRUE(runUntilDone(probe, 5));
    EXPECT_TRUE(probe.result());
    EXPECT_TRUE(authenticator.isAvailable());

    auto prompt = authenticator.authenticate(reason);
    ASSERT_TRUE(runUntilDone(prompt, 5));
    // polkitd grants root everything without asking; anyone else needs an authentication agent, and
    // there is none on this bus. A check that polkitd rejects (details from an unprivileged caller, a
    // subject of someone else) would be logged as a warning.
    EXPECT_EQ(prompt.result(), getuid() == 0);
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(PolkitOnPrivateBusTest, ADaemonThatStartsLaterIsNoticed)
{
    if (!g_file_test(policyOfPolkit, G_FILE_TEST_EXISTS))
        GTEST_SKIP() << "polkitd's own actions are not installed";
    auto& authenticator = makeAuthenticator(actionOfPolkit);
    auto probe = authenticator.refreshAvailability();
    ASSERT_TRUE(runUntilDone(probe, 5));
    ASSERT_FALSE(probe.result());

    if (auto started = m_bus->startPolkit(); !started)
        GTEST_SKIP() << started.error();
    // Long before the remembered answer goes stale.
    EXPECT_TRUE(runUntil([&] { return authenticator.isAvailable(); }, 3));
}

} // namespace
} // namespace cohortex
