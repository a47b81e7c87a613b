#pragma once

#include "Engine/SessionCookieCodec.h"
#include "Engine/WebKitManager.h"
#include "Fakes/FakeProxyPasswords.h"
#include "Fakes/FakeWebEngine.h"
#include "Fakes/MemoryDefaults.h"
#include "Fakes/RecordingCookieVault.h"
#include "Services/StoredKeys.h"
#include "Support/ManualMainQueue.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace cohortex::testing {

class WebKitManagerFixture : public ::testing::Test {
protected:
    static WorkspaceSession makeWorkspace(std::string name = "mail")
    {
        auto site = *Url::parse("https://" + name + ".example/");
        return WorkspaceSession(Uuid::random(), name, site, std::nullopt, "globe", "#000000", 1,
            Uuid::random(), Date(0), Date(0));
    }

    static HttpCookie sessionCookie(std::string name, std::string value = "v")
    {
        HttpCookie cookie;
        cookie.name = std::move(name);
        cookie.value = std::move(value);
        cookie.domain = ".example";
        cookie.path = "/";
        return cookie;
    }

    // What the previous run left in the vault for the workspace.
    void storeBlob(const WorkspaceSession& workspace, const std::vector<HttpCookie>& cookies)
    {
        vault.save(SessionCookieCodec::encode(cookies), workspace.storageIdentifier);
        forgetRecords();
    }

    // The cookies in the workspace's saved blob, read back through the codec rather than compared as bytes.
    std::vector<std::string> savedNames(const WorkspaceSession& workspace) const
    {
        auto found = vault.items().find(workspace.storageIdentifier);
        if (found == vault.items().end())
            return {};
        return names(SessionCookieCodec::decode(found->second));
    }

    std::vector<std::string> jarNames(const WorkspaceSession& workspace)
    {
        return names(engine.jars[workspace.storageIdentifier]);
    }

    static std::vector<std::string> names(const std::vector<HttpCookie>& cookies)
    {
        std::vector<std::string> result;
        for (const auto& cookie : cookies)
            result.push_back(cookie.name);
        return result;
    }

    long count(std::string_view event) const { return std::ranges::count(engine.events, event); }

    // Restores the workspace (with nothing saved) and lets everything it started finish.
    void prepared(const WorkspaceSession& workspace)
    {
        manager.prepare(workspace);
        forgetRecords();
    }

    // Lets pending work finish, then clears what the fakes recorded of it.
    void forgetRecords()
    {
        queue.runPending();
        engine.events.clear();
        vault.saves.clear();
    }

    ManualMainQueue queue;
    MemoryDefaults defaults;
    FakeWebEngine engine{ queue };
    RecordingCookieVault vault{ engine.events };
    FakeProxyPasswords passwords{ queue };
    WebKitManager manager{ queue, defaults, engine, vault, passwords };
};

} // namespace cohortex::testing
