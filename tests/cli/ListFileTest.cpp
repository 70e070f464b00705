#include "cli/ListFile.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

using Strings = std::vector<std::u16string>;

/// The paths of `bytes` fed in pieces of `piece` bytes, and the numbers of the long lines.
std::pair<Strings, std::vector<std::size_t>> linesOf(const std::string& bytes, std::size_t piece) {
    Strings files;
    std::vector<std::size_t> longLines;
    ListFileLines lines(files, [&longLines](std::size_t line) { longLines.push_back(line); });
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        lines.feed(std::string_view(bytes).substr(at, piece));
    }
    lines.finish();
    return {files, longLines};
}

TEST(ListFileTest, LinesEndAtLineFeedsCarriageReturnsOrBoth) {
    const std::string longest(kLongestListLine, 'x');
    const struct {
        const char* name;
        std::string bytes;
        Strings files;
        std::vector<std::size_t> longLines;
    } cases[] = {
        {"line feeds", "a.c\nb.c\n", {u"a.c", u"b.c"}, {}},
        {"CR LF", "a.c\r\nb.c\r\n", {u"a.c", u"b.c"}, {}},
        {"CR alone", "a.c\rb.c\r", {u"a.c", u"b.c"}, {}},
        {"no end after the last line", "a.c\nb.c", {u"a.c", u"b.c"}, {}},
        {"LF then CR is two ends", "a.c\n\rb.c", {u"a.c", u"", u"b.c"}, {}},
        {"quotes stripped", "\"a b.c\"\n'c.c'\n", {u"a b.c", u"c.c"}, {}},
        {"empty lines keep one empty path", "\n\n\r\n\n", {u""}, {}},
        {"a line of the longest length is kept",
         longest + "\nb.c",
         {test::u16(longest), u"b.c"},
         {}},
        {"a longer line is refused by its number",
         "a.c\n" + longest + "y\nb.c\n",
         {u"a.c", u"b.c"},
         {2}},
        {"a long last line without end", "a.c\r\n" + longest + "yz", {u"a.c"}, {2}},
        {"NUL bytes are a long line", std::string(10000, '\0'), {}, {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{65536}}) {
            SCOPED_TRACE(piece);
            const auto [files, longLines] = linesOf(c.bytes, piece);
            EXPECT_EQ(files, c.files);
            EXPECT_EQ(longLines, c.longLines);
        }
    }
}

TEST(ListFileTest, AListLargerThanTheLimitIsRefusedBeforeReading) {
    test::TempDir dir;
    const std::string path = dir.write("huge.txt", "");
    // A sparse file: nothing is stored, so nothing would be read in time if it were read.
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kLargestListFile) + 1), 0);
    Strings files;
    EXPECT_EQ(readListFile(test::u16(path), files), EFBIG);
    EXPECT_TRUE(files.empty());
}

}  // namespace
}  // namespace tw
