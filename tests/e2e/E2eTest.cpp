#include "E2eTest.h"

#include "Models/WorkspaceBundle.h"
#include "integration/Engine/MainLoop.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace cohortex {

void CohortexE2eTest::SetUp()
{
    const char* binary = std::getenv("COHORTEX_BINARY");
    if (!binary || !*binary)
        GTEST_SKIP() << "COHORTEX_BINARY names no program to test";
    m_binary = binary;
}

void CohortexE2eTest::TearDown()
{
    // A test that failed half-way leaves the instance running; it must go before the next test starts one,
    // or the next launch would hand its work to this one over the bus.
    if (m_app && m_app->isRunning()) {
        auto outcome = m_app->terminate(quitTimeout);
        if (!HasFailure())
            ADD_FAILURE() << "The test left Cohortex running; at the end: " << outcome.describe();
    }
    if (HasFailure() && m_app)
        std::cerr << "Cohortex's standard error:\n" << m_app->errors() << '\n';
    m_app.reset();
}

std::vector<std::string> CohortexE2eTest::command(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> argv{ m_binary.string() };
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
}

LaunchedProgram& CohortexE2eTest::launch(
    const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    return start(command(arguments), environment);
}

LaunchedProgram& CohortexE2eTest::launchAutoAnswering()
{
    const char* binary = std::getenv("COHORTEX_AUTO_ANSWERING_BINARY");
    if (!binary || !*binary)
        throw std::runtime_error("COHORTEX_AUTO_ANSWERING_BINARY names no program to test");
    return start({ binary }, {});
}

LaunchedProgram& CohortexE2eTest::start(
    std::vector<std::string> argv, const std::vector<std::string>& environment)
{
    m_app = std::make_unique<LaunchedProgram>(argv, m_home.environment(environment), m_home.path());
    return *m_app;
}

ProgramOutcome CohortexE2eTest::runSecond(const std::vector<std::string>& arguments)
{
    return LaunchedProgram::run(
        command(arguments), m_home.environment(), m_home.path(), secondInvocationTimeout);
}

ProgramOutcome CohortexE2eTest::quit()
{
    auto outcome = m_app->terminate(quitTimeout);
    if (!outcome.hasEnded)
        return outcome;
    m_app.reset();
    return outcome;
}

bool CohortexE2eTest::waitForRequests(
    std::string_view path, std::size_t count, std::chrono::milliseconds limit)
{
    return waitFor([&] { return m_server.requestsFor(path).size() >= count; }, limit);
}

bool CohortexE2eTest::waitFor(const std::function<bool()>& check, std::chrono::milliseconds limit)
{
    return runUntil(check, limit, 100ms);
}

std::filesystem::path CohortexE2eTest::writeBundle(
    const std::string& name, const std::string& path, const std::string& rule)
{
    WorkspaceBundle bundle;
    bundle.exportedAt = Date(std::floor(Date::now().secondsSinceReferenceDate()));
    bundle.workspaces.push_back({ name, m_server.url(path), "hammer", "#FF9500", {}, {} });
    bundle.rules.push_back({ rule, 0 });
    auto file = m_home.path() / (name + ".cohortex");
    std::ofstream(file) << bundle.encoded();
    return file;
}

bool CohortexE2eTest::showsWindowTitled(const std::string& pattern)
{
    auto found = LaunchedProgram::run(
        { "xdotool", "search", "--onlyvisible", "--pid", std::to_string(m_app->pid()), "--name", pattern },
        m_home.environment(), m_home.path(), secondInvocationTimeout);
    return found.succeeded() && !found.output.empty();
}

} // namespace cohortex
