#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/Bytes.h"
#include "support/TempDir.h"
#include "support/TreeText.h"
#include "support/U16.h"

namespace tw {
namespace {

using test::bytes;
using test::le32;
using test::le64;
using test::leDouble;
using test::treeText;
using test::utf16le;

const CountSettings kExecutableSettings{CountMode::Executable, true, false, true};
/// Settings no file in these tests holds, to see whether a load touched them.
const CountSettings kUntouched{CountMode::CyclomaticComplexity, true, true, true};

std::string header(std::uint32_t count, std::int32_t mode, std::uint32_t allCaps,
                   std::uint32_t macros, std::uint32_t logic) {
    return le32(count) + le32(static_cast<std::uint32_t>(mode)) + le32(allCaps) + le32(macros) +
           le32(logic);
}

/// The bytes of a wide string whose length fits in one byte.
std::string wide(std::u16string_view text) {
    return bytes({0xFF, 0xFE, 0xFF, static_cast<int>(text.size())}) + utf16le(text);
}

/// A record of the file with the given path, counters 1 to 9 in file order and the flags.
std::string storedRecord(std::u16string_view path, std::uint32_t counted = 1,
                         std::uint32_t failed = 0) {
    std::string record = wide(path) + le32(1) + le32(100) + le32(0) + leDouble(0.25);
    for (std::uint32_t value = 1; value <= 9; ++value) {
        record += le32(value);
    }
    return record + wide(u"") + le32(counted) + le32(failed);
}

/// A stored record cut before its remarks: the empty remarks and the two flags are 12 bytes.
std::string recordUpToRemarks(std::u16string_view path) {
    const std::string record = storedRecord(path);
    return record.substr(0, record.size() - 12);
}

/// A two-record project: C/b?.h in C, then C/Src/A.cpp in C/Src, added the other way round so
/// that the file's pre-order differs from the order of adding. The name of b?.h is not UTF-8.
class TwoRecordProject : public ::testing::Test {
  protected:
    void SetUp() override {
        FileCount* a = root.AddFilePath(u"C/Src/A.cpp", "C/Src/A.cpp");
        a->fileType = FileType::CppSource;
        a->sizeBytes = 1234;
        a->encoding = TextEncoding::Utf8;
        a->countSeconds = 0.5;
        a->code = 10;
        a->declaration = 2;
        a->directive = 1;
        a->commentOwnLine = 3;
        a->commentCodeLine = 4;
        a->commentBanner = 5;
        a->commentWords = 70;
        a->commentBlank = 6;
        a->blank = 8;
        a->counted = true;
        FileCount* b = root.AddFilePath(u"C/b\uFFFD.h", "C/b\xFF.h");
        b->remarks = u"x";
        b->failed = true;
        b->errorLine = 12;  // not stored
    }

    /// Header and records exactly as the format lays them out.
    static std::string expectedRecords() {
        return header(2, 2, 1, 0, 1) +
               // C/b?.h
               wide(u"C/b\uFFFD.h") + le32(0) + le32(0) + le32(0) + leDouble(0.0) + le32(0) +
               le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) +
               wide(u"x") + le32(0) + le32(1) +
               // C/Src/A.cpp: size before encoding, blank comment before comment words
               wide(u"C/Src/A.cpp") + le32(1) + le32(1234) + le32(1) + leDouble(0.5) + le32(10) +
               le32(2) + le32(1) + le32(3) + le32(4) + le32(5) + le32(6) + le32(70) + le32(8) +
               wide(u"") + le32(1) + le32(0);
    }

    ProjectFolder root;
};

TEST(ProjectFileTest, AnEmptyProjectIsTheHeaderAlone) {
    const ProjectFolder empty;
    const std::string stored = ProjectFile::store(empty, kExecutableSettings);
    EXPECT_EQ(stored, header(0, 2, 1, 0, 1));

    ProjectFolder loaded;
    loaded.AddFilePath(u"c/old.cpp");
    CountSettings settings;
    const ProjectLoadResult result = ProjectFile::load(stored, loaded, settings);
    EXPECT_EQ(result.status, ProjectLoadStatus::Loaded);
    EXPECT_EQ(treeText(loaded), "");
    EXPECT_EQ(settings, kExecutableSettings);
}

TEST_F(TwoRecordProject, RecordsAreStoredByteForByteInPreOrder) {
    const std::string stored = ProjectFile::store(root, kExecutableSettings);
    const std::string expected = expectedRecords();
    ASSERT_GE(stored.size(), expected.size());
    EXPECT_EQ(stored.substr(0, expected.size()), expected);
}

TEST_F(TwoRecordProject, DiskPathsFollowTheRecordsWhenANameIsNotUtf8) {
    const std::string stored = ProjectFile::store(root, kExecutableSettings);
    const std::string trailer = "TWDISK01" + le32(2) + wide(u"C/b\xDCFF.h") + wide(u"C/Src/A.cpp");
    EXPECT_EQ(stored.substr(expectedRecords().size()), trailer);
}

TEST(ProjectFileTest, DiskPathsAreStoredOnlyWhereThePathsDoNotGiveThem) {
    const struct {
        const char* name;
        std::u16string path;
        std::string diskPath;
        bool trailer;
    } cases[] = {
        {"plain path", u"src/Main.cpp", "src/Main.cpp", false},
        {"absolute path with spaces", u"/home/u/My Src/a b.c", "/home/u/My Src/a b.c", false},
        {"name that is not UTF-8", u"caf\uFFFD.c", "caf\xE9.c", true},
        {"backslash inside a name", u"a\\b.c", "a\\b.c", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectFolder root;
        ASSERT_NE(root.AddFilePath(c.path, c.diskPath), nullptr);
        const std::string stored = ProjectFile::store(root, {});
        EXPECT_EQ(stored.find("TWDISK01") != std::string::npos, c.trailer);
        ProjectFolder loaded;
        CountSettings settings;
        ASSERT_EQ(ProjectFile::load(stored, loaded, settings).status, ProjectLoadStatus::Loaded);
        const FileCount* back = loaded.FindFile(c.path).record;
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->diskPath, c.diskPath);
    }
}

TEST(ProjectFileTest, AFileOfTheEarlierVersionLoadsWithItsTruePaths) {
    // Written by the version that stored lower-cased paths with '\\' beside the disk paths.
    const std::string earlier =
        test::readBytes(std::string(TW_FIXTURES_DIR) + "/project/earlier-version.tyx");
    ProjectFolder loaded;
    CountSettings settings;
    ASSERT_EQ(ProjectFile::load(earlier, loaded, settings).status, ProjectLoadStatus::Loaded);
    EXPECT_EQ(settings.mode, CountMode::Executable);
    EXPECT_EQ(treeText(loaded),
              "[tree]\n"
              "  tree/main.c\n"
              "  tree/Shape.java\n"
              "  tree/Caf\xEF\xBF\xBD.c\n"
              "  [util]\n"
              "    tree/util/util.h\n"
              "[/]\n"
              "  [abs]\n"
              "    [Dir]\n"
              "      /abs/Dir/X.CPP\n");
    const FileCount* shape = loaded.FindFile(u"tree/Shape.java").record;
    ASSERT_NE(shape, nullptr);
    EXPECT_TRUE(shape->counted);
    EXPECT_EQ(shape->fileType, FileType::JavaSource);
    EXPECT_EQ(loaded.FindFile(u"tree/Caf\uFFFD.c").record->diskPath, "tree/Caf\xE9.c");
    EXPECT_EQ(loaded.FindFile(u"/abs/Dir/X.CPP").record->diskPath, "/abs/Dir/X.CPP");
    // Stored again, it holds the true paths; the non-UTF-8 name keeps a disk path section.
    const std::string again = ProjectFile::store(loaded, settings);
    EXPECT_NE(again.find("TWDISK01"), std::string::npos);
    EXPECT_EQ(again.find("TWTREE01"), std::string::npos);
    EXPECT_NE(again.find(test::utf16le(u"tree/Shape.java")), std::string::npos);
}

TEST_F(TwoRecordProject, LoadRestoresEveryStoredField) {
    ProjectFolder loaded;
    CountSettings settings;
    ASSERT_EQ(
        ProjectFile::load(ProjectFile::store(root, kExecutableSettings), loaded, settings).status,
        ProjectLoadStatus::Loaded);
    EXPECT_EQ(settings, kExecutableSettings);
    EXPECT_EQ(treeText(loaded), treeText(root));

    const FileCount* a = loaded.FindFile(u"C/Src/A.cpp").record;
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->diskPath, "C/Src/A.cpp");
    EXPECT_EQ(a->fileType, FileType::CppSource);
    EXPECT_EQ(a->sizeBytes, 1234u);
    EXPECT_EQ(a->encoding, TextEncoding::Utf8);
    EXPECT_EQ(a->countSeconds, 0.5);
    EXPECT_EQ(a->code, 10u);
    EXPECT_EQ(a->declaration, 2u);
    EXPECT_EQ(a->directive, 1u);
    EXPECT_EQ(a->commentOwnLine, 3u);
    EXPECT_EQ(a->commentCodeLine, 4u);
    EXPECT_EQ(a->commentBanner, 5u);
    EXPECT_EQ(a->commentWords, 70u);
    EXPECT_EQ(a->commentBlank, 6u);
    EXPECT_EQ(a->blank, 8u);
    EXPECT_TRUE(a->counted);
    EXPECT_FALSE(a->failed);

    const FileCount* b = loaded.FindFile(u"C/b\uFFFD.h").record;
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->diskPath, "C/b\xFF.h");
    EXPECT_EQ(b->remarks, u"x");
    EXPECT_TRUE(b->failed);
    EXPECT_FALSE(b->counted);
    EXPECT_EQ(b->errorLine, -1);
}

TEST_F(TwoRecordProject, TruncationAtEveryOffsetFailsCleanlyOrLoads) {
    const std::string stored = ProjectFile::store(root, kExecutableSettings);
    const std::size_t recordsEnd = expectedRecords().size();
    for (std::size_t length = 0; length < stored.size(); ++length) {
        SCOPED_TRACE(length);
        ProjectFolder loaded;
        loaded.AddFilePath(u"c/old.cpp");
        CountSettings settings = kUntouched;
        const ProjectLoadResult result =
            ProjectFile::load(std::string_view(stored).substr(0, length), loaded, settings);
        if (length == 0) {
            EXPECT_EQ(result.status, ProjectLoadStatus::EmptyFile);
            EXPECT_EQ(settings, kUntouched);
            EXPECT_EQ(treeText(loaded), "");
        } else if (length < recordsEnd) {
            EXPECT_EQ(result.status, ProjectLoadStatus::Damaged);
            EXPECT_EQ(result.message, u"Unexpected file format.");
            EXPECT_EQ(settings, kUntouched);
            EXPECT_EQ(treeText(loaded), "");
        } else {
            // A cut trailer is only trailing bytes: the records load, the paths fall back.
            EXPECT_EQ(result.status, ProjectLoadStatus::Loaded);
            EXPECT_EQ(settings, kExecutableSettings);
            EXPECT_EQ(loaded.TotalRecords(), 2u);
        }
    }
}

TEST(ProjectFileTest, WithoutDiskPathsTheyComeFromThePathsBackslashesAsSeparators) {
    // Files of other writers separate folders with '\\'.
    ProjectFolder loaded;
    CountSettings settings;
    ProjectFile::load(header(1, 0, 0, 1, 0) + storedRecord(u"c:\\Src\\a.cpp"), loaded, settings);
    EXPECT_EQ(treeText(loaded), "[c:]\n  [Src]\n    c:/Src/a.cpp\n");
    EXPECT_EQ(loaded.FindFile(u"c:/Src/a.cpp").record->diskPath, "c:/Src/a.cpp");
}

TEST_F(TwoRecordProject, DamagedTrailersFallBackWithoutFailing) {
    const std::string records = expectedRecords();
    const struct {
        const char* name;
        std::string trailer;
        std::string diskPathOfA;
    } cases[] = {
        {"count differs", "TWDISK01" + le32(3) + wide(u"/b") + wide(u"/a"), "C/Src/A.cpp"},
        {"count of 2^31", "TWDISK01" + le32(0x80000000), "C/Src/A.cpp"},
        {"string too long", "TWDISK01" + le32(2) + bytes({0xFF, 0xFE, 0xFF, 0x7F}), "C/Src/A.cpp"},
        {"unknown tag alone", "TWDISK02" + le32(2) + wide(u"/b") + wide(u"/a"), "C/Src/A.cpp"},
        {"good", "TWDISK01" + le32(2) + wide(u"/b") + wide(u"/a"), "/a"},
        {"good, then garbage", "TWDISK01" + le32(2) + wide(u"/b") + wide(u"/a") + "TWTREE01", "/a"},
        {"after another section",
         "TWTREE01" + le32(2) + wide(u"\\b") + wide(u"\\a") + "TWDISK01" + le32(2) + wide(u"/b") +
             wide(u"/a"),
         "/a"},
        {"escaped bytes", "TWDISK01" + le32(2) + wide(u"/b") + wide(u"/\xDCFF\xDC80"), "/\xFF\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectFolder loaded;
        CountSettings settings;
        EXPECT_EQ(ProjectFile::load(records + c.trailer, loaded, settings).status,
                  ProjectLoadStatus::Loaded);
        std::vector<const FileCount*> records;
        static_cast<const ProjectFolder&>(loaded).CollectRecords(records);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[1]->diskPath, c.diskPathOfA);
        EXPECT_EQ(records[1]->path, utf16FromUtf8(c.diskPathOfA));
    }
}

TEST(ProjectFileTest, LoadRulesForHeadersAndRecords) {
    const struct {
        const char* name;
        std::string file;
        ProjectLoadStatus status;
        std::u16string message;
        CountSettings settings;
        std::string tree;
    } cases[] = {
        {"cyclomatic mode loads",
         header(0, 3, 0, 1, 0),
         ProjectLoadStatus::Loaded,
         u"",
         {CountMode::CyclomaticComplexity, false, true, false},
         ""},
        {"mode outside the enumeration is taken as read",
         header(0, 77, 0, 1, 0),
         ProjectLoadStatus::Loaded,
         u"",
         {static_cast<CountMode>(77), false, true, false},
         ""},
        {"flags are set only by 1",
         header(0, 0, 2, 0xFFFFFFFF, 1),
         ProjectLoadStatus::Loaded,
         u"",
         {CountMode::Physical, false, false, true},
         ""},
        {"second record with the same path is dropped",
         header(2, 0, 0, 1, 0) + storedRecord(u"c/a.cpp") + storedRecord(u"c/a.cpp", 0),
         ProjectLoadStatus::Loaded,
         u"",
         {},
         "[c]\n  c/a.cpp\n"},
        {"case twins are two records",
         header(2, 0, 0, 1, 0) + storedRecord(u"c/a.cpp") + storedRecord(u"c/A.cpp", 0),
         ProjectLoadStatus::Loaded,
         u"",
         {},
         "[c]\n  c/a.cpp\n  c/A.cpp\n"},
        {"empty path is dropped",
         header(2, 0, 0, 1, 0) + storedRecord(u"") + storedRecord(u"c/a.cpp"),
         ProjectLoadStatus::Loaded,
         u"",
         {},
         "[c]\n  c/a.cpp\n"},
        {"paths keep their case",
         header(1, 0, 0, 1, 0) + storedRecord(u"/Src/A.CPP"),
         ProjectLoadStatus::Loaded,
         u"",
         {},
         "[/]\n  [Src]\n    /Src/A.CPP\n"},
        {"smaller count loads the first records, ignoring the rest",
         header(1, 0, 0, 1, 0) + storedRecord(u"c/a.cpp") + storedRecord(u"c/b.cpp"),
         ProjectLoadStatus::Loaded,
         u"",
         {},
         "[c]\n  c/a.cpp\n"},
        {"negative count loads nothing",
         header(0x80000000, 0, 0, 1, 0) + storedRecord(u"c/a.cpp"),
         ProjectLoadStatus::Loaded,
         u"",
         {},
         ""},
        {"single-byte path",
         header(1, 0, 0, 1, 0) + storedRecord(u"x").replace(0, 6, bytes({0x04}) + "\xC4.cs"),
         ProjectLoadStatus::Loaded,
         u"",
         {},
         "\u00C4.cs\n"},
        {"larger count", header(2, 0, 0, 1, 0) + storedRecord(u"c/a.cpp"),
         ProjectLoadStatus::Damaged, u"Unexpected file format.", kUntouched, ""},
        {"count of 2^31-1", header(0x7FFFFFFF, 0, 0, 1, 0) + storedRecord(u"c/a.cpp"),
         ProjectLoadStatus::Damaged, u"Unexpected file format.", kUntouched, ""},
        {"header cut short", le32(0) + le32(0), ProjectLoadStatus::Damaged,
         u"Unexpected file format.", kUntouched, ""},
        {"path length beyond 31 bits",
         header(2, 0, 0, 1, 0) + storedRecord(u"c/a.cpp") +
             bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) + le32(0xFFFFFFFF) + le64(0x100000000),
         ProjectLoadStatus::Damaged, u"Failed to open document.", kUntouched, ""},
        {"remarks length claiming gigabytes",
         header(1, 0, 0, 1, 0) + recordUpToRemarks(u"c/a.cpp") +
             bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) + le32(0x7FFFFFF0) + "abcd",
         ProjectLoadStatus::Damaged, u"Unexpected file format.", kUntouched, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectFolder loaded;
        loaded.AddFilePath(u"c/old.cpp");
        CountSettings settings = kUntouched;
        const ProjectLoadResult result = ProjectFile::load(c.file, loaded, settings);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(settings, c.settings);
        EXPECT_EQ(treeText(loaded), c.tree);
    }
}

TEST(ProjectFileTest, AZeroByteFileIsAnEmptyProjectLeavingTheSettings) {
    ProjectFolder loaded;
    loaded.AddFilePath(u"c/old.cpp");
    CountSettings settings = kUntouched;
    const ProjectLoadResult result = ProjectFile::load("", loaded, settings);
    EXPECT_EQ(result.status, ProjectLoadStatus::EmptyFile);
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(settings, kUntouched);
    EXPECT_EQ(treeText(loaded), "");
}

TEST(ProjectFileTest, StoredValuesWinOverTheFileOnDisk) {
    test::TempDir dir;
    const std::string disk = dir.write("a.cpp", "int a;\n");
    ProjectFolder root;
    FileCount* record = root.AddFilePath(test::u16(disk), disk);
    ASSERT_EQ(record->sizeBytes, 7u);
    record->sizeBytes = 3;
    record->counted = true;
    record->code = 5;
    const std::string stored = ProjectFile::store(root, {});

    ProjectFolder loaded;
    CountSettings settings;
    ProjectFile::load(stored, loaded, settings);
    const FileCount* back = loaded.FindFile(record->path).record;
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->sizeBytes, 3u);
    EXPECT_EQ(back->diskPath, disk);

    std::filesystem::remove(disk);
    ProjectFolder gone;
    ProjectFile::load(stored, gone, settings);
    EXPECT_TRUE(gone.FindFile(record->path).record->counted);
    EXPECT_EQ(gone.FindFile(record->path).record->code, 5u);
}

TEST(ProjectFileTest, RoundTripKeepsTreeOrderAndEveryPathButEmptyLeafFolders) {
    ProjectFolder root;
    root.AddFilePath(u"/home/u/Src/Main.CPP", "/home/u/Src/Main.CPP");
    root.AddFilePath(u"\\\\server\\share\\net.cpp");
    root.AddFilePath(u"bare.cpp", "bare.cpp");
    root.AddFilePath(u"c:\\\\x\\\\y.cpp");
    root.AddFilePath(u"/home/u/b\xFFFD.cpp", "/home/u/b\xFF.cpp");
    root.AddFilePath(u"/home/u/Src/Aux.h", "/home/u/Src/Aux.h")->counted = true;
    const std::string withoutEmptyFolders = treeText(root);
    root.AddFilePath(u"c/empty/");

    const std::string stored = ProjectFile::store(root, kExecutableSettings);
    ProjectFolder loaded;
    CountSettings settings;
    ASSERT_EQ(ProjectFile::load(stored, loaded, settings).status, ProjectLoadStatus::Loaded);
    EXPECT_EQ(treeText(loaded), withoutEmptyFolders);
    EXPECT_EQ(ProjectFile::store(loaded, settings), stored);

    std::vector<const FileCount*> before;
    std::vector<const FileCount*> after;
    static_cast<const ProjectFolder&>(root).CollectRecords(before);
    static_cast<const ProjectFolder&>(loaded).CollectRecords(after);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i]->path, before[i]->path);
        EXPECT_EQ(after[i]->diskPath, before[i]->diskPath);
    }
}

TEST(ProjectFileTest, ARecordNamingAFolderLoadsNothingAndTheSameEachTime) {
    // A file from elsewhere may hold a record whose path ends in '/': it names no file.
    ProjectFolder source;
    source.AddFilePath(u"c/a.c", "c/a.c");
    ASSERT_TRUE(
        source.subfolders().front()->AddFile(std::make_unique<FileCount>(u"c/empty/", "c/empty/")));
    const std::string stored = ProjectFile::store(source, kExecutableSettings);

    ProjectFolder loaded;
    CountSettings settings;
    ASSERT_EQ(ProjectFile::load(stored, loaded, settings).status, ProjectLoadStatus::Loaded);
    EXPECT_EQ(treeText(loaded), "[c]\n  c/a.c\n");
    ProjectFolder again;
    ASSERT_EQ(ProjectFile::load(ProjectFile::store(loaded, settings), again, settings).status,
              ProjectLoadStatus::Loaded);
    EXPECT_EQ(treeText(again), treeText(loaded));
}

TEST(ProjectFileTest, RandomAndMutatedBytesNeverHalfLoad) {
    ProjectFolder source;
    for (const char16_t* path : {u"c/a/x.cpp", u"c/a/y.h", u"c/b/z.java"}) {
        source.AddFilePath(path, "/nonexistent")->counted = true;
    }
    const std::string valid = ProjectFile::store(source, kExecutableSettings);

    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        std::string input;
        if (round % 2 == 0) {
            input.resize(random() % 120);
            for (char& byte : input) {
                byte = static_cast<char>(random());
            }
        } else {
            input = valid;
            for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
                input[random() % input.size()] = static_cast<char>(random());
            }
        }
        ProjectFolder loaded;
        CountSettings settings = kUntouched;
        const ProjectLoadResult result = ProjectFile::load(input, loaded, settings);
        if (result.status == ProjectLoadStatus::Damaged) {
            EXPECT_TRUE(result.message == u"Unexpected file format." ||
                        result.message == u"Failed to open document.");
            EXPECT_EQ(treeText(loaded), "");
            EXPECT_EQ(settings, kUntouched);
        } else {
            EXPECT_TRUE(result.succeeded());
            EXPECT_LE(loaded.TotalRecords(), input.size() / 60);
        }
    }
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

const CountSettings kComplexitySettings{CountMode::CyclomaticComplexity, false, false, false};

/// The functions of the records of `root`, in pre-order.
std::vector<std::vector<FunctionComplexity>> functionsOf(const ProjectFolder& root) {
    std::vector<const FileCount*> records;
    root.CollectRecords(records);
    std::vector<std::vector<FunctionComplexity>> functions;
    for (const FileCount* record : records) {
        functions.push_back(record->functions);
    }
    return functions;
}

TEST_F(TwoRecordProject, FunctionsOfModeCRoundTripInASectionAfterTheDiskPaths) {
    // Names with what the section's own text uses: digits, spaces, ':'.
    const std::vector<FunctionComplexity> functions = {
        {u"Reader::next", 12, 10, 40, 7},
        {u"operator new[]", 41, 41, 41, 1},
        {u"a2::b 3:", 50, 49, 60, 4294967295u},
    };
    root.FindFile(u"C/Src/A.cpp").record->functions = functions;
    const std::string stored = ProjectFile::store(root, kComplexitySettings);
    // The form every section has, so that a reader that knows only the disk paths skips it:
    // tag, the number of records, one wide string per record.
    const std::u16string text =
        u"12 10 40 7 12:Reader::next41 41 41 1 14:operator new[]"
        u"50 49 60 4294967295 8:a2::b 3:";
    ASSERT_LT(text.size(), 255u);
    EXPECT_TRUE(stored.ends_with("TWFUNC01" + le32(2) + wide(u"") + wide(text)));
    EXPECT_LT(stored.find("TWDISK01"), stored.find("TWFUNC01"));

    ProjectFolder loaded;
    CountSettings settings;
    ASSERT_EQ(ProjectFile::load(stored, loaded, settings).status, ProjectLoadStatus::Loaded);
    EXPECT_EQ(settings, kComplexitySettings);
    EXPECT_EQ(functionsOf(loaded), (std::vector<std::vector<FunctionComplexity>>{{}, functions}));
    EXPECT_EQ(loaded.FindFile(u"C/b\uFFFD.h").record->diskPath, "C/b\xFF.h");

    // In another mode, or without a function, no section is written.
    EXPECT_EQ(ProjectFile::store(root, kExecutableSettings).find("TWFUNC01"), std::string::npos);
    root.FindFile(u"C/Src/A.cpp").record->functions.clear();
    EXPECT_EQ(ProjectFile::store(root, kComplexitySettings).find("TWFUNC01"), std::string::npos);
}

TEST(ProjectFileTest, AFunctionsSectionThatDoesNotFitIsIgnoredAndTheProjectLoads) {
    const std::string project = header(1, 3, 0, 0, 0) + storedRecord(u"/a.c");
    const std::string disk = "TWDISK01" + le32(1) + wide(u"/disk/a.c");
    const struct {
        const char* name;
        std::string file;
        std::vector<FunctionComplexity> functions;
        std::string diskPath;
    } cases[] = {
        {"a file of an earlier version, without the section", project, {}, "/a.c"},
        {"good",
         project + "TWFUNC01" + le32(1) + wide(u"3 1 9 2 1:f"),
         {{u"f", 3, 1, 9, 2}},
         "/a.c"},
        {"before the disk paths",
         project + "TWFUNC01" + le32(1) + wide(u"3 1 9 2 1:f") + disk,
         {{u"f", 3, 1, 9, 2}},
         "/disk/a.c"},
        {"the count differs", project + "TWFUNC01" + le32(2) + wide(u"3 1 9 2 1:f"), {}, "/a.c"},
        {"cut inside its string",
         project + "TWFUNC01" + le32(1) + wide(u"3 1 9 2 1:f").substr(0, 8),
         {},
         "/a.c"},
        {"the name runs past the text",
         project + disk + "TWFUNC01" + le32(1) + wide(u"3 1 9 2 5:f"),
         {},
         "/disk/a.c"},
        {"a number is missing", project + "TWFUNC01" + le32(1) + wide(u"3 1 9 1:f"), {}, "/a.c"},
        {"a number is not decimal",
         project + "TWFUNC01" + le32(1) + wide(u"3 1 x 2 1:f"),
         {},
         "/a.c"},
        {"a number beyond 32 bits",
         project + "TWFUNC01" + le32(1) + wide(u"4294967296 1 9 2 1:f"),
         {},
         "/a.c"},
        {"complexity 0", project + "TWFUNC01" + le32(1) + wide(u"3 1 9 0 1:f"), {}, "/a.c"},
        {"a name length of 2^32-1",
         project + "TWFUNC01" + le32(1) + wide(u"3 1 9 2 4294967295:f"),
         {},
         "/a.c"},
        {"in a file of another mode",
         header(1, 2, 0, 0, 0) + storedRecord(u"/a.c") + "TWFUNC01" + le32(1) +
             wide(u"3 1 9 2 1:f"),
         {},
         "/a.c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectFolder loaded;
        CountSettings settings;
        ASSERT_EQ(ProjectFile::load(c.file, loaded, settings).status, ProjectLoadStatus::Loaded);
        std::vector<const FileCount*> records;
        static_cast<const ProjectFolder&>(loaded).CollectRecords(records);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0]->functions, c.functions);
        EXPECT_EQ(records[0]->diskPath, c.diskPath);
    }
}

}  // namespace
}  // namespace tw
