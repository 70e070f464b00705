#include "report/TypeTotals.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/FileCount.h"
#include "engine/Language.h"

namespace tw {
namespace {

FileCount& counted(ProjectFolder& root, std::u16string_view path, std::uint32_t code,
                   std::uint32_t blank) {
    FileCount& record = *root.AddFilePath(path);
    record.counted = true;
    record.code = code;
    record.blank = blank;
    return record;
}

TEST(TypeTotalsTest, OneRowPerTypeInTableOrderAddingUpToTheProject) {
    ProjectFolder root;
    counted(root, u"src/Main.java", 30, 3);
    counted(root, u"src/a.cpp", 10, 1);
    counted(root, u"src/b.c", 20, 2);
    counted(root, u"src/a.h", 5, 0);
    counted(root, u"src/notes.cs", 7, 0);   // two rows of the language table named
    counted(root, u"src/notes.xyz", 1, 0);  // "Undefined" make one entry
    root.AddFilePath(u"src/skipped.rc");    // never counted: no Resource Script row

    const std::vector<TypeTotal> totals = typeTotals(root);
    std::vector<std::u16string_view> names;
    std::uint32_t files = 0;
    for (const TypeTotal& total : totals) {
        names.push_back(fileTypeName(total.type));
        files += total.files;
    }
    EXPECT_EQ(names, (std::vector<std::u16string_view>{u"C/C++ Header", u"C/C++ Source",
                                                       u"Java Source", u"Undefined"}));
    EXPECT_EQ(totals[1].files, 2u);
    EXPECT_EQ(totals[1].sums[CountColumn::Total], 33u);
    EXPECT_EQ(totals[3].files, 2u);
    EXPECT_EQ(files, root.CountedRecords(true));

    EXPECT_EQ(typeTotalsText(totals, CountMode::Physical),
              "File type     Files  Physical  Comment lines  Blank lines  Comment words\n"
              "------------------------------------------------------------------------\n"
              "C/C++ Header      1         5              0            0              0\n"
              "C/C++ Source      2        30              0            3              0\n"
              "Java Source       1        30              0            3              0\n"
              "Undefined         2         8              0            0              0\n"
              "------------------------------------------------------------------------\n"
              "Total             6        73              0            6              0\n");
}

TEST(TypeTotalsTest, AnEmptyProjectHasTheTotalRowAlone) {
    const std::string text = typeTotalsText(typeTotals(ProjectFolder()), CountMode::Executable);
    EXPECT_EQ(text,
              "File type  Files  Executable  Comment lines  Blank lines  Comment words\n"
              "-----------------------------------------------------------------------\n"
              "-----------------------------------------------------------------------\n"
              "Total          0           0              0            0              0\n");
}

}  // namespace
}  // namespace tw
