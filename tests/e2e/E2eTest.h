#pragma once

#include "LaunchedProgram.h"
#include "Profile.h"
#include "TemporaryHome.h"
#include "integration/Engine/TestHttpServer.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

using namespace std::chrono_literals;

// How long a launch, a handed-over link or a quit may take before a test counts it as failed. Generous:
// the first start of WebKit's processes under Xvfb on a shared machine is slow.
constexpr std::chrono::milliseconds launchTimeout = 30s;
constexpr std::chrono::milliseconds secondInvocationTimeout = 15s;
constexpr std::chrono::milliseconds quitTimeout = 20s;

// One test: Cohortex as a user runs it, in a home of its own, with a web server on 127.0.0.1 whose
// requests show what the browser really loaded and with which cookies. The binary comes from
// COHORTEX_BINARY; without it every test is skipped.
class CohortexE2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Profile profile() const { return Profile(m_home.defaultsFile()); }
    // Starts the instance; extra "NAME=value" entries join its environment.
    LaunchedProgram& launch(
        const std::vector<std::string>& arguments = {}, const std::vector<std::string>& environment = {});
    // The same with the test program that confirms every question itself (COHORTEX_AUTO_ANSWERING_BINARY),
    // for flows that would otherwise stop at a dialog.
    LaunchedProgram& launchAutoAnswering(const std::vector<std::string>& arguments = {});
    // A second `cohortex ...` in the same home, which hands its arguments to the running instance.
    ProgramOutcome runSecond(
        const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {});
    // SIGTERM to the running instance, then its outcome; the instance is gone afterwards.
    ProgramOutcome quit();

    bool waitForRequests(
        std::string_view path, std::size_t count = 1, std::chrono::milliseconds limit = launchTimeout);
    // Runs the main loop until check() holds; the stored state is written asynchronously to our waiting.
    bool waitFor(const std::function<bool()>& check, std::chrono::milliseconds limit = launchTimeout);
    // A bundle file of one workspace starting on the server's path, with one rule for the pattern.
    std::filesystem::path writeBundle(
        const std::string& name, const std::string& path, const std::string& rule);
    std::vector<std::string> command(const std::vector<std::string>& arguments) const;
    // Whether the running instance shows a window whose title matches the regular expression.
    bool showsWindowTitled(const std::string& pattern);

    TemporaryHome m_home;
    TestHttpServer m_server;
    std::unique_ptr<LaunchedProgram> m_app;

private:
    LaunchedProgram& start(std::vector<std::string> argv, const std::vector<std::string>& environment);

    std::filesystem::path m_binary;
};

} // namespace cohortex
