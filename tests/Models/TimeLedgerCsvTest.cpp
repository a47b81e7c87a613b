#include "Models/TimeLedger.h"
#include "Support/Json.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace cohortex {
namespace {

// The export is meant for spreadsheets and scripts, so it is read back here by a standard CSV reader
// (Python's csv module) rather than by our own understanding of the format.
class TimeLedgerCsvTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("python3 -c 'import csv, json' >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "python3 with its csv module is not installed";
        std::string pattern = (std::filesystem::temp_directory_path() / "cohortex-csv-XXXXXX").string();
        int descriptor = mkstemp(pattern.data());
        ASSERT_GE(descriptor, 0);
        close(descriptor);
        m_path = pattern;
    }

    void TearDown() override
    {
        if (!m_path.empty())
            std::filesystem::remove(m_path);
    }

    // The rows as Python's reader sees them, as a JSON array of arrays of strings.
    Json readBack(const std::string& csv)
    {
        std::ofstream(m_path, std::ios::binary) << csv;
        std::string command
            = "python3 -c 'import csv, json, sys; "
              "print(json.dumps(list(csv.reader(open(sys.argv[1], newline=\"\", encoding=\"utf-8\")))))' "
            + m_path.string();
        std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
        if (!pipe)
            return nullptr;
        std::string output;
        std::array<char, 4096> buffer;
        for (std::size_t read; (read = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;)
            output.append(buffer.data(), read);
        auto rows = json::parse(output);
        return rows ? *rows : Json(nullptr);
    }

    std::filesystem::path m_path;
};

TEST_F(TimeLedgerCsvTest, EveryRowReadsBackAsItsThreeFields)
{
    const std::vector<std::string> names{ "Acme, Inc.", "The \"A\" team", "Two\nLines", "Two\rLines",
        "Ends with CR LF\r\n", "\"", ",", "Zürich Büro" };
    auto calendar = Calendar::inTimeZone("Europe/Berlin").value();
    TimeLedger ledger;
    std::map<Uuid, std::string> named;
    for (std::size_t index = 0; index < names.size(); ++index) {
        Uuid::Bytes bytes{};
        bytes[15] = static_cast<std::uint8_t>(index + 1);
        named[Uuid(bytes)] = names[index];
        ledger.add(900.0 * static_cast<double>(index + 1), Uuid(bytes), Date(762868800), calendar);
    }
    Json expected = Json::array({ Json::array({ "Date", "Workspace", "Hours" }) });
    for (std::size_t index = 0; index < names.size(); ++index) {
        char hours[16];
        std::snprintf(hours, sizeof hours, "%.2f", 0.25 * static_cast<double>(index + 1));
        expected.push_back(Json::array({ "2025-03-05", names[index], hours }));
    }
    EXPECT_EQ(readBack(ledger.csv(named)), expected);
}

} // namespace
} // namespace cohortex
