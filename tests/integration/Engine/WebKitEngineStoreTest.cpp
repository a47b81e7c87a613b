#include "Engine/WebKitGtk/StoreDirectories.h"
#include "EngineTest.h"
#include "TestWebView.h"

#include <gmock/gmock.h>
#include <sys/stat.h>

namespace cohortex {
namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;
using Outcome = TestWebView::Outcome;

namespace fs = std::filesystem;

unsigned permissionsOf(const fs::path& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

HttpCookie persistentCookie(std::string name)
{
    return { std::move(name), "1", "127.0.0.1", "/", Date::now().adding(3600), false, false,
        HttpCookie::SameSite::Lax };
}

class WebKitEngineStoreTest : public EngineTest {
protected:
    bool exists(const fs::path& path) const
    {
        std::error_code error;
        return fs::exists(path, error);
    }

    std::optional<bool> destroy(const Uuid& storage)
    {
        auto destroyed = engine().destroyStore(storage);
        if (!finishes(destroyed))
            return std::nullopt;
        return destroyed.result();
    }
};

TEST_F(WebKitEngineStoreTest, AStoreKeepsItsDataPrivateAndIsDestroyedWithBothDirectoriesOnlyOnceReleased)
{
    engine().openStore(m_storeA);
    auto directories = StoreDirectories::forStorage(m_storeA);
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.urlSettingCookie("/set", "keep=1; Max-Age=3600")), Outcome::Finished);
        EXPECT_EQ(directories.data, m_home.path() / "data/cohortex/stores" / m_storeA.string());
        EXPECT_EQ(directories.cache, m_home.path() / "cache/cohortex/stores" / m_storeA.string());
        EXPECT_EQ(permissionsOf(directories.data), 0700u);
        EXPECT_EQ(permissionsOf(directories.cache), 0700u);
        auto header = readFile(directories.data / "cookies.sqlite");
        EXPECT_EQ(std::string(header.begin(), header.begin() + std::min<size_t>(header.size(), 15)),
            "SQLite format 3");

        EXPECT_EQ(destroy(m_storeA), false);
        EXPECT_TRUE(exists(directories.data));
        EXPECT_TRUE(exists(directories.cache));
        EXPECT_THAT(cookiesOf(m_storeA), SizeIs(1));
    }

    EXPECT_EQ(destroy(m_storeA), true);
    // The network process lets go of the files in its own time; it must not bring them back.
    runFor(std::chrono::milliseconds(1500));
    EXPECT_FALSE(exists(directories.data));
    EXPECT_FALSE(exists(directories.cache));
    EXPECT_THAT(cookiesOf(m_storeA), IsEmpty());
}

TEST_F(WebKitEngineStoreTest, AStoreNotOpenedInThisRunIsDestroyedFromDisk)
{
    setCookie(m_storeB, persistentCookie("keep"));
    restartEngine();
    auto directories = StoreDirectories::forStorage(m_storeB);
    ASSERT_TRUE(exists(directories.data));

    EXPECT_EQ(destroy(m_storeB), true);
    EXPECT_FALSE(exists(directories.data));
    EXPECT_FALSE(exists(directories.cache));
}

TEST_F(WebKitEngineStoreTest, RemovingAllDataEmptiesThatStoreOnly)
{
    setCookie(m_storeA, persistentCookie("a"));
    setCookie(m_storeB, persistentCookie("b"));
    TestWebView view(engine(), m_storeA);
    ASSERT_EQ(view.load(m_server.urlSettingCookie("/set", "session=1")), Outcome::Finished);

    ASSERT_TRUE(finishes(engine().removeAllData(m_storeA)));

    EXPECT_THAT(cookiesOf(m_storeA), IsEmpty());
    EXPECT_THAT(cookiesOf(m_storeB), SizeIs(1));
    ASSERT_EQ(view.load(m_server.url("/after")), Outcome::Finished);
    EXPECT_EQ(cookieSentFor("/after"), "");
}

} // namespace
} // namespace cohortex
