#include "project/DiskPaths.h"

#include <gtest/gtest.h>

#include <string>

#include "project/ProjectFolder.h"

namespace tw {
namespace {

TEST(DiskPathsTest, FolderOnDiskComesFromTheFirstFileBelowIt) {
    ProjectFolder root;
    // Shown names may differ from the bytes on disk (names that are not UTF-8).
    root.AddFilePath(u"/home/caf\uFFFD/src/lib/a.c", "/home/caf\xe9/src/lib/a.c");
    root.AddFilePath(u"/home/caf\uFFFD/src/b.c", "/home/caf\xe9/src/b.c");
    root.AddFilePath(u"rel/x.c", "rel/x.c");
    root.AddFilePath(u"/top.c", "/top.c");
    root.AddFilePath(u"bare.c", "bare.c");
    const struct {
        std::u16string folder;
        std::string onDisk;
    } cases[] = {
        {u"/home/caf\uFFFD/src/lib", "/home/caf\xe9/src/lib"},
        // Its own file comes first; the subfolder's would give the same.
        {u"/home/caf\uFFFD/src", "/home/caf\xe9/src"},
        {u"/home/caf\uFFFD", "/home/caf\xe9"},
        {u"/", "/"},
        {u"rel", "rel"},
    };
    for (const auto& c : cases) {
        const ProjectFolder* folder = root.FindFolder(c.folder);
        ASSERT_NE(folder, nullptr);
        EXPECT_EQ(diskPathOfFolder(*folder), c.onDisk);
    }
    // The root of a project of relative paths is the current directory.
    ProjectFolder relative;
    relative.AddFilePath(u"x.c");
    EXPECT_EQ(diskPathOfFolder(relative), ".");
}

TEST(DiskPathsTest, AFolderWithoutFilesIsItsOwnPath) {
    // No path makes a folder without a file; one made by hand has none below it.
    ProjectFolder top(u"/", nullptr);
    ProjectFolder empty(u"empty", &top);
    ProjectFolder folder(u"folder", &empty);
    EXPECT_EQ(diskPathOfFolder(folder), "/empty/folder");
}

TEST(DiskPathsTest, FileOnDiskIsItsRecordsOrItsOwnName) {
    ProjectFolder root;
    root.AddFilePath(u"x/caf\uFFFD.c", "x/caf\xe9.c");
    EXPECT_EQ(diskPathOfFile(root, u"x/caf\uFFFD.c"), "x/caf\xe9.c");
    EXPECT_EQ(diskPathOfFile(root, u"x/other.c"), "x/other.c");
}

}  // namespace
}  // namespace tw
