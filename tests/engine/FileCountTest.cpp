#include "engine/FileCount.h"

#include <gtest/gtest.h>

#include "engine/CountMode.h"
#include "engine/Language.h"
#include "engine/LineType.h"
#include "engine/TextEncoding.h"
#include "support/TempDir.h"

namespace tw {
namespace {

TEST(FileCountTest, ConstructionKeepsThePathAndTakesTheTypeFromTheExtensionInAnyCase) {
    const struct {
        std::u16string path;
        std::u16string expectedPath;
        std::u16string fileName;
        FileType type;
    } cases[] = {
        {u"Src/Main.CPP", u"Src/Main.CPP", u"Main.CPP", FileType::CppSource},
        {u"/home/u/Src/A.H", u"/home/u/Src/A.H", u"A.H", FileType::CppHeader},
        {u"dir/readme", u"dir/readme", u"readme", FileType::Undefined},
        {u"archive.tar.gz", u"archive.tar.gz", u"archive.tar.gz", FileType::Undefined},
        {u"x.cs", u"x.cs", u"x.cs", FileType::CSharpSource},
        {u"a.b/file", u"a.b/file", u"file", FileType::Undefined},
        {u"a\\b.c", u"a\\b.c", u"a\\b.c", FileType::CppSource},
        {u"Res.RC", u"Res.RC", u"Res.RC", FileType::ResourceScript},
        {u"Shape.java", u"Shape.java", u"Shape.java", FileType::JavaSource},
        {u"x.inl", u"x.inl", u"x.inl", FileType::CppSource},
        {u"dir/.h", u"dir/.h", u".h", FileType::CppHeader},
        {u"\u00C4.HXX", u"\u00C4.HXX", u"\u00C4.HXX", FileType::CppHeader},
        {u"util.hh", u"util.hh", u"util.hh", FileType::CppHeader},
    };
    for (const auto& c : cases) {
        const FileCount record(c.path, "/nonexistent/tallyweaver");
        EXPECT_EQ(record.path, c.expectedPath);
        EXPECT_EQ(record.fileName(), c.fileName);
        EXPECT_EQ(record.fileType, c.type);
    }
}

TEST(FileCountTest, ConstructionMeasuresTheFileAndDetectsItsEncoding) {
    test::TempDir dir;
    const std::string utf16 = dir.write("w.cpp", std::string("\xFF\xFE"
                                                             "a\0b\0",
                                                             6));
    const FileCount measured(u"w.cpp", utf16);
    EXPECT_EQ(measured.sizeBytes, 6u);
    EXPECT_EQ(measured.encoding, TextEncoding::Utf16LE);

    const FileCount missing(u"gone.cpp", dir.pathOf("gone.cpp"));
    EXPECT_EQ(missing.sizeBytes, 0u);
    EXPECT_EQ(missing.encoding, TextEncoding::Ansi);
    EXPECT_EQ(missing.errorLine, -1);
    EXPECT_FALSE(missing.counted);
    EXPECT_FALSE(missing.failed);
}

TEST(FileCountTest, TotalsAreDerivedAndLeaveCommentWordsOut) {
    FileCount record(u"a.cpp", "/nonexistent");
    record.code = 10;
    record.declaration = 2;
    record.directive = 1;
    record.commentOwnLine = 3;
    record.commentCodeLine = 1;
    record.commentBanner = 2;
    record.commentBlank = 4;
    record.blank = 5;
    record.commentWords = 99;
    EXPECT_EQ(record.totalComment(), 10u);
    EXPECT_EQ(record.total(), 28u);
}

TEST(FileCountTest, ResetKeepsIdentityAndClearsResults) {
    FileCount record(u"a.cpp", "/nonexistent");
    record.sizeBytes = 7;
    record.encoding = TextEncoding::Utf8;
    record.counted = true;
    record.failed = true;
    record.code = 3;
    record.commentWords = 4;
    record.remarks = u"x";
    record.errorLine = 9;
    record.countSeconds = 1.5;
    record.reset();
    EXPECT_FALSE(record.counted);
    EXPECT_FALSE(record.failed);
    EXPECT_EQ(record.code, 0u);
    EXPECT_EQ(record.commentWords, 0u);
    EXPECT_TRUE(record.remarks.empty());
    EXPECT_EQ(record.errorLine, -1);
    EXPECT_EQ(record.countSeconds, 0.0);
    EXPECT_EQ(record.path, u"a.cpp");
    EXPECT_EQ(record.sizeBytes, 7u);
    EXPECT_EQ(record.encoding, TextEncoding::Utf8);
    EXPECT_EQ(record.fileType, FileType::CppSource);
}

TEST(FileCountTest, DisplayNamesOfTheEnumerations) {
    EXPECT_EQ(fileTypeName(FileType::CppHeader), u"C/C++ Header");
    EXPECT_EQ(fileTypeName(FileType::ResourceScript), u"C/C++ Resource Script");
    EXPECT_EQ(fileTypeName(FileType::CSharpSource), u"Undefined");
    EXPECT_EQ(fileTypeName(static_cast<FileType>(77)), u"Undefined");
    EXPECT_EQ(fileTypeName(static_cast<FileType>(-1)), u"Undefined");
    EXPECT_EQ(textEncodingName(TextEncoding::Utf32BE), u"UTF-32BE");
    EXPECT_EQ(textEncodingName(static_cast<TextEncoding>(9)), u"Unknown");
    EXPECT_EQ(lineTypeName(LineType::CommentCodeLine), u"Comment/Code Line");
    EXPECT_EQ(countModeName(CountMode::TerminatingCharacters), u"Terminating Characters");
}

}  // namespace
}  // namespace tw
