#include <gtest/gtest.h>

#include <cerrno>
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

/// Everything a count leaves in a record but its time.
void expectSameResults(const FileCount& held, const FileCount& read) {
    EXPECT_EQ(countsOf(held), countsOf(read));
    EXPECT_EQ(held.counted, read.counted);
    EXPECT_EQ(held.failed, read.failed);
    EXPECT_EQ(test::u8(held.remarks), test::u8(read.remarks));
    EXPECT_EQ(held.errorLine, read.errorLine);
    EXPECT_EQ(held.readError, read.readError);
    EXPECT_EQ(held.encoding, read.encoding);
    EXPECT_EQ(held.sizeBytes, read.sizeBytes);
    EXPECT_EQ(held.functions.size(), read.functions.size());
}

TEST(CountDriverTest, BytesHeldInMemoryCountAsTheFileWithTheseBytes) {
    std::vector<test::AdversarialInput> inputs = {
        {"crlf.c", "int a;\r\n/* c */\r\n\r\nint b; // x\r\n"},
        {"utf8.h", "\xEF\xBB\xBF// \xC3\xA9t\xC3\xA9\nint x;\n"},
        {"wide.cpp", std::string("\xFF\xFEi\0n\0t\0 \0x\0;\0\n\0/\0/\0c\0", 20)},
        {"wide_odd.cpp", std::string("\xFF\xFEx\0;\0\n\0z", 9)},
        {"wide_big.java", std::string("\xFE\xFF\0x\0;\0\n", 8)},
        {"no_end.c", "int f() { return 1; }"},
        {"broken.c", "int x;\n/* never closed\n"},
    };
    for (const char* path : {"cpp-source/sample.c", "java/Names.java", "resource-script/about.rc",
                             "cpp-source/raw_strings.cpp", "java/TextBlocks.java",
                             "cpp-source/utf16le.cpp", "cpp-header/utf8_bom.h"}) {
        const std::string relative(path);
        inputs.push_back(
            {relative.substr(relative.find('/') + 1),
             test::readBytes(std::string(TW_FIXTURES_DIR) + "/languages/" + relative)});
    }
    test::TempDir dir;
    for (const CountMode mode : {CountMode::Physical, CountMode::TerminatingCharacters,
                                 CountMode::Executable, CountMode::CyclomaticComplexity}) {
        const CountSettings settings = test::settingsWith(mode);
        for (const auto& [name, bytes] : inputs) {
            SCOPED_TRACE(name + " mode " + std::to_string(static_cast<int>(mode)));
            const std::string path = dir.write(name, bytes);
            FileCount read(test::u16(name), path, FileCount::Measure::AtFirstCount);
            FileCount held(test::u16(name), dir.pathOf("not-there"),
                           FileCount::Measure::AtFirstCount);
            EXPECT_EQ(held.countHeld(HeldFile{bytes}, settings), read.count(settings));
            expectSameResults(held, read);

            FileExplanation fromFile;
            FileExplanation fromBytes;
            read.explain(settings, fromFile);
            held.explainHeld(HeldFile{bytes}, settings, fromBytes);
            expectSameResults(held, read);
            EXPECT_EQ(fromBytes.text, fromFile.text);
            ASSERT_EQ(fromBytes.lines.size(), fromFile.lines.size());
            for (std::size_t i = 0; i < fromFile.lines.size(); ++i) {
                EXPECT_EQ(fromBytes.lines[i].kind, fromFile.lines[i].kind) << i;
                EXPECT_EQ(fromBytes.lines[i].statements, fromFile.lines[i].statements) << i;
            }
        }
    }
    // The stored encoding of a record measured at once gives way to the held bytes' own.
    FileCount measured(u"a.c", dir.write("a.c", "int a;\n"));
    ASSERT_TRUE(measured.countHeld(HeldFile{inputs[2].bytes}, CountSettings{}));
    EXPECT_EQ(measured.encoding, TextEncoding::Utf16LE);
    EXPECT_EQ(measured.code, 1u);
}

TEST(CountDriverTest, AFileThatCannotBeHadFailsAsOneThatCannotBeOpened) {
    FileCount record(u"gone.c", "gone.c", FileCount::Measure::AtFirstCount);
    EXPECT_FALSE(record.countHeld(HeldFile{{}, ENOENT}, CountSettings{}));
    EXPECT_EQ(record.remarks, u"Failed to open file.");
    EXPECT_EQ(record.readError, ENOENT);
    EXPECT_TRUE(record.failed);
    // No bytes at all is an empty file.
    EXPECT_TRUE(record.countHeld(HeldFile{}, CountSettings{}));
    EXPECT_EQ(record.total(), 0u);
    EXPECT_EQ(record.readError, 0);
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
