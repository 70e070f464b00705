// FileCount::explain(): the same record as count(), and lines whose figures add up to it.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/FileCount.h"
#include "support/SettingsWith.h"
#include "support/U16.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

TEST(FileExplanationTest, LinesAddUpToTheRecordOnEveryFixtureInEveryMode) {
    std::vector<CountSettings> settings;
    for (const CountMode mode : {CountMode::Physical, CountMode::TerminatingCharacters,
                                 CountMode::Executable, CountMode::CyclomaticComplexity}) {
        settings.push_back(test::settingsWith(mode));
    }
    CountSettings options = test::settingsWith(CountMode::Executable);
    options.allCapsFunctionsAsMacros = true;
    options.macrosAsStatements = false;
    options.logicAsSingleStatement = true;
    settings.push_back(options);

    std::size_t files = 0;
    for (const char* folder : {"languages", "console/tree", "console/explain", "complexity/sources",
                               "complexity/pmccabe"}) {
        for (const auto& entry :
             fs::recursive_directory_iterator(std::string(TW_FIXTURES_DIR) + "/" + folder)) {
            if (!entry.is_regular_file() || entry.path().extension() == ".counts") {
                continue;
            }
            ++files;
            const std::string path = entry.path().string();
            for (const CountSettings& setting : settings) {
                SCOPED_TRACE(path + " mode " + std::to_string(static_cast<int>(setting.mode)));
                FileCount counted(test::u16(path));
                FileCount explained(test::u16(path));
                FileExplanation explanation;
                const bool ok = counted.count(setting);
                ASSERT_EQ(explained.explain(setting, explanation), ok);
                EXPECT_EQ(explained.remarks, counted.remarks);
                if (!ok) {
                    continue;
                }
                std::uint32_t byClass[8] = {};
                std::int64_t statements = 0;
                std::int64_t declarations = 0;
                std::int64_t directives = 0;
                for (const FileExplanation::Line& line : explanation.lines) {
                    ++byClass[static_cast<int>(line.kind)];
                    statements += line.statements;
                    declarations += line.declarations;
                    directives += line.directives;
                    EXPECT_LE(line.start + line.length, explanation.text.size());
                }
                const bool physical = setting.mode == CountMode::Physical;
                EXPECT_EQ(physical ? byClass[static_cast<int>(LineType::Code)] : statements,
                          counted.code);
                EXPECT_EQ(declarations, counted.declaration);
                if (setting.mode == CountMode::Executable) {
                    EXPECT_EQ(directives, counted.directive);
                }
                EXPECT_EQ(byClass[static_cast<int>(LineType::CommentOwnLine)],
                          counted.commentOwnLine);
                EXPECT_EQ(byClass[static_cast<int>(LineType::CommentCodeLine)],
                          counted.commentCodeLine);
                EXPECT_EQ(byClass[static_cast<int>(LineType::CommentBanner)],
                          counted.commentBanner);
                EXPECT_EQ(byClass[static_cast<int>(LineType::CommentBlank)], counted.commentBlank);
                EXPECT_EQ(byClass[static_cast<int>(LineType::Blank)], counted.blank);
                EXPECT_EQ(explained.code, counted.code);
                EXPECT_EQ(explained.total(), counted.total());
            }
        }
    }
    EXPECT_GT(files, 15u);
}

}  // namespace
}  // namespace tw
