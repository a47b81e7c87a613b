#include "Models/WorkspaceSession.h"

#include <gtest/gtest.h>
#include <set>

namespace cohortex {
namespace {

Url url(std::string_view text)
{
    return *Url::parse(text);
}

WorkspaceSession sampleWorkspace()
{
    return WorkspaceSession(*Uuid::parse("0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9"), "Client Alpha",
        url("https://mail.example.com/"), std::nullopt, "briefcase.fill", "#34C759", 4,
        *Uuid::parse("11111111-2222-4333-8444-555555555555"), Date(700000000.25), Date(700000100.5));
}

Json sampleJson()
{
    return sampleWorkspace().toJson();
}

Expected<WorkspaceSession> decodeText(std::string_view text)
{
    auto list
        = decodeWorkspaceList(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!list)
        return std::unexpected(list.error());
    return list->at(0);
}

TEST(WorkspaceSessionTest, NullOptionalsReadAsAbsentAndUnknownKeysAreIgnored)
{
    Json object = sampleJson();
    for (auto key : { "keepAwake", "requiresUnlock", "downloadFolderPath", "proxyType", "proxyHost",
             "proxyPort", "proxyUsername", "currentURL" })
        object[key] = nullptr;
    object["someFutureSetting"] = Json::array({ 1, 2 });
    auto decoded = WorkspaceSession::fromJson(object);
    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_FALSE(decoded->keepAwake);
    EXPECT_FALSE(decoded->proxyPort);
    EXPECT_FALSE(decoded->currentURL);
}

TEST(WorkspaceSessionTest, EncodingLeavesAbsentOptionalsOutAndKeepsDeclarationOrder)
{
    auto workspace = sampleWorkspace();
    workspace.proxyHost = "proxy.example.com";
    workspace.keepAwake = false;
    Json object = workspace.toJson();
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items())
        keys.push_back(key);
    std::vector<std::string> expected{ "id", "name", "initialURL", "currentURL", "iconSymbol", "colorHex",
        "shortcutIndex", "storageIdentifier", "createdAt", "lastActiveAt", "keepAwake", "proxyHost" };
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(object["id"], "0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9");
    EXPECT_EQ(object["createdAt"], 700000000.25);
}

TEST(WorkspaceSessionTest, ListRoundTripGivesEqualRecords)
{
    auto plain = sampleWorkspace();
    auto full = sampleWorkspace();
    full.id = Uuid::random();
    full.currentURL = url("https://other.example.com/inbox?q=1#top");
    full.keepAwake = true;
    full.requiresUnlock = false;
    full.downloadFolderPath = "/home/ada/Downloads/Client Ä";
    full.proxyType = "socks5";
    full.proxyHost = "127.0.0.1";
    full.proxyPort = 1080;
    full.proxyUsername = "ada";
    full.createdAt = Date(-12345.678901234567);
    std::vector<WorkspaceSession> list{ plain, full };

    auto encoded = encodeWorkspaceList(list);
    auto decoded = decodeWorkspaceList(
        std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()));
    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_EQ(*decoded, list);
    EXPECT_EQ(std::hash<WorkspaceSession>{}((*decoded)[1]), std::hash<WorkspaceSession>{}(full));
}

TEST(WorkspaceSessionTest, PresetsAreThreeDistinctWorkspacesInOrder)
{
    auto presets = WorkspaceSession::defaultWorkspaces(Date(5));
    ASSERT_EQ(presets.size(), 3u);
    std::set<Uuid> identifiers;
    for (const auto& preset : presets) {
        identifiers.insert(preset.id);
        identifiers.insert(preset.storageIdentifier);
        EXPECT_EQ(preset.currentURL, preset.initialURL);
        EXPECT_EQ(preset.createdAt, Date(5));
        EXPECT_EQ(preset.lastActiveAt, Date(5));
    }
    EXPECT_EQ(identifiers.size(), 6u);
}

struct DamagedField {
    const char* key;
    Json value; // a discarded value means "remove the key"
};

class RequiredFieldTest : public ::testing::TestWithParam<DamagedField> { };

TEST_P(RequiredFieldTest, MakesTheWholeListFail)
{
    Json object = sampleJson();
    if (GetParam().value.is_discarded())
        object.erase(GetParam().key);
    else
        object[GetParam().key] = GetParam().value;
    Json list = Json::array({ sampleJson(), object });
    auto text = list.dump();
    auto decoded
        = decodeWorkspaceList(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    EXPECT_FALSE(decoded);
}

Json removed()
{
    return Json(Json::value_t::discarded);
}

INSTANTIATE_TEST_SUITE_P(MissingNullOrWrongType, RequiredFieldTest,
    ::testing::Values(DamagedField{ "id", removed() }, DamagedField{ "id", "not-a-uuid" },
        DamagedField{ "name", 7 }, DamagedField{ "initialURL", "http://exa mple.com" },
        DamagedField{ "shortcutIndex", 1.5 }, DamagedField{ "storageIdentifier", removed() },
        DamagedField{ "createdAt", "2024-01-01" }, DamagedField{ "lastActiveAt", nullptr }));

class OptionalFieldTest : public ::testing::TestWithParam<DamagedField> { };

TEST_P(OptionalFieldTest, PresentWithTheWrongTypeFails)
{
    Json object = sampleJson();
    object[GetParam().key] = GetParam().value;
    EXPECT_FALSE(WorkspaceSession::fromJson(object));
}

INSTANTIATE_TEST_SUITE_P(WrongType, OptionalFieldTest,
    ::testing::Values(DamagedField{ "keepAwake", 1 }, DamagedField{ "requiresUnlock", "true" },
        DamagedField{ "downloadFolderPath", 3 }, DamagedField{ "proxyType", true },
        DamagedField{ "proxyPort", "8080" }, DamagedField{ "proxyUsername", Json::object() },
        DamagedField{ "currentURL", "not a url" }));

TEST(WorkspaceSessionTest, ListThatIsNotAnArrayOrNotJsonFails)
{
    EXPECT_FALSE(decodeText("{}"));
    EXPECT_FALSE(decodeText("[{\"id\": "));
    EXPECT_FALSE(decodeText(""));
}

struct ProxyCase {
    std::optional<std::string> host;
    std::optional<std::int64_t> port;
    std::optional<std::string> type;
    bool expected;
};

class HasProxyTest : public ::testing::TestWithParam<ProxyCase> { };

TEST_P(HasProxyTest, NeedsAHostAndAPositivePort)
{
    auto workspace = sampleWorkspace();
    workspace.proxyHost = GetParam().host;
    workspace.proxyPort = GetParam().port;
    workspace.proxyType = GetParam().type;
    EXPECT_EQ(workspace.hasProxy(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, HasProxyTest,
    ::testing::Values(ProxyCase{ "", 8080, "http", false }, ProxyCase{ "proxy", 0, "http", false },
        ProxyCase{ "proxy", std::nullopt, "http", false }, ProxyCase{ "proxy", 1, std::nullopt, true },
        ProxyCase{ " ", 3128, "http", true }, ProxyCase{ std::nullopt, 3128, "http", false }));

TEST(WorkspaceSessionTest, DownloadFolderURLIsADirectoryFileURLOnlyForANonEmptyPath)
{
    auto workspace = sampleWorkspace();
    workspace.downloadFolderPath = "";
    EXPECT_FALSE(workspace.downloadFolderURL());
    workspace.downloadFolderPath = "/home/ada/Client Downloads";
    auto folder = workspace.downloadFolderURL();
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->isFileURL());
    EXPECT_EQ(folder->filePath(), "/home/ada/Client Downloads/");
}

struct ColorCase {
    const char* text;
    RgbColor expected;
};

class DisplayColorTest : public ::testing::TestWithParam<ColorCase> { };

TEST_P(DisplayColorTest, ParsesLenientlyAndFallsBackToBlue)
{
    auto workspace = sampleWorkspace();
    workspace.colorHex = GetParam().text;
    auto color = workspace.displayColor();
    EXPECT_DOUBLE_EQ(color.red, GetParam().expected.red) << GetParam().text;
    EXPECT_DOUBLE_EQ(color.green, GetParam().expected.green) << GetParam().text;
    EXPECT_DOUBLE_EQ(color.blue, GetParam().expected.blue) << GetParam().text;
}

constexpr RgbColor green{ 0x34 / 255.0, 0xC7 / 255.0, 0x59 / 255.0 };

INSTANTIATE_TEST_SUITE_P(Cases, DisplayColorTest,
    ::testing::Values(ColorCase{ "#34C759", green }, ColorCase{ "34c759", green },
        ColorCase{ "  #34C759 \n", green }, ColorCase{ "#0X34c759", green }, ColorCase{ "#34C759zz", green },
        ColorCase{ "\u00a0#34C759\u2003", green }, ColorCase{ "", standardBlue },
        ColorCase{ "#GGHHII", standardBlue }, ColorCase{ "#FF", RgbColor{ 0, 0, 1.0 } },
        ColorCase{ "#FF34C759", green }, ColorCase{ "#12345678901234567834C759", green }));

} // namespace
} // namespace cohortex
