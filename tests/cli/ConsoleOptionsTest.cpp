// The option table: the parser knows every console option in it, and its help keeps within the
// column --help gives it.
#include "cli/ConsoleOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CustomCommandLineInfo.h"
#include "cli/Usage.h"
#include "engine/CountSettings.h"
#include "engine/TextConversion.h"
#include "support/SettingsGuard.h"

namespace tw {
namespace {

TEST(ConsoleOptionsTest, TheParserTakesEveryConsoleOptionOfTheTable) {
    for (const ConsoleOption& option : consoleOptions()) {
        SCOPED_TRACE(option.name);
        const std::u16string name = utf16FromUtf8(option.name).substr(1);
        EXPECT_EQ(isOptionName(name), option.console);
        if (!option.console) {
            continue;
        }
        test::SettingsGuard physical(CountMode::Physical);
        CCustomCommandLineInfo info;
        info.ParseArguments({u"-" + name});
        EXPECT_TRUE(info.consoleMode);
        // Only an option that needs a value says that none followed it.
        const std::vector<std::string> expected =
            option.needsValue && option.name != "-ext"
                ? std::vector<std::string>{option.name + ": no value follows; ignored"}
                : std::vector<std::string>{};
        EXPECT_EQ(info.warnings, expected);
    }
}

TEST(ConsoleOptionsTest, HelpLinesKeepTheirBreaksUntilOneIsTooLong) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"short", {"short"}},
        {"first line\nsecond", {"first line", "second"}},
        {"exactly ten\nchars here", {"exactly ten", "chars here"}},
        // One line too long: the whole text is wrapped again.
        {"a line that is too long\nend", {"a line that", "is too long", "end"}},
        {"ab cd\nef gh ij kl mn", {"ab cd ef gh", "ij kl mn"}},
        // A word wider than the column stands alone.
        {"x averyveryverylongword y", {"x", "averyveryverylongword", "y"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(helpLines(c.text, 11), c.lines);
    }
}

TEST(ConsoleOptionsTest, HelpNamesEveryOptionAndReportWordWithinItsWidth) {
    const std::string help(usageText());
    for (const ConsoleOption& option : consoleOptions()) {
        EXPECT_NE(help.find("\n  " + option.name), std::string::npos) << option.name;
    }
    EXPECT_NE(help.find("  -report none|list|tree|json|html|functions [nodir] [csv]\n"),
              std::string::npos);
    std::size_t start = 0;
    for (std::size_t end = help.find('\n'); end != std::string::npos;
         start = end + 1, end = help.find('\n', start)) {
        EXPECT_LE(end - start, kHelpTextColumn + kHelpTextWidth) << help.substr(start, end - start);
    }
}

}  // namespace
}  // namespace tw
