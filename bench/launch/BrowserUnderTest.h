#pragma once

#include "e2e/LaunchedProgram.h"
#include "e2e/TemporaryHome.h"
#include "integration/Engine/TestHttpServer.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace cohortex {

// Why views are loaded: to be measured as they are, or to have all but the shown one released next.
enum class LoadPurpose { Measure, Hibernate };

// One of the two browsers the launch benchmark compares, started and driven the way its users would.
// Every start gets a fresh home, so each run begins on an empty profile.
class BrowserUnderTest {
public:
    virtual ~BrowserUnderTest() = default;

    virtual std::string name() const = 0;
    // Starts the browser showing one page at the path of the server.
    virtual std::unique_ptr<LaunchedProgram> launch(
        const TemporaryHome&, const TestHttpServer&, const std::string& path)
        = 0;
    // Starts the browser with `count` views or workspaces, all loaded; null when they did not load in time.
    virtual std::unique_ptr<LaunchedProgram> launchLoaded(
        const TemporaryHome&, TestHttpServer&, int count, LoadPurpose)
        = 0;
    // Releases every view but the shown one; false when the browser offers no way to ask for it.
    virtual bool hibernateHidden(LaunchedProgram&) = 0;
    // What the figures count, for the notes under the table.
    virtual std::string pagesPerView() const = 0;
    // False for a way of launching measured for its time only.
    virtual bool measuresMemory() const { return true; }
};

// How Cohortex is started: showing its one workspace's start page; with a link on a fresh profile; with a
// link on a profile of ten workspaces. The figure of the last two is the first request of the link.
enum class CohortexLaunch { StartPage, Link, LinkAmongTen };

std::unique_ptr<BrowserUnderTest> makeBareWebKit(std::filesystem::path binary, bool showEach);
// Chromium started as a user would from a terminal, for its launch figures only.
std::unique_ptr<BrowserUnderTest> makeChromium(std::filesystem::path binary);
// hibernationWait: how long idle workspaces are given to fall asleep (see Browsers.cpp).
std::unique_ptr<BrowserUnderTest> makeCohortex(
    std::filesystem::path binary, std::chrono::seconds hibernationWait, CohortexLaunch);

} // namespace cohortex
