#include <gtest/gtest.h>

#include <filesystem>

#include "engine/FileCount.h"
#include "support/AdversarialInputs.h"
#include "support/SettingsWith.h"
#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

struct Counts {
    std::uint32_t code, declaration, directive, ownLine, codeLine, banner, words, commentBlank,
        blank;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << "{code " << c.code << ", declaration " << c.declaration << ", directive "
               << c.directive << ", own " << c.ownLine << ", codeLine " << c.codeLine << ", banner "
               << c.banner << ", words " << c.words << ", commentBlank " << c.commentBlank
               << ", blank " << c.blank << "}";
}

Counts countsOf(const FileCount& r) {
    return {r.code,          r.declaration,  r.directive,    r.commentOwnLine, r.commentCodeLine,
            r.commentBanner, r.commentWords, r.commentBlank, r.blank};
}

TEST(CountDriverTest, FailuresCarryTheStagePrefixAndTheLine) {
    const struct {
        const char* name;
        CountMode mode;
        std::string bytes;
        std::u16string remarks;
    } cases[] = {
        {"a.c", CountMode::Physical, "int x;\n\n/* never closed\n",
         u"Physical pre-parser failure: Unclosed comment (line 3)."},
        {"a.c", CountMode::Physical, "x = 'a;\n",
         u"Physical pre-parser failure: Unclosed character or string literal (line 1)."},
        {"a.c", CountMode::Physical, "#define A /* x\n",
         u"Physical pre-parser failure: Failed to find end of compiler directive: Unclosed "
         u"C-style comment within compiler directive. (line 1)."},
        {"a.c", CountMode::Physical, "x;\n  */ // done\n",
         u"Physical parser failure: Illegal end of comment (line 2)."},
        {"a.c", CountMode::Physical, "/* a */ */\n",
         u"Physical parser failure: Unable to determine line type (line 1)."},
        {"A.java", CountMode::TerminatingCharacters, "class A {\n  @Check(a = 1\n}\n",
         u"Logical pre-parser failure: Failed to count Java compiler directive: Unclosed "
         u"annotation parentheses (line 2)."},
        {"a.cpp", CountMode::TerminatingCharacters, "int a[] = {1,\n",
         u"Logical pre-parser failure: Failed to parse array initialization: Unclosed array "
         u"initialization brackets ({}) (line 1)."},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const CountSettings settings = test::settingsWith(c.mode);
        FileCount record(test::u16(c.name), dir.write(c.name, c.bytes));
        EXPECT_FALSE(record.count(settings));
        EXPECT_EQ(record.remarks, c.remarks);
        EXPECT_FALSE(record.counted);
        EXPECT_TRUE(record.failed);
        EXPECT_EQ(record.countSeconds, 0.0);
        EXPECT_EQ(record.total(), 0u);  // no partial counts
    }
}

TEST(CountDriverTest, FilesThatCannotBeOpenedFailWithoutALine) {
    test::TempDir dir;
    const std::string paths[] = {dir.pathOf("missing.c"), dir.path().string(), "/dev/null"};
    for (const std::string& path : paths) {
        FileCount record(u"x.c", path);
        record.code = 5;
        EXPECT_FALSE(record.count(CountSettings{})) << path;
        EXPECT_EQ(record.remarks, u"Failed to open file.");
        EXPECT_EQ(record.errorLine, -1);
        EXPECT_EQ(record.code, 0u);  // a failed file shows no counts of an earlier one
        EXPECT_TRUE(record.failed);
    }
}

TEST(CountDriverTest, FilesTooLargeToHoldFailWithoutBeingRead) {
    test::TempDir dir;
    const std::string path = dir.write("huge.c", "int x;\n");
    std::filesystem::resize_file(path, std::uintmax_t{3} << 30);  // sparse: costs no disk
    FileCount record(u"huge.c", path);
    EXPECT_FALSE(record.count(CountSettings{}));
    EXPECT_EQ(record.remarks, u"Failed to read source code from file: File too large to count.");
    EXPECT_EQ(record.sizeBytes, 3u << 30);
}

TEST(CountDriverTest, CountingAgainGivesTheSameResult) {
    test::TempDir dir;
    const std::string path = dir.write("a.c", "/* open\nstill\n*/\nint x; // c\n\n");
    const CountSettings settings = test::settingsWith(CountMode::Physical);
    FileCount record(u"a.c", path);
    ASSERT_TRUE(record.count(settings));
    const Counts first = countsOf(record);
    record.inBlockComment = true;  // as a count that failed inside a comment would leave it
    ASSERT_TRUE(record.count(settings));
    EXPECT_EQ(countsOf(record), first);
    EXPECT_EQ(first, (Counts{0, 0, 0, 2, 1, 1, 3, 0, 1}));
}

TEST(CountDriverTest, AdversarialInputsCountOrFailWithAMessage) {
    test::TempDir dir;
    const auto files = test::adversarialInputs();
    for (const CountMode mode : {CountMode::Physical, CountMode::TerminatingCharacters,
                                 CountMode::Executable, CountMode::CyclomaticComplexity}) {
        const CountSettings settings = test::settingsWith(mode);
        for (const auto& [name, bytes] : files) {
            SCOPED_TRACE(name + " mode " + std::to_string(static_cast<int>(mode)));
            FileCount record(test::u16(name), dir.write(name, bytes));
            const bool ok = record.count(settings);
            EXPECT_EQ(ok, record.remarks.empty()) << test::u8(record.remarks);
            EXPECT_EQ(record.counted, ok);
            EXPECT_EQ(record.failed, !ok);
            EXPECT_EQ(record.sizeBytes, bytes.size());
        }
    }
}

TEST(CountDriverTest, AdversarialInputsGiveTheirKnownResults) {
    test::TempDir dir;
    const CountSettings settings = test::settingsWith(CountMode::Physical);
    const struct {
        const char* name;
        std::string bytes;
        std::u16string remarks;
    } cases[] = {
        {"empty.c", "", u""},
        // A zero byte is a character: what follows it is read too.
        {"nul.c", std::string("int x;\0/* never closed", 22),
         u"Physical pre-parser failure: Unclosed comment (line 1)."},
        {"unclosed.c", "x = \"abc\ny",
         u"Physical pre-parser failure: Unclosed character or "
         u"string literal (line 1)."},
    };
    for (const auto& c : cases) {
        FileCount record(test::u16(c.name), dir.write(c.name, c.bytes));
        record.count(settings);
        EXPECT_EQ(record.remarks, c.remarks) << c.name;
    }
}

}  // namespace
}  // namespace tw
