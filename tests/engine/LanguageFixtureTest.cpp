// Every fixture under tests/fixtures/languages/<language>/ counted in the modes its sidecar file
// (<fixture>.counts, beside it and not inside it, where it would be counted) names, with the
// counts it expects. A language's tests are its folder: adding a file and its sidecar adds a
// case.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CountColumns.h"
#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/Language.h"
#include "support/SettingsWith.h"
#include "support/U16.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

const fs::path& languagesDir() {
    static const fs::path dir = fs::path(TW_FIXTURES_DIR) / "languages";
    return dir;
}

/// One line of a sidecar: a mode and the values it expects.
struct Expected {
    CountMode mode;
    std::map<std::string, std::uint32_t> values;
};

/// A fixture's path below `languagesDir()`, as the test is named.
std::vector<std::string> fixtureNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(languagesDir())) {
        if (entry.is_regular_file() && entry.path().extension() != ".counts") {
            names.push_back(entry.path().lexically_relative(languagesDir()).generic_string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

/// The lines of `name`'s sidecar; a line it cannot read fails the test.
std::vector<Expected> readSidecar(const std::string& name) {
    std::vector<Expected> expected;
    std::ifstream in(languagesDir() / (name + ".counts"));
    EXPECT_TRUE(in) << name << " has no sidecar " << name << ".counts";
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream words(line);
        std::string letter;
        words >> letter;
        Expected entry{};
        EXPECT_TRUE(countModeFromLetter(test::u16(letter), entry.mode)) << line;
        std::string pair;
        while (words >> pair) {
            const std::size_t equals = pair.find('=');
            EXPECT_NE(equals, std::string::npos) << line;
            entry.values[pair.substr(0, equals)] =
                static_cast<std::uint32_t>(std::stoul(pair.substr(equals + 1)));
        }
        expected.push_back(std::move(entry));
    }
    EXPECT_FALSE(expected.empty()) << name << ".counts names no mode";
    return expected;
}

/// The record's value by the name its sidecar uses: a counter's JSON name, or sizeBytes.
std::map<std::string, std::uint32_t> valuesOf(const FileCount& record) {
    std::map<std::string, std::uint32_t> values{{"sizeBytes", record.sizeBytes}};
    for (const CountColumnInfo& column : kCountColumns) {
        if (column.counter != nullptr) {
            values[std::string(column.jsonName)] = record.*column.counter;
        }
    }
    return values;
}

class LanguageFixtureTest : public testing::TestWithParam<std::string> {};

TEST_P(LanguageFixtureTest, CountsAsItsSidecarSays) {
    const std::string& name = GetParam();
    for (const Expected& expected : readSidecar(name)) {
        SCOPED_TRACE(name + " mode " + test::u8(countModeName(expected.mode)));
        FileCount record(test::u16(fs::path(name).filename().string()),
                         (languagesDir() / name).string());
        ASSERT_TRUE(record.count(test::settingsWith(expected.mode))) << test::u8(record.remarks);
        EXPECT_TRUE(record.counted);
        EXPECT_FALSE(record.failed);
        EXPECT_TRUE(record.remarks.empty());
        EXPECT_EQ(record.errorLine, -1);
        EXPECT_GE(record.countSeconds, 0.0);
        const auto values = valuesOf(record);
        for (const auto& [counter, value] : expected.values) {
            ASSERT_TRUE(values.count(counter)) << "no counter named " << counter;
            EXPECT_EQ(values.at(counter), value) << counter;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, LanguageFixtureTest, testing::ValuesIn(fixtureNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace_if(
                                 name.begin(), name.end(),
                                 [](char c) {
                                     return std::isalnum(static_cast<unsigned char>(c)) == 0;
                                 },
                                 '_');
                             return name;
                         });

TEST(LanguageFixtures, EveryLanguageTheProgramCountsHasFixtures) {
    std::set<FileType> covered;
    for (const std::string& name : fixtureNames()) {
        covered.insert(FileCount(test::u16(name), "/nonexistent").fileType);
    }
    for (const Language& language : languages()) {
        if (language.counted) {
            EXPECT_TRUE(covered.count(language.type))
                << test::u8(language.name) << " has no fixture under " << languagesDir();
        }
    }
}

}  // namespace
}  // namespace tw
