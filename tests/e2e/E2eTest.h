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

// Generous: the first start of WebKit's processes under Xvfb on a shared machine is slow.
constexpr std::chrono::milliseconds launchTimeout = 30s;
constexpr std::chrono::milliseconds secondInvocationTimeout = 15s;
constexpr std::chrono::milliseconds quitTimeout = 20s;

// Cohortex in a home of its own, with a web server on 127.0.0.1 whose requests show what it loaded and
// with which cookies. Skipped without COHORTEX_BINARY.
class CohortexE2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Profile profile() const { return Profile(m_home.defaultsFile()); }
    LaunchedProgram& launch(
        const std::vector<std::string>& arguments = {}, const std::vector<std::string>& environment = {});
    // The test program that confirms every question itself (COHORTEX_AUTO_ANSWERING_BINARY).
    LaunchedProgram& launchAutoAnswering();
    // A second `cohortex ...` in the same home, which hands its arguments to the running instance.
    ProgramOutcome runSecond(const std::vector<std::string>& arguments);
    ProgramOutcome quit();

    bool waitForRequests(
        std::string_view path, std::size_t count = 1, std::chrono::milliseconds limit = launchTimeout);
    bool waitFor(const std::function<bool()>& check, std::chrono::milliseconds limit = launchTimeout);
    std::filesystem::path writeBundle(
        const std::string& name, const std::string& path, const std::string& rule);
    std::vector<std::string> command(const std::vector<std::string>& arguments) const;
    bool showsWindowTitled(const std::string& pattern);

    TemporaryHome m_home;
    TestHttpServer m_server;
    std::unique_ptr<LaunchedProgram> m_app;

private:
    LaunchedProgram& start(std::vector<std::string> argv, const std::vector<std::string>& environment);

    std::filesystem::path m_binary;
};

} // namespace cohortex
