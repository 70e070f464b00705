#include "project/ProjectFolder.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "support/TreeText.h"
#include "support/U16.h"

namespace tw {
namespace {

using test::treeText;
using test::u16;

TEST(ProjectFolderTest, AddFilePathBuildsFoldersFromThePathComponents) {
    const struct {
        const char* name;
        std::vector<std::u16string> paths;
        std::vector<bool> added;
        std::string tree;
    } cases[] = {
        {"relative path", {u"src/a.cpp"}, {true}, "[src]\n  src/a.cpp\n"},
        {"bare name stays bare", {u"a.cpp"}, {true}, "a.cpp\n"},
        {"dot folder kept as given", {u"./src/a.cpp"}, {true}, "[.]\n  [src]\n    ./src/a.cpp\n"},
        {"absolute path under the root folder",
         {u"/home/u/Src/A.CPP"},
         {true},
         "[/]\n  [home]\n    [u]\n      [Src]\n        /home/u/Src/A.CPP\n"},
        {"file at the root of the file system", {u"/a.c"}, {true}, "[/]\n  /a.c\n"},
        {"case twins are two records",
         {u"src/Foo.c", u"src/foo.c", u"SRC/foo.c"},
         {true, true, true},
         "[src]\n  src/Foo.c\n  src/foo.c\n[SRC]\n  SRC/foo.c\n"},
        {"the same spelling names one record",
         {u"a/x.c", u"a/x.c"},
         {true, false},
         "[a]\n  a/x.c\n"},
        {"backslash is part of a name", {u"a\\b.c"}, {true}, "a\\b.c\n"},
        {"spaces and commas kept",
         {u"My Folder,2/a b.c"},
         {true},
         "[My Folder,2]\n  My Folder,2/a b.c\n"},
        {"insertion order kept",
         {u"c/a/x.cpp", u"c/b/y.cpp", u"c/a/z.cpp"},
         {true, true, true},
         "[c]\n  [a]\n    c/a/x.cpp\n    c/a/z.cpp\n  [b]\n    c/b/y.cpp\n"},
        {"trailing separator names no file and makes no folder", {u"c/a/"}, {false}, ""},
        {"nor beside folders there already", {u"c/x.c", u"c/a/"}, {true, false}, "[c]\n  c/x.c\n"},
        {"empty path", {u""}, {false}, ""},
        {"doubled separators name the same folders",
         {u"c//a/x.cpp", u"c/a/x.cpp", u"//c/a/y.cpp"},
         {true, false, true},
         "[c]\n  [a]\n    c/a/x.cpp\n[/]\n  [c]\n    [a]\n      /c/a/y.cpp\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectFolder root;
        for (std::size_t i = 0; i < c.paths.size(); ++i) {
            FileCount* record = root.AddFilePath(c.paths[i]);
            EXPECT_EQ(record != nullptr, c.added[i]) << i;
            if (record != nullptr) {
                EXPECT_EQ(record->path, recordPathOf(c.paths[i]));
            } else if (i == 0) {
                EXPECT_EQ(recordPathOf(c.paths[i]), u"");
            }
        }
        EXPECT_EQ(treeText(root), c.tree);
    }
}

TEST(ProjectFolderTest, RecordsKeepTheDiskPathTheyWereMadeFrom) {
    ProjectFolder root;
    EXPECT_EQ(root.AddFilePath(u"a.cpp")->diskPath, "a.cpp");
    EXPECT_EQ(root.AddFilePath(u"Src/Main.cpp")->diskPath, "Src/Main.cpp");
    FileCount* posix = root.AddFilePath(u"/home/u/Src/A.CPP", "/home/u/Src/A.CPP");
    ASSERT_NE(posix, nullptr);
    EXPECT_EQ(posix->path, u"/home/u/Src/A.CPP");
    EXPECT_EQ(posix->diskPath, "/home/u/Src/A.CPP");
    // Two names that are not UTF-8 show alike but are two files.
    FileCount* first = root.AddFilePath(u"x/caf\uFFFD.c", "x/caf\xe9.c");
    FileCount* second = root.AddFilePath(u"x/caf\uFFFD.c", "x/caf\xe8.c");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->path, u"x/caf\uFFFD.c");
    EXPECT_EQ(root.AddFilePath(u"x/caf\uFFFD.c", "x/caf\xe9.c"), nullptr);
}

TEST(ProjectFolderTest, NewRecordsTakeTheirTypeFromTheExtensionWhateverItsCase) {
    const struct {
        std::u16string path;
        FileType type;
    } cases[] = {
        {u"c:/FOO.CPP", FileType::CppSource}, {u"c:/Makefile", FileType::Undefined},
        {u"c:/x.txt", FileType::Undefined},   {u"c:/x.cs", FileType::CSharpSource},
        {u"c:/x.h", FileType::CppHeader},     {u"c:/.h", FileType::CppHeader},
    };
    ProjectFolder root;
    for (const auto& c : cases) {
        FileCount* record = root.AddFilePath(c.path);
        ASSERT_NE(record, nullptr) << test::u8(c.path);
        EXPECT_EQ(record->fileType, c.type) << test::u8(c.path);
    }
}

TEST(ProjectFolderTest, PathsDeeperThanTheLimitAreRefusedWithoutFolders) {
    std::u16string deepest;
    for (std::size_t i = 0; i < ProjectFolder::kMaxDepth; ++i) {
        deepest += u"d/";
    }
    ProjectFolder root;
    EXPECT_NE(root.AddFilePath(deepest + u"a.cpp"), nullptr);
    EXPECT_NE(recordPathOf(deepest + u"a.cpp"), u"");

    ProjectFolder other;
    EXPECT_EQ(other.AddFilePath(u"x/" + deepest + u"a.cpp"), nullptr);
    EXPECT_EQ(recordPathOf(u"x/" + deepest + u"a.cpp"), u"");
    EXPECT_TRUE(other.subfolders().empty());

    // The limit counts from the root, not from the folder the path is added to.
    ProjectFolder* first = root.subfolders().front().get();
    EXPECT_EQ(first->AddFilePath(deepest + u"b.cpp"), nullptr);
}

TEST(ProjectFolderTest, FullPathAndFindFolderCompareExactly) {
    ProjectFolder root;
    root.AddFilePath(u"c:/A/x.cpp");
    root.AddFilePath(u"/home/u/y.cpp");
    ProjectFolder* drive = root.FindFolder(u"c:");
    ASSERT_NE(drive, nullptr);
    ProjectFolder* a = root.FindFolder(u"c:/A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->parent(), drive);
    EXPECT_EQ(root.FullPath(), u"");
    EXPECT_EQ(drive->FullPath(), u"c:");
    EXPECT_EQ(a->FullPath(), u"c:/A");
    EXPECT_EQ(root.FindFolder(u"c:/a"), nullptr);
    EXPECT_EQ(root.FindFolder(u"c:/b"), nullptr);
    EXPECT_EQ(root.FindFolder(u""), &root);
    EXPECT_EQ(drive->FindFolder(u"c:/A"), a);

    // The root folder of absolute paths is its own separator.
    ProjectFolder* top = root.FindFolder(u"/");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->name(), u"/");
    ProjectFolder* u = root.FindFolder(u"/home/u");
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->name(), u"u");
    EXPECT_EQ(u->parent()->FullPath(), u"/home");
    EXPECT_EQ(u->parent()->parent(), top);
}

TEST(ProjectFolderTest, FindFileSearchesTheSubtreeInPreOrder) {
    ProjectFolder root;
    root.AddFilePath(u"c:/a/x.cpp");
    FileCount* y = root.AddFilePath(u"c:/b/y.cpp");
    const ProjectFolder::FoundFile found = root.FindFile(u"c:/b/y.cpp");
    EXPECT_EQ(found.record, y);
    EXPECT_EQ(found.folder, root.FindFolder(u"c:/b"));
    const ProjectFolder::FoundFile missing = root.FindFile(u"C:/B/Y.CPP");
    EXPECT_EQ(missing.record, nullptr);
    EXPECT_EQ(missing.folder, nullptr);
    EXPECT_EQ(root.FindFolder(u"c:/a")->FindFile(u"c:/b/y.cpp").record, nullptr);
}

TEST(ProjectFolderTest, SetExpandedOpensAncestorsOnlyWhenTrue) {
    ProjectFolder root;
    root.AddFilePath(u"c:/a/x.cpp");
    ProjectFolder* a = root.FindFolder(u"c:/a");
    a->SetExpanded(false);
    EXPECT_FALSE(root.expanded());
    a->SetExpanded(true);
    EXPECT_TRUE(a->expanded());
    EXPECT_TRUE(root.FindFolder(u"c:")->expanded());
    EXPECT_TRUE(root.expanded());
    a->SetExpanded(false);
    EXPECT_FALSE(a->expanded());
    EXPECT_TRUE(root.FindFolder(u"c:")->expanded());
}

/// A tree of four records: two counted (one in a subfolder), one uncounted with left-over
/// counters, one whose count failed.
class ProjectSumsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        own = root.AddFilePath(u"own.cpp");
        own->counted = true;
        own->code = 10;
        own->commentWords = 7;
        own->blank = 1;
        deep = root.AddFilePath(u"c:/src/deep.cpp");
        deep->counted = true;
        deep->code = 5;
        deep->declaration = 2;
        stale = root.AddFilePath(u"c:/src/stale.cpp");
        stale->code = 1000;
        stale->blank = 1000;
        broken = root.AddFilePath(u"c:/broken.cpp");
        broken->failed = true;
        broken->code = 99;
    }

    ProjectFolder root;
    FileCount* own = nullptr;
    FileCount* deep = nullptr;
    FileCount* stale = nullptr;
    FileCount* broken = nullptr;
};

TEST_F(ProjectSumsTest, CountsAndSumsOnlyTakeCountedRecords) {
    EXPECT_EQ(root.TotalRecords(), 4u);
    EXPECT_EQ(root.CountedRecords(true), 2u);
    EXPECT_EQ(root.CountedRecords(false), 1u);
    EXPECT_EQ(root.UncountedRecords(), 2u);
    EXPECT_EQ(root.FailedRecords(true), 1u);
    EXPECT_EQ(root.FailedRecords(false), 0u);
    EXPECT_TRUE(root.HasCounted());
    EXPECT_TRUE(root.HasUncounted());

    EXPECT_EQ(root.Sum(&FileCount::code, true), 15u);
    EXPECT_EQ(root.Sum(&FileCount::code, false), 10u);
    EXPECT_EQ(root.Sum(&FileCount::declaration, true), 2u);
    EXPECT_EQ(root.Sum(&FileCount::commentWords, true), 7u);
    EXPECT_EQ(root.Sum(&FileCount::blank, true), 1u);

    const ProjectFolder* src = root.FindFolder(u"c:/src");
    EXPECT_EQ(src->TotalRecords(), 2u);
    EXPECT_EQ(src->Sum(&FileCount::code, false), 5u);
}

TEST_F(ProjectSumsTest, HasOperationsFollowTheCountedFlag) {
    own->counted = false;
    deep->counted = false;
    EXPECT_FALSE(root.HasCounted());
    EXPECT_TRUE(root.HasUncounted());
    for (FileCount* record : {own, deep, stale, broken}) {
        record->counted = true;
    }
    EXPECT_TRUE(root.HasCounted());
    EXPECT_FALSE(root.HasUncounted());
}

TEST_F(ProjectSumsTest, SumsWrapAt32Bits) {
    own->code = std::numeric_limits<std::uint32_t>::max();
    deep->code = 3;
    EXPECT_EQ(root.Sum(&FileCount::code, true), 2u);
}

TEST_F(ProjectSumsTest, CollectRecordsVisitsOwnFilesBeforeSubfolders) {
    std::vector<FileCount*> records;
    root.CollectRecords(records);
    EXPECT_EQ(records, (std::vector<FileCount*>{own, broken, deep, stale}));
    std::vector<const FileCount*> constRecords{nullptr};
    static_cast<const ProjectFolder&>(root).CollectRecords(constRecords);
    EXPECT_EQ(constRecords.size(), 5u);
    EXPECT_EQ(constRecords.front(), nullptr);
}

TEST_F(ProjectSumsTest, ResetAllCountsClearsEveryRecord) {
    own->remarks = u"x";
    root.ResetAllCounts();
    EXPECT_FALSE(root.HasCounted());
    EXPECT_EQ(root.FailedRecords(true), 0u);
    EXPECT_EQ(stale->code, 0u);
    EXPECT_EQ(own->remarks, u"");
    EXPECT_EQ(root.TotalRecords(), 4u);
}

TEST(ProjectFolderTest, AnEmptyFolderHasNothing) {
    const ProjectFolder root;
    EXPECT_EQ(root.TotalRecords(), 0u);
    EXPECT_EQ(root.CountedRecords(true), 0u);
    EXPECT_EQ(root.UncountedRecords(), 0u);
    EXPECT_EQ(root.FailedRecords(true), 0u);
    EXPECT_FALSE(root.HasCounted());
    EXPECT_FALSE(root.HasUncounted());
    EXPECT_EQ(root.Sum(&FileCount::code, true), 0u);
    std::vector<const FileCount*> records;
    root.CollectRecords(records);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(root.WidestTreeLabel(5, 0, 4), 5u);
    EXPECT_EQ(root.LongestPath(true), 0u);
}

TEST(ProjectFolderTest, WidestTreeLabelAndLongestPathMeasureNamesAtTheirDepth) {
    ProjectFolder root;
    root.AddFilePath(u"top.cpp");                    // label 7 at depth 0
    root.AddFilePath(u"c:/long-folder-name/a.cpp");  // folder label 16 at depth 1
    root.AddFilePath(u"c:/d/e/deeper.cpp");          // label 10 at depth 3
    EXPECT_EQ(root.WidestTreeLabel(5, 0, 0), 16u);
    EXPECT_EQ(root.WidestTreeLabel(5, 0, 2), 16u + 2);
    EXPECT_EQ(root.WidestTreeLabel(5, 0, 4), 10u + 12);
    EXPECT_EQ(root.WidestTreeLabel(5, 0, 8), 10u + 24);
    EXPECT_EQ(root.WidestTreeLabel(40, 0, 4), 40u);
    EXPECT_EQ(root.WidestTreeLabel(5, 1, 4), 10u + 16);
    EXPECT_EQ(root.LongestPath(false), 10u);
    EXPECT_EQ(root.LongestPath(true), std::u16string(u"c:/long-folder-name/a.cpp").size());
}

TEST(ProjectFolderTest, RemovalsTakeTheFirstMatchAndDestroyTheSubtree) {
    ProjectFolder root;
    root.AddFilePath(u"c:/a/x.cpp");
    root.AddFilePath(u"c:/a/y.cpp");
    root.AddFilePath(u"c:/b/z.cpp");
    ProjectFolder* a = root.FindFolder(u"c:/a");
    // Two records sharing a file name can only come in through AddFile.
    auto twin = std::make_unique<FileCount>(u"elsewhere/x.cpp", "/nonexistent");
    ASSERT_TRUE(a->AddFile(std::move(twin)));

    EXPECT_TRUE(a->RemoveRecordByFileName(u"x.cpp"));
    EXPECT_EQ(a->files().size(), 2u);
    EXPECT_EQ(a->files().back()->path, u"elsewhere/x.cpp");
    EXPECT_FALSE(a->RemoveRecordByFileName(u"z.cpp"));  // subfolders are not searched
    EXPECT_FALSE(a->RemoveRecordByFileName(u"X.CPP"));

    ProjectFolder* drive = root.FindFolder(u"c:");
    EXPECT_FALSE(drive->RemoveSubfolderByName(u"B"));
    EXPECT_TRUE(drive->RemoveSubfolderByName(u"b"));
    EXPECT_EQ(root.FindFile(u"c:/b/z.cpp").record, nullptr);
    EXPECT_EQ(treeText(root), "[c:]\n  [a]\n    c:/a/y.cpp\n    elsewhere/x.cpp\n");

    root.AddFilePath(u"r.cpp");
    root.DeleteAllRecords();
    EXPECT_TRUE(root.files().empty());
    EXPECT_EQ(root.TotalRecords(), 2u);
    root.AddFilePath(u"r.cpp");
    root.DeleteAllSubfolders();
    EXPECT_EQ(treeText(root), "r.cpp\n");
}

TEST(ProjectFolderTest, RemovedRecordsAndFoldersCanBeAddedAgain) {
    ProjectFolder root;
    root.AddFilePath(u"c:/a/x.cpp");
    ProjectFolder* a = root.FindFolder(u"c:/a");
    ASSERT_TRUE(a->RemoveRecordByFileName(u"x.cpp"));
    EXPECT_NE(root.AddFilePath(u"c:/a/x.cpp"), nullptr);
    a->DeleteAllRecords();
    EXPECT_NE(root.AddFilePath(u"c:/a/x.cpp"), nullptr);
    EXPECT_EQ(root.AddFilePath(u"c:/a/x.cpp"), nullptr);

    ASSERT_TRUE(root.FindFolder(u"c:")->RemoveSubfolderByName(u"a"));
    EXPECT_NE(root.AddFilePath(u"c:/a/y.cpp"), nullptr);
    root.DeleteAllSubfolders();
    EXPECT_NE(root.AddFilePath(u"c:/a/y.cpp"), nullptr);
    EXPECT_EQ(treeText(root), "[c:]\n  [a]\n    c:/a/y.cpp\n");
}

TEST(ProjectFolderTest, RemovingAFolderTakesTheParentsItLeavesEmpty) {
    const std::vector<std::u16string> paths = {u"c:/a/b/x.cpp", u"c:/a/y.cpp", u"c:/g/h/w.cpp",
                                               u"d:/e/f/z.cpp"};
    const struct {
        const char* name;
        std::u16string removed;
        std::u16string top;   // the folder that goes with everything below it
        std::u16string kept;  // the nearest folder that stays
        std::string tree;
    } cases[] = {
        {"the parent keeps its own file", u"c:/a/b", u"c:/a/b", u"c:/a",
         "[c:]\n  [a]\n    c:/a/y.cpp\n  [g]\n    [h]\n      c:/g/h/w.cpp\n[d:]\n  [e]\n"
         "    [f]\n      d:/e/f/z.cpp\n"},
        {"parents holding only the way down go, up to one that holds another folder", u"c:/g/h",
         u"c:/g", u"c:",
         "[c:]\n  [a]\n    c:/a/y.cpp\n    [b]\n      c:/a/b/x.cpp\n[d:]\n"
         "  [e]\n    [f]\n      d:/e/f/z.cpp\n"},
        {"up to the root", u"d:/e/f", u"d:", u"",
         "[c:]\n  [a]\n    c:/a/y.cpp\n    [b]\n      c:/a/b/x.cpp\n  [g]\n    [h]\n"
         "      c:/g/h/w.cpp\n"},
        {"a top folder", u"c:", u"c:", u"", "[d:]\n  [e]\n    [f]\n      d:/e/f/z.cpp\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectFolder root;
        for (const std::u16string& path : paths) {
            root.AddFilePath(path);
        }
        ProjectFolder* removed = root.FindFolder(c.removed);
        ASSERT_NE(removed, nullptr);
        EXPECT_EQ(root.RemovalTop(*removed).FullPath(), c.top);
        ProjectFolder& kept = root.RemoveFolderAndEmptyParents(*removed);
        EXPECT_EQ(kept.FullPath(), c.kept);
        EXPECT_EQ(treeText(root), c.tree);
        EXPECT_EQ(root.FindFolder(c.top), nullptr);
        // The folders that went can be made again.
        EXPECT_NE(root.AddFilePath(c.removed + u"/again.cpp"), nullptr);
    }
}

TEST(ProjectFolderTest, RemovalStopsAtTheFolderItIsAskedFrom) {
    ProjectFolder root;
    root.AddFilePath(u"c:/a/b/x.cpp");
    ProjectFolder& a = *root.FindFolder(u"c:/a");
    ProjectFolder& b = *root.FindFolder(u"c:/a/b");
    // Asked from "a", the chain of emptied parents ends below it.
    EXPECT_EQ(&a.RemovalTop(b), &b);
    EXPECT_EQ(&a.RemoveFolderAndEmptyParents(b), &a);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_FALSE(root.IsEmpty());
    // A folder is never removed from itself, nor one outside its subtree.
    ProjectFolder other;
    other.AddFilePath(u"o/x.cpp");
    EXPECT_EQ(&root.RemoveFolderAndEmptyParents(root), &root);
    EXPECT_EQ(&root.RemoveFolderAndEmptyParents(*other.FindFolder(u"o")), other.FindFolder(u"o"));
    EXPECT_EQ(treeText(root), "[c:]\n  [a]\n");
    EXPECT_EQ(treeText(other), "[o]\n  o/x.cpp\n");
}

TEST(ProjectFolderTest, TakingTheContentsOfAnotherRootReplacesOwnContents) {
    ProjectFolder root;
    root.AddFilePath(u"old/x.cpp");
    root.AddFilePath(u"old.cpp");
    ProjectFolder loaded;
    loaded.AddFilePath(u"new/a/y.cpp");
    loaded.AddFilePath(u"z.cpp");
    root.TakeContentsOf(loaded);
    EXPECT_EQ(treeText(root), "z.cpp\n[new]\n  [a]\n    new/a/y.cpp\n");
    EXPECT_TRUE(loaded.IsEmpty());
    ProjectFolder* folder = root.FindFolder(u"new/a");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->parent()->parent(), &root);
    EXPECT_EQ(root.FindFile(u"new/a/y.cpp").folder, folder);
    // What tells records and folders apart came along.
    EXPECT_EQ(root.AddFilePath(u"new/a/y.cpp"), nullptr);
    EXPECT_EQ(root.AddFilePath(u"z.cpp"), nullptr);
    EXPECT_NE(root.AddFilePath(u"old/x.cpp"), nullptr);
    EXPECT_EQ(root.subfolders().size(), 2u);
    EXPECT_NE(loaded.AddFilePath(u"new/a/y.cpp"), nullptr);
}

TEST(ProjectFolderTest, FolderPathOfARecordPath) {
    EXPECT_EQ(folderPathOf(u"/usr/src/a.c"), u"/usr/src");
    EXPECT_EQ(folderPathOf(u"/a.c"), u"/");
    EXPECT_EQ(folderPathOf(u"src/a.c"), u"src");
    EXPECT_EQ(folderPathOf(u"a.c"), u"");
}

TEST(ProjectFolderTest, FolderNamesAreKeptAsGiven) {
    ProjectFolder root;
    const ProjectFolder folder(u"Src Dir", &root);
    EXPECT_EQ(folder.name(), u"Src Dir");
    EXPECT_EQ(folder.parent(), &root);
    EXPECT_FALSE(folder.expanded());
}

}  // namespace
}  // namespace tw
