#include "Platform/Linux/PolkitAuthenticator.h"

#include "LogCapture.h"
#include "MainLoopWait.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "PrivateSystemBus.h"
#include "ScopedVariable.h"
#include "SharedBusConnection.h"
#include "SilentSocket.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace cohortex {
namespace {

// polkitd ships this action itself, so every polkitd knows it; ours only the installed policy file adds.
constexpr auto actionOfPolkit = "org.freedesktop.policykit.exec";
constexpr auto policyOfPolkit = "/usr/share/polkit-1/actions/org.freedesktop.policykit.policy";
constexpr auto reason = "Unlock Client Alpha in Cohortex";

template <typename... Tasks>
bool allDone(double seconds, const Tasks&... tasks)
{
    return runUntil([&] { return (tasks.isDone() && ...); }, seconds);
}

class PolkitAuthenticatorTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (!m_authenticator)
            return;
        // Waiting out one last probe leaves no D-Bus call behind to answer into the next test.
        allDone(PolkitAuthenticator::probeTimeout + 1, m_authenticator->refreshAvailability());
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

// A prompt also answers when the authenticator that made it is gone meanwhile.
TEST_F(PolkitAuthenticatorTest, OnABusThatNeverAnswersAPromptGivesUpAtTheProbesBound)
{
    TemporaryDirectory directory;
    auto path = (directory.path() / "bus").string();
    SilentSocket socket{ path };
    ASSERT_TRUE(socket.isListening());
    ScopedVariable address{ "DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + path).c_str() };
    auto start = g_get_monotonic_time();
    auto& authenticator = makeAuthenticator();
    auto prompt = authenticator.authenticate(reason);
    EXPECT_FALSE(authenticator.isAvailable());
    EXPECT_LT(secondsSince(start), 0.1);
    auto outliving = std::make_unique<PolkitAuthenticator>(std::string(PolkitAuthenticator::actionId));
    auto orphan = outliving->authenticate(reason);
    outliving.reset();

    ASSERT_TRUE(allDone(5, prompt, orphan));
    EXPECT_EQ(prompt.result(), Authentication::Failed);
    EXPECT_EQ(orphan.result(), Authentication::Failed);
    // It waited for the silent bus rather than failing for some other reason, and no longer than promised.
    EXPECT_GE(secondsSince(start), PolkitAuthenticator::probeTimeout - 0.1);
    EXPECT_LT(secondsSince(start), PolkitAuthenticator::probeTimeout + 1);
    m_authenticator.reset();
    // Closing the socket ends the cancelled request's connection; its answer still has to come back before
    // the next test may ask polkit for an authority.
    socket.close();
    runFor(0.5);
}

class PolkitOnPrivateBusTest : public PolkitAuthenticatorTest {
protected:
    void SetUp() override
    {
        auto bus = PrivateSystemBus::start();
        if (!bus)
            GTEST_SKIP() << "No private bus for polkitd: " << bus.error();
        m_bus = std::move(*bus);
        m_address.emplace("DBUS_SYSTEM_BUS_ADDRESS", m_bus->address().c_str());
        m_systemBus = std::make_unique<SharedBusConnection>(G_BUS_TYPE_SYSTEM);
        ASSERT_TRUE(m_systemBus->get());
        ASSERT_FALSE(g_dbus_connection_is_closed(m_systemBus->get()))
            << "an earlier test's bus connection lives on";
    }
    void TearDown() override
    {
        PolkitAuthenticatorTest::TearDown();
        m_systemBus.reset();
        m_bus.reset();
        m_address.reset();
    }

    std::unique_ptr<PrivateSystemBus> m_bus;
    std::optional<ScopedVariable> m_address;
    std::unique_ptr<SharedBusConnection> m_systemBus;
};

// An action polkitd does not know is unavailable and never reaches the daemon: polkitd refuses to check it,
// and that refusal would be logged. Ours is not used, as on a machine where Cohortex is installed it is
// known.
TEST_F(PolkitOnPrivateBusTest, ADaemonThatStartsLaterIsNoticedAndDecidesOnlyForARegisteredAction)
{
    auto& authenticator = makeAuthenticator(actionOfPolkit);
    auto probe = authenticator.refreshAvailability();
    auto prompt = authenticator.authenticate(reason);
    ASSERT_TRUE(allDone(5, probe, prompt));
    ASSERT_FALSE(probe.result());
    EXPECT_EQ(prompt.result(), Authentication::Failed);

    if (auto started = m_bus->startPolkit(); !started)
        GTEST_SKIP() << started.error();
    LogCapture log;
    PolkitAuthenticator unregistered("com.kestrelwick.cohortex.never-installed");
    auto unregisteredProbe = unregistered.refreshAvailability();
    auto unregisteredPrompt = unregistered.authenticate(reason);
    ASSERT_TRUE(allDone(5, unregisteredProbe, unregisteredPrompt));
    EXPECT_FALSE(unregisteredProbe.result());
    EXPECT_EQ(unregisteredPrompt.result(), Authentication::Failed);

    if (!g_file_test(policyOfPolkit, G_FILE_TEST_EXISTS))
        GTEST_SKIP() << "polkitd's own actions are not installed";
    // Long before the remembered answer goes stale.
    EXPECT_TRUE(runUntil([&] { return authenticator.isAvailable(); }, 3));
    auto granted = authenticator.authenticate(reason);
    ASSERT_TRUE(allDone(5, granted));
    // polkitd grants root everything without asking; anyone else needs an authentication agent, and there
    // is none on this bus, which the lock screen must be told. A check polkitd rejects would be logged.
    EXPECT_EQ(granted.result(), getuid() == 0 ? Authentication::Succeeded : Authentication::NoAgent);
    EXPECT_TRUE(log.messages().empty());
}

} // namespace
} // namespace cohortex
