#include "project/ArchiveString.h"

#include <gtest/gtest.h>

#include <string>

#include "support/Bytes.h"

namespace tw {
namespace {

using test::bytes;
using test::le32;
using test::le64;
using test::utf16le;

std::string written(std::u16string_view text) {
    ByteWriter out;
    writeArchiveString(out, text);
    return out.take();
}

TEST(ArchiveStringTest, WritesTheWideTagAndTheShortestLengthForm) {
    EXPECT_EQ(written(u""), bytes({0xFF, 0xFE, 0xFF, 0x00}));
    EXPECT_EQ(written(u"abc"), bytes({0xFF, 0xFE, 0xFF, 0x03}) + utf16le(u"abc"));

    const struct {
        std::size_t length;
        std::string lengthBytes;
    } cases[] = {
        {254, bytes({0xFE})},
        {255, bytes({0xFF, 0xFF, 0x00})},
        {0xFFFD, bytes({0xFF, 0xFD, 0xFF})},
        {0xFFFE, bytes({0xFF, 0xFF, 0xFF}) + le32(0xFFFE)},
        {0x10000, bytes({0xFF, 0xFF, 0xFF}) + le32(0x10000)},
    };
    for (const auto& c : cases) {
        const std::u16string text(c.length, u'x');
        const std::string expected = bytes({0xFF, 0xFE, 0xFF}) + c.lengthBytes + utf16le(text);
        EXPECT_EQ(written(text), expected) << c.length;
    }
}

TEST(ArchiveStringTest, ReadsEveryLengthFormSingleByteAndWide) {
    const struct {
        const char* name;
        std::string input;
        ReadStatus status;
        std::u16string text;
    } cases[] = {
        {"single-byte", bytes({0x03}) + "abc", ReadStatus::Ok, u"abc"},
        {"single-byte 16-bit length", bytes({0xFF, 0x02, 0x00}) + "ab", ReadStatus::Ok, u"ab"},
        {"single-byte 32-bit length", bytes({0xFF, 0xFF, 0xFF}) + le32(1) + "z", ReadStatus::Ok,
         u"z"},
        {"single-byte Windows-1252", bytes({0x05, 0x80, 0xE9, 0x81, 0x9F, 0x41}), ReadStatus::Ok,
         u"\u20AC\u00E9\u0081\u0178A"},
        {"wide", bytes({0xFF, 0xFE, 0xFF, 0x02}) + utf16le(u"\u00E9\xD800"), ReadStatus::Ok,
         u"\u00E9\xD800"},
        {"wide 16-bit length", bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00}) + utf16le(u"q"),
         ReadStatus::Ok, u"q"},
        {"wide 32-bit length",
         bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) + le32(1) + utf16le(u"q"), ReadStatus::Ok,
         u"q"},
        {"wide 64-bit length",
         bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) + le32(0xFFFFFFFF) + le64(1) + utf16le(u"q"),
         ReadStatus::Ok, u"q"},
        {"64-bit length of 2^31",
         bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) + le32(0xFFFFFFFF) + le64(0x80000000),
         ReadStatus::Invalid, u""},
        {"64-bit length of 2^64-1",
         bytes({0xFF, 0xFF, 0xFF}) + le32(0xFFFFFFFF) + le64(~std::uint64_t{0}),
         ReadStatus::Invalid, u""},
        {"32-bit length beyond 31 bits", bytes({0xFF, 0xFF, 0xFF}) + le32(0x80000000),
         ReadStatus::Invalid, u""},
        {"length of gigabytes, few bytes",
         bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) + le32(0x7FFFFFFF) + "ab",
         ReadStatus::EndOfData, u""},
        {"a second wide tag is a length", bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x41}),
         ReadStatus::EndOfData, u""},
        {"wide string cut inside a code unit", bytes({0xFF, 0xFE, 0xFF, 0x01, 0x41}),
         ReadStatus::EndOfData, u""},
        {"cut inside the tag", bytes({0xFF, 0xFE}), ReadStatus::EndOfData, u""},
        {"nothing", "", ReadStatus::EndOfData, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ByteReader in(c.input);
        std::u16string text;
        EXPECT_EQ(readArchiveString(in, text), c.status);
        if (c.status == ReadStatus::Ok) {
            EXPECT_EQ(text, c.text);
            EXPECT_EQ(in.remaining(), 0u);
        }
    }
}

TEST(ArchiveStringTest, WrittenStringsReadBack) {
    for (const std::u16string& text :
         {std::u16string(), std::u16string(u"c:\\src\\main.cpp"), std::u16string(300, u'\xDC80'),
          std::u16string(0xFFFE, u'w')}) {
        const std::string stored = written(text);
        ByteReader in(stored);
        std::u16string back;
        ASSERT_EQ(readArchiveString(in, back), ReadStatus::Ok);
        EXPECT_EQ(back, text);
    }
}

}  // namespace
}  // namespace tw
