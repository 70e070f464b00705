#include "project/ExcludePatterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw {
namespace {

TEST(ExcludePatternsTest, MatchesNamesAndPathsBelowTheScannedDirectory) {
    const struct {
        std::vector<std::string> patterns;
        std::string path;  // below the scanned directory
        bool isDirectory;
        bool leftOut;
    } cases[] = {
        // A name matches at any depth; a path with '/' only from the top.
        {{"build"}, "build", true, true},
        {{"build"}, "src/build", true, true},
        {{"build"}, "src/build.c", false, false},
        {{"src/gen"}, "src/gen", true, true},
        {{"src/gen"}, "lib/src/gen", true, false},
        {{"*.pb.cc"}, "a/b/x.pb.cc", false, true},
        {{"*.pb.cc"}, "a/b/x.pb.cc.orig", false, false},
        // '*' and '?' do not cross '/'.
        {{"src/*.c"}, "src/a.c", false, true},
        {{"src/*.c"}, "src/sub/a.c", false, false},
        {{"?.c"}, "a.c", false, true},
        {{"?.c"}, "ab.c", false, false},
        {{"a?c"}, "a/c", false, false},
        // '*' takes hidden names too.
        {{"*"}, ".hidden", false, true},
        {{".*"}, "src/.cache", true, true},
        // "**" stands for any number of folders, none included.
        {{"**/gen/*.c"}, "gen/a.c", false, true},
        {{"**/gen/*.c"}, "x/y/gen/a.c", false, true},
        {{"**/gen/*.c"}, "x/y/gen/sub/a.c", false, false},
        {{"a/**/b"}, "a/b", true, true},
        {{"a/**/b"}, "a/x/y/b", true, true},
        {{"a/**/b"}, "a/x/y/c", true, false},
        {{"gen/**"}, "gen", true, true},
        {{"gen/**"}, "gen/deep/x.c", false, true},
        {{"gen/**"}, "src/gen", true, false},
        {{"**"}, "any/thing.c", false, true},
        {{"x**y"}, "xaby", false, true},
        {{"x**y"}, "xa/by", false, false},
        // A final '/' matches folders only; a leading '/' the path only.
        {{"build/"}, "build", true, true},
        {{"build/"}, "build", false, false},
        {{"build/"}, "src/build", true, true},
        {{"/build"}, "build", true, true},
        {{"/build"}, "src/build", true, false},
        {{"/src/*.c"}, "src/a.c", false, true},
        // Sets and ranges, negated sets, escapes; an unclosed '[' is a plain character.
        {{"[abc].c"}, "b.c", false, true},
        {{"[abc].c"}, "d.c", false, false},
        {{"[a-c]x"}, "bx", false, true},
        {{"[!a-c]x"}, "bx", false, false},
        {{"[^a-c]x"}, "dx", false, true},
        {{"[]]"}, "]", false, true},
        {{"[a-]"}, "-", false, true},
        {{"[ab"}, "[ab", false, true},
        {{"\\*.c"}, "*.c", false, true},
        {{"\\*.c"}, "a.c", false, false},
        {{"[\\]]x"}, "]x", false, true},
        // Letter case counts.
        {{"Build"}, "build", true, false},
        {{"*.C"}, "a.c", false, false},
        // One character is one character, however many bytes it takes; bytes that are not
        // UTF-8 match only themselves.
        {{"caf?.c"}, "caf\xC3\xA9.c", false, true},
        {{"[\xC3\xA9\xC3\xA8].c"}, "\xC3\xA8.c", false, true},
        {{"caf?.c"}, "caf\xE9.c", false, true},
        {{"caf\xE9.c"}, "caf\xE9.c", false, true},
        {{"caf\xE9.c"}, "caf\xC3\xA9.c", false, false},
        // Several patterns: any one leaves the entry out; one given twice changes nothing.
        {{"a.c", "b.c"}, "b.c", false, true},
        {{"a.c", "a.c"}, "a.c", false, true},
        {{"a.c", "a.c"}, "b.c", false, false},
        {{}, "a.c", false, false},
        // Stars that cannot match end quickly.
        {{"*a*a*a*a*a*a*a*a*a*a*a*a*b"}, std::string(250, 'a'), false, false},
    };
    for (const auto& c : cases) {
        ExcludePatterns patterns(c.patterns);
        SCOPED_TRACE((c.patterns.empty() ? std::string() : c.patterns.front()) + " on " + c.path);
        EXPECT_EQ(patterns.matches(c.path, c.isDirectory), c.leftOut);
        EXPECT_EQ(patterns.takes({c.path, {}, c.isDirectory, false}), !c.leftOut);
    }
}

TEST(ExcludePatternsTest, PatternsThatNameNothingAreRefused) {
    ExcludePatterns patterns;
    EXPECT_FALSE(patterns.add(""));
    EXPECT_FALSE(patterns.add("/"));
    EXPECT_FALSE(patterns.add("//"));
    EXPECT_TRUE(patterns.empty());
    EXPECT_TRUE(patterns.add("a//b/"));
    EXPECT_TRUE(patterns.matches("a/b", true));
}

TEST(ExcludePatternsTest, DeepPathsWithManyAnyDepthComponents) {
    std::string pattern;
    for (int i = 0; i < 40; ++i) {
        pattern += "**/";
    }
    pattern += "z";
    std::string path;
    for (int i = 0; i < 300; ++i) {
        path += "d/";
    }
    const ExcludePatterns patterns({pattern});
    EXPECT_FALSE(patterns.matches(path + "y", false));
    EXPECT_TRUE(patterns.matches(path + "z", false));
}

}  // namespace
}  // namespace tw
