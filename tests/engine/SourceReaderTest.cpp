#include "engine/SourceReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

using test::u16;

/// Bytes of `text` as little-endian UTF-16, one byte to one code unit.
std::string wide(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(SourceReaderTest, DetectsTheByteOrderMark) {
    const struct {
        std::string bytes;
        TextEncoding expected;
    } cases[] = {
        {"\xFE\xFF\x00\x61", TextEncoding::Utf16BE},
        {"\xFF\xFE\x61\x00", TextEncoding::Utf16LE},
        {std::string("\xFF\xFE\x00\x00", 4), TextEncoding::Utf16LE},
        {"\xEF\xBB\xBF"
         "a",
         TextEncoding::Utf8},
        {"\xEF\xBB", TextEncoding::Ansi},
        {"\xFE", TextEncoding::Ansi},
        {"", TextEncoding::Ansi},
        {"int x;", TextEncoding::Ansi},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SourceFile file;
        ASSERT_TRUE(file.open(dir.write("f.c", c.bytes)));
        EXPECT_EQ(detectEncoding(file), c.expected) << c.bytes;
    }
}

TEST(SourceReaderTest, DecodesByTheStoredEncoding) {
    const struct {
        std::string bytes;
        TextEncoding encoding;
        std::u16string expected;  // without the end mark
    } cases[] = {
        {"\xEF\xBB\xBF"
         "a\r\nb",
         TextEncoding::Utf8, u"a\nb"},
        {"\xC3\xA9", TextEncoding::Ansi, u"\u00C3\u00A9"},  // bytes are never combined
        // A zero byte is a character like any other.
        {std::string("a\0b", 3), TextEncoding::Ansi, std::u16string(u"a\0b", 3)},
        {"a\xFF"
         "b",
         TextEncoding::Ansi,
         u"a\u00FF"
         "b"},
        {"a\rb\r", TextEncoding::Ansi, u"ab"},
        {std::string("\xFF\xFE"
                     "a\0\r\0\n\0",
                     8),
         TextEncoding::Utf16LE, u"a\n"},
        {std::string("\xFE\xFF\0a\0b", 6), TextEncoding::Utf16BE, u"ab"},
        {std::string("\xFF\xFE"
                     "a\0"
                     "b",
                     5),
         TextEncoding::Utf16LE, u"a\uFF62"},
        {std::string("\xFE\xFF\0a"
                     "b",
                     5),
         TextEncoding::Utf16BE, u"a"},
        // U+FFFF would pose as the end mark: it becomes U+FFFD, and the text goes on.
        {std::string("\xFF\xFE"
                     "a\0\xFF\xFF"
                     "b\0",
                     8),
         TextEncoding::Utf16LE,
         u"a\uFFFD"
         "b"},
        {std::string("\xFF\xFE"
                     "\xFF",
                     3),
         TextEncoding::Utf16LE, u"\uFFFD"},
        {"\xEF\xBB\xBF", TextEncoding::Utf8, u""},
        {"ab", TextEncoding::Utf8, u""},  // re-saved without its mark: still skips 3 bytes
        {"", TextEncoding::Ansi, u""},
        {"abc", TextEncoding::Utf32LE, u""},
        {"abc", static_cast<TextEncoding>(42), u""},
        // A UTF-16 file read as ANSI keeps its zero bytes as characters.
        {std::string("a\0b\0", 4), TextEncoding::Ansi, std::u16string(u"a\0b\0", 4)},
    };
    for (const auto& c : cases) {
        SourceText text;
        decodeSourceText(c.bytes, c.encoding, text);
        EXPECT_EQ(text.chars, c.expected + kEndMark) << test::u8(c.expected);
    }
}

TEST(SourceReaderTest, ReadingAFileTakesItsEncodingAndIndexesItsLineFeeds) {
    // A file is read into the end of the text's storage and decoded over its own bytes; one
    // text serves every case in turn, as a counting thread's does, so nothing of an earlier
    // file may show through. The line-feed index must be the one a fresh walk gives.
    const std::string longLine(100, 'x');
    std::string large;
    while (large.size() < 3 * 1024 * 1024) {
        large += longLine + (large.size() % 7 == 0 ? "\r\n" : "\n");
    }
    const struct {
        std::string bytes;
        TextEncoding expected;
    } cases[] = {
        {"", TextEncoding::Ansi},
        {"a\nb\r\nc\n", TextEncoding::Ansi},
        {"\n\n\n", TextEncoding::Ansi},
        {"\xEF\xBB\xBF"
         "a\nb",
         TextEncoding::Utf8},
        {"\xEF\xBB\xBF", TextEncoding::Utf8},
        {std::string("\xFF\xFE"
                     "a\0\n\0b\0",
                     8),
         TextEncoding::Utf16LE},
        {std::string("a\nb\0c\nd", 7), TextEncoding::Ansi},  // cut at the zero byte
        {std::string(40, '\n') + "tail without a line feed", TextEncoding::Ansi},
        {"\r\r\ra\rb\r", TextEncoding::Ansi},
        {std::string("\xFE\xFF\0a\0\r\0\n\0b\x41", 10), TextEncoding::Utf16BE},  // odd byte dropped
        {std::string("\xFF\xFE"
                     "a\0\n\0\x42",
                     7),
         TextEncoding::Utf16LE},  // odd last byte kept as U+FF42
        {std::string("\xFF\xFE"
                     "a\0\xFF\xFF"
                     "b\0",
                     8),
         TextEncoding::Utf16LE},  // cut at U+FFFF
        {large, TextEncoding::Ansi},
        {"\xEF\xBB\xBF" + large, TextEncoding::Utf8},
        {"\xFF\xFE" + wide(large), TextEncoding::Utf16LE},
        {"short after long", TextEncoding::Ansi},
    };
    test::TempDir dir;
    SourceText text;
    for (const auto& c : cases) {
        FileCount record(u"f.c", dir.write("f.c", c.bytes), FileCount::Measure::AtFirstCount);
        record.encoding = TextEncoding::Utf16BE;  // not yet measured: the bytes read decide
        SourceFile file;
        ASSERT_TRUE(file.open(record.diskPath));
        EXPECT_EQ(file.byteLength(), c.bytes.size());
        ASSERT_TRUE(readSourceText(record, file, text, EncodingSource::ByteOrderMark));
        EXPECT_EQ(record.encoding, c.expected) << c.bytes.size();

        SourceText decoded;
        decodeSourceText(c.bytes, c.expected, decoded);
        EXPECT_EQ(text.chars, decoded.chars) << c.bytes.size();
        std::vector<std::uint32_t> lineFeeds;
        for (std::size_t i = 0; i < text.chars.size(); ++i) {
            if (text.chars[i] == u'\n') {
                lineFeeds.push_back(static_cast<std::uint32_t>(i));
            }
        }
        EXPECT_EQ(text.lineFeeds, lineFeeds) << c.bytes.size();
        EXPECT_EQ(decoded.lineFeeds, lineFeeds) << c.bytes.size();
    }
}

TEST(SourceReaderTest, AFileThatGrewAfterItWasOpenedIsReadToItsNewEnd) {
    const std::string grown(3 * 1024 * 1024, 'y');
    for (const std::size_t added : {std::size_t{1}, grown.size()}) {
        test::TempDir dir;
        FileCount record(u"g.c", dir.write("g.c", "x\n"));
        SourceFile file;
        ASSERT_TRUE(file.open(record.diskPath));
        dir.write("g.c", "x\n" + grown.substr(0, added));
        SourceText text;
        ASSERT_TRUE(readSourceText(record, file, text));
        SourceText expected;
        decodeSourceText("x\n" + grown.substr(0, added), TextEncoding::Ansi, expected);
        EXPECT_EQ(text.chars, expected.chars) << added;
        EXPECT_EQ(text.lineFeeds, std::vector<std::uint32_t>{1}) << added;
    }
}

TEST(SourceReaderTest, ReadFailsWithItsMessageWhenTheFileCannotBeOpened) {
    test::TempDir dir;
    FileCount record(u"x.c", dir.pathOf("missing.c"));
    SourceText text;
    EXPECT_FALSE(readSourceText(record, text));
    EXPECT_EQ(record.remarks, u"Invalid input file.");

    FileCount directory(u"d.c", dir.path().string());
    EXPECT_FALSE(readSourceText(directory, text));
}

TEST(SourceReaderTest, LineOfPositionCountsLineFeedsAsRead) {
    SourceText text = SourceText::fromBody(u"\nab\ncd1");
    EXPECT_EQ(lineOfPosition(text, -1), 1);
    EXPECT_EQ(lineOfPosition(text, 0), 2);  // a line feed belongs to the line after it
    EXPECT_EQ(lineOfPosition(text, 1), 2);
    EXPECT_EQ(lineOfPosition(text, 4), 3);
    EXPECT_EQ(lineOfPosition(text, 6), 3);  // a digit 1 is no line feed
    // Line feeds overwritten by a stage still count.
    text.chars[3] = kNewlineMarker;
    EXPECT_EQ(lineOfPosition(text, 5), 3);
}

TEST(SourceReaderTest, LinesOfATextEndBeforeTheEndMark) {
    const struct {
        std::u16string body;
        std::vector<std::u16string> lines;
    } cases[] = {
        {u"a\nb", {u"a", u"b"}},      {u"a\nb\n", {u"a", u"b"}}, {u"\n", {u""}}, {u"", {}},
        {u"\n\nx", {u"", u"", u"x"}},
    };
    for (const auto& c : cases) {
        const SourceText text = SourceText::fromBody(c.body);
        std::vector<std::u16string> lines;
        forEachLine(text.chars, [&](std::size_t start, std::size_t length) {
            lines.push_back(text.chars.substr(start, length));
        });
        EXPECT_EQ(lines, c.lines) << test::u8(c.body);
        // Walking by the index of line feeds as read gives the same lines.
        std::vector<std::u16string> indexed;
        forEachLine(text, [&](std::size_t start, std::size_t length) {
            indexed.push_back(text.chars.substr(start, length));
        });
        EXPECT_EQ(indexed, c.lines) << test::u8(c.body);
    }
    // A line feed a stage turned into a newline marker no longer ends a line.
    SourceText text = SourceText::fromBody(u"a\nb\nc");
    text.chars[1] = kNewlineMarker;
    std::vector<std::u16string> lines;
    forEachLine(text, [&](std::size_t start, std::size_t length) {
        lines.push_back(text.chars.substr(start, length));
    });
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"a1b", u"c"}));
}

}  // namespace
}  // namespace tw
