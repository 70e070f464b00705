#include "cli/CustomCommandLineInfo.h"

#include <gtest/gtest.h>

#include <optional>

#include "engine/CountSettings.h"
#include "support/SettingsGuard.h"
#include "support/U16.h"

namespace tw {
namespace {

using Strings = std::vector<std::u16string>;

/// Splits a command line written as the user types it (no quoting needed here).
Strings words(std::u16string_view line) {
    Strings result;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t space = line.find(u' ', start);
        const std::size_t end = space == std::u16string_view::npos ? line.size() : space;
        if (end > start) {
            result.emplace_back(line.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

/// The reports the -report words make.
constexpr ReportLayout kList{};
constexpr ReportLayout kListNames{.fullPaths = false};
constexpr ReportLayout kListCsv{.format = ReportFormatId::Csv};
constexpr ReportLayout kListCsvNames{.format = ReportFormatId::Csv, .fullPaths = false};
constexpr ReportLayout kTree{.listStyle = false};
constexpr ReportLayout kJson{.format = ReportFormatId::Json};

struct Expected {
    bool consoleMode = true;
    Strings directories = {};
    Strings directoriesNoSubfolders = {};
    Strings extensions = {};
    Strings files = {};
    Strings listFiles = {};
    std::optional<ReportLayout> report = std::nullopt;
    CountMode mode = CountMode::Physical;
    std::u16string outputDirectory = u"";
    bool quiet = false;
    bool noSubfoldersPending = false;
    bool noSubfolders = false;
    Strings warnings = {};
};

TEST(CommandLineTest, ArgumentsFillTheRecord) {
    const struct {
        std::u16string line;
        Expected expected;
    } cases[] = {
        {u"", {.consoleMode = false}},
        {u"project.tyx",
         {.consoleMode = false,
          .warnings = {u"'project.tyx' ignored: it comes before any option"}}},
        {u"-file main.cpp util.h -mode e",
         {.files = {u"main.cpp", u"util.h"}, .mode = CountMode::Executable}},
        {u"-dir C:\\src -ext .cpp .h -report list csv -out D:\\results",
         {.directories = {u"C:\\src"},
          .extensions = {u".cpp", u".h"},
          .report = kListCsv,
          .outputDirectory = u"D:\\results"}},
        {u"-dir nosub C:\\inc C:\\src -ext .h",
         {.directories = {u"C:\\src"},
          .directoriesNoSubfolders = {u"C:\\inc"},
          .extensions = {u".h"}}},
        {u"-list files.txt -quiet -report tree",
         {.listFiles = {u"files.txt"}, .report = kTree, .quiet = true}},
        // Only '-' begins an option: "/file" is a path, and so is every value beginning with '/'.
        {u"/file a.cpp",
         {.consoleMode = false,
          .warnings = {u"'/file' ignored: it comes before any option (options begin with '-')",
                       u"'a.cpp' ignored: it comes before any option"}}},
        {u"-dir /out -list /file -file /git",
         {.directories = {u"/out"}, .files = {u"/git"}, .listFiles = {u"/file"}}},
        // An unknown option takes the values after it with it: a typo's value is no file.
        {u"-file a.cpp -x b.cpp c.cpp -mode e",
         {.files = {u"a.cpp"},
          .mode = CountMode::Executable,
          .warnings = {u"unknown option '-x' ignored, and the values after it: 'b.cpp' 'c.cpp'"}}},
        {u"-file a.c -mdoe e",
         {.files = {u"a.c"},
          .warnings = {u"unknown option '-mdoe' ignored, and the value after it: 'e'"}}},
        {u"-Quiet -file a.cpp -Quiet b",
         {.files = {u"a.cpp"},
          .warnings = {u"unknown option '-Quiet' ignored",
                       u"unknown option '-Quiet' ignored, and the value after it: 'b'"}}},
        {u"-out - -file a.c", {.files = {u"a.c"}, .outputDirectory = u"-"}},
        {u"-dir nosub", {.noSubfoldersPending = true}},
        {u"-report csv", {.warnings = {u"-report: 'csv' ignored: it applies only after list"}}},
        {u"-report tree csv",
         {.report = kTree, .warnings = {u"-report: 'csv' ignored: it applies only after list"}}},
        {u"-report foo",
         {.warnings = {u"-report: 'foo' ignored: not a report word (none, list, tree, json, "
                       u"html, functions; nodir and csv after list)"}}},
        {u"-report list json",
         {.report = kJson,
          .warnings = {u"-report: 'json' replaces the earlier 'list': a run writes one report"}}},
        {u"-report json nodir",
         {.report = kJson, .warnings = {u"-report: 'nodir' ignored: it applies only after list"}}},
        {u"-report list csv nodir", {.report = kListCsvNames}},
        {u"-report list nodir", {.report = kListNames}},
        {u"-report list csv tree",
         {.report = kTree,
          .warnings = {u"-report: 'tree' replaces the earlier 'list csv': a run writes one "
                       u"report"}}},
        {u"-report list -report csv", {.report = kListCsv}},
        {u"-report none list", {.report = kList}},
        {u"-report list csv none",
         {.warnings = {u"-report: 'none' cancels the earlier 'list csv': a run writes one "
                       u"report"}}},
        {u"-mode x", {.warnings = {u"-mode: 'x' ignored: not a mode (p, t, e or c)"}}},
        {u"-mode P", {.warnings = {u"-mode: 'P' ignored: not a mode (p, t, e or c)"}}},
        {u"-mode c", {.mode = CountMode::CyclomaticComplexity}},
        {u"-mode t e", {.mode = CountMode::Executable}},
        {u"-out results/", {.outputDirectory = u"results/"}},
        {u"-out a -out b", {.outputDirectory = u"b"}},
        {u"-quiet", {.quiet = true}},
        {u"-quiet loud",
         {.quiet = true, .warnings = {u"-quiet: 'loud' ignored: -quiet takes no values"}}},
        {u"-nosub C:\\src",
         {.noSubfolders = true,
          .warnings = {u"-nosub: 'C:\\src' ignored: -nosub takes no values; use -dir nosub DIR"}}},
        {u"-dir a -nosub -dir nosub b c",
         {.directories = {u"a", u"c"}, .directoriesNoSubfolders = {u"b"}, .noSubfolders = true}},
        // Extensions match in any case; one of no language is counted as C.
        {u"-ext cpp CPP .Java .py",
         {.extensions = {u"cpp", u"CPP", u".Java", u".py"},
          .warnings = {u"-ext: 'CPP' is taken as '.cpp': extensions match in any letter case",
                       u"-ext: '.Java' is taken as '.java': extensions match in any letter case",
                       u"-ext: '.py' is not an extension of a language the program knows; its "
                       u"files are counted with the rules of C"}}},
        {u"-ext .C .CS",
         {.extensions = {u".C", u".CS"},
          .warnings = {u"-ext: '.C' is taken as '.c': extensions match in any letter case",
                       u"-ext: '.CS' is taken as '.cs': extensions match in any letter case",
                       u"-ext: '.cs' is not an extension of a language the program knows; its "
                       u"files are counted with the rules of C"}}},
        // On this platform an absolute path is a value, not a switch.
        {u"-file /home/u/a.cpp -out /tmp/results",
         {.files = {u"/home/u/a.cpp"}, .outputDirectory = u"/tmp/results"}},

        {u"/home/u/a.cpp",
         {.consoleMode = false,
          .warnings = {u"'/home/u/a.cpp' ignored: it comes before any option"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test::u8(c.line));
        test::SettingsGuard physical(CountMode::Physical);
        CCustomCommandLineInfo info;
        info.ParseArguments(words(c.line));
        const Expected& e = c.expected;
        EXPECT_EQ(info.consoleMode, e.consoleMode);
        EXPECT_EQ(info.directories, e.directories);
        EXPECT_EQ(info.directoriesNoSubfolders, e.directoriesNoSubfolders);
        EXPECT_EQ(info.extensions, e.extensions);
        EXPECT_EQ(info.files, e.files);
        EXPECT_EQ(info.listFiles, e.listFiles);
        EXPECT_EQ(info.report, e.report);
        EXPECT_EQ(countSettings().mode, e.mode);
        EXPECT_EQ(info.outputDirectory, e.outputDirectory);
        EXPECT_EQ(info.quiet, e.quiet);
        EXPECT_EQ(info.noSubfoldersPending, e.noSubfoldersPending);
        EXPECT_EQ(info.noSubfolders, e.noSubfolders);
        Strings warnings;
        for (const std::string& warning : info.warnings) {
            warnings.push_back(test::u16(warning));
        }
        EXPECT_EQ(warnings, e.warnings);
    }
}

TEST(CommandLineTest, OptionsOfThisPlatform) {
    CCustomCommandLineInfo info;
    info.ParseArguments(words(u"-save out.tyx -threads 3 -file a.c"));
    EXPECT_EQ(info.saveFile, u"out.tyx");
    EXPECT_EQ(info.threads, 3u);
    EXPECT_EQ(info.files, Strings{u"a.c"});

    CCustomCommandLineInfo bad;
    bad.ParseArguments(words(u"-threads many -threads -1 -threads 99999"));
    EXPECT_EQ(bad.threads, 0u);
    EXPECT_TRUE(bad.consoleMode);
    EXPECT_EQ(bad.warnings,
              (std::vector<std::string>{"-threads: 'many' ignored: not a number from 0 to 9999",
                                        "-threads: no value follows; ignored",
                                        "unknown option '-1' ignored",
                                        "-threads: '99999' ignored: not a number from 0 to 9999"}));
}

TEST(CommandLineTest, MaxComplexityTakesAWholeNumberAndAsksForModeC) {
    const struct {
        std::u16string line;
        std::optional<std::uint32_t> limit;
        std::string neededBy;
        std::vector<std::string> warnings;
    } cases[] = {
        {u"-file a.c -max-complexity 10", 10u, "-max-complexity", {}},
        {u"-max-complexity 0 -report functions", 0u, "-max-complexity", {}},
        {u"-report functions", std::nullopt, "-report functions", {}},
        {u"-report functions json",
         std::nullopt,
         "",
         {"-report: 'json' replaces the earlier "
          "'functions': a run writes one report"}},
        {u"-max-complexity ten",
         std::nullopt,
         "",
         {"-max-complexity: 'ten' ignored: not a number from 0 to 999999999"}},
        {u"-max-complexity -3",
         std::nullopt,
         "",
         {"-max-complexity: no value follows; ignored", "unknown option '-3' ignored"}},
        {u"-max-complexity 1234567890",
         std::nullopt,
         "",
         {"-max-complexity: '1234567890' ignored: not a number from 0 to 999999999"}},
        {u"-max-complexity 5 -max-complexity x",
         5u,
         "-max-complexity",
         {"-max-complexity: 'x' ignored: not a number from 0 to 999999999"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test::u8(c.line));
        CCustomCommandLineInfo info;
        info.ParseArguments(words(c.line));
        EXPECT_EQ(info.maxComplexity, c.limit);
        EXPECT_EQ(info.complexityNeededBy(), c.neededBy);
        EXPECT_EQ(info.warnings, c.warnings);
    }
}

TEST(CommandLineTest, VersionOptionsTakeTheirValues) {
    CCustomCommandLineInfo info;
    info.ParseArguments(words(u"-dir . -rev v1 v2 -diff HEAD~2 HEAD x -history 20 tags"));
    EXPECT_EQ(info.revision, u"v1");
    EXPECT_EQ(info.diffVersions, (Strings{u"HEAD~2", u"HEAD"}));
    EXPECT_EQ(info.history, u"20");
    EXPECT_TRUE(info.versionRun());
    EXPECT_EQ(info.warnings,
              (std::vector<std::string>{
                  "-rev: 'v2' ignored: it takes one value, and 'v1' came first",
                  "-diff: 'x' ignored: -diff compares two versions, OLD and NEW",
                  "-history: 'tags' ignored: it takes one value, and '20' came first"}));
}

TEST(CommandLineTest, EveryOptionLeftWithoutItsValueIsNamed) {
    const struct {
        std::u16string line;
        std::vector<std::string> warnings;
    } cases[] = {
        {u"-file a.c -save", {"-save: no value follows; ignored"}},
        {u"-file a.c -save -out",
         {"-save: no value follows; ignored", "-out: no value follows; ignored"}},
        // A value that looks like an option is one, unknown; the option stays without a value.
        {u"-file a.c -save -x.tyx",
         {"-save: no value follows; ignored", "unknown option '-x.tyx' ignored"}},
        // An -ext without any extension stops the run with a message of its own.
        {u"-dir -ext -list -file -mode -report -threads -exclude",
         {"-dir: no value follows; ignored", "-list: no value follows; ignored",
          "-file: no value follows; ignored", "-mode: no value follows; ignored",
          "-report: no value follows; ignored", "-threads: no value follows; ignored",
          "-exclude: no value follows; ignored"}},
        {u"-ext .c -file a.c -ext", {"-ext: no value follows; ignored"}},
        // Options that take no value, and options whose value was there, even a refused one.
        {u"-quiet -git -file a.c -mode x -dir nosub",
         {"-mode: 'x' ignored: not a mode (p, t, e or c)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test::u8(c.line));
        test::SettingsGuard physical(CountMode::Physical);
        CCustomCommandLineInfo info;
        info.ParseArguments(words(c.line));
        EXPECT_EQ(info.warnings, c.warnings);
    }
}

TEST(CommandLineTest, GitAndExcludePatternsAddUp) {
    CCustomCommandLineInfo info;
    info.ParseArguments({u"-exclude", u"build/", u"*.pb.cc", u"-dir", u"src", u"-git", u"x",
                         u"-exclude", u"gen/**", u"", u"/", u"build/"});
    EXPECT_TRUE(info.consoleMode);
    EXPECT_TRUE(info.git);
    EXPECT_EQ(info.directories, Strings{u"src"});
    // A pattern given twice stays twice; it leaves out nothing more.
    EXPECT_EQ(info.excludePatterns, (Strings{u"build/", u"*.pb.cc", u"gen/**", u"build/"}));
    EXPECT_EQ(info.warnings,
              (std::vector<std::string>{"-git: 'x' ignored: -git takes no values",
                                        "-exclude: '' ignored: the pattern names nothing",
                                        "-exclude: '/' ignored: the pattern names nothing"}));

    CCustomCommandLineInfo without;
    without.ParseArguments(words(u"-dir src"));
    EXPECT_FALSE(without.git);
    EXPECT_TRUE(without.excludePatterns.empty());
}

TEST(CommandLineTest, AnExtOptionWithoutValuesIsKnownFromNoExtOption) {
    CCustomCommandLineInfo none;
    none.ParseArguments(words(u"-dir src"));
    EXPECT_FALSE(none.extensionsGiven);
    CCustomCommandLineInfo empty;
    empty.ParseArguments(words(u"-dir src -ext"));
    EXPECT_TRUE(empty.extensionsGiven);
    EXPECT_TRUE(empty.extensions.empty());
}

TEST(CommandLineTest, OutputGoesToTheCurrentDirectoryUnlessGiven) {
    CCustomCommandLineInfo unset;
    unset.ParseArguments(words(u"-file a.c"));
    EXPECT_EQ(unset.outputDirectory, u"");
    EXPECT_FALSE(unset.outputDirectoryGiven);

    CCustomCommandLineInfo empty;
    empty.ParseArguments({u"-file", u"a.c", u"-out", u""});
    EXPECT_EQ(empty.outputDirectory, u"");
    EXPECT_TRUE(empty.outputDirectoryGiven);
    EXPECT_FALSE(empty.toStandardOutput());

    CCustomCommandLineInfo dash;
    dash.ParseArguments(words(u"-file a.c -out -"));
    EXPECT_TRUE(dash.toStandardOutput());
    CCustomCommandLineInfo dashFolder;
    dashFolder.ParseArguments(words(u"-file a.c -out ./-"));
    EXPECT_FALSE(dashFolder.toStandardOutput());
}

}  // namespace
}  // namespace tw
