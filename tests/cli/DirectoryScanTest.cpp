#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/ArgumentText.h"
#include "cli/CustomCommandLineInfo.h"
#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

/// The files a scan found, relative to `root`, sorted (the scan keeps the file system's order).
std::vector<std::string> found(const CCustomCommandLineInfo& info, const std::string& root) {
    std::vector<std::string> files;
    for (const std::u16string& file : info.files) {
        std::string path = diskBytes(file);
        EXPECT_EQ(path.rfind(root, 0), 0u) << path;
        files.push_back(path.substr(root.size()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

class DirectoryScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.cpp", "b.CPP", "c.h", "noext", "d.tar.gz", "sub/e.cpp",
                                 "sub/deeper/f.h", "sub/g.txt"}) {
            dir_.write(name, "x;\n");
        }
        root_ = dir_.path().string() + "/";
    }
    test::TempDir dir_;
    std::string root_;
};

TEST_F(DirectoryScanTest, TakesFilesByLowerCasedExtension) {
    CCustomCommandLineInfo info(u"/out/");
    info.extensions = {u".cpp", u".h", u".CPP", u".gz"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(dir_.path().string()), true));
    EXPECT_EQ(found(info, root_), (std::vector<std::string>{"a.cpp", "b.CPP", "c.h", "d.tar.gz",
                                                             "sub/deeper/f.h", "sub/e.cpp"}));
}

TEST_F(DirectoryScanTest, WithoutSubfoldersStaysInTheDirectory) {
    CCustomCommandLineInfo info(u"/out/");
    info.extensions = {u".cpp"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_), false));
    EXPECT_EQ(found(info, root_), (std::vector<std::string>{"a.cpp", "b.CPP"}));
}

TEST_F(DirectoryScanTest, NoExtensionsScansNothing) {
    CCustomCommandLineInfo info(u"/out/");
    EXPECT_FALSE(info.AddFilesFromDirectory(argumentText(root_), true));
    EXPECT_TRUE(info.files.empty());
}

TEST_F(DirectoryScanTest, LinkLoopsAreNotFollowedForever) {
    fs::create_directory_symlink(dir_.path(), dir_.path() / "sub" / "loop");
    fs::create_directory_symlink(dir_.path() / "sub" / "deeper", dir_.path() / "alias");
    CCustomCommandLineInfo info(u"/out/");
    info.extensions = {u".h"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_), true));
    // The link back to the root is not entered; a link to a directory elsewhere is.
    EXPECT_EQ(found(info, root_),
              (std::vector<std::string>{"alias/f.h", "c.h", "sub/deeper/f.h"}));
}

TEST_F(DirectoryScanTest, NamesThatAreNotUtf8KeepTheirBytes) {
    const std::string name = "caf\xE9.c";
    dir_.write(name, "x;\n");
    CCustomCommandLineInfo info(u"/out/");
    info.extensions = {u".c"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_), false));
    ASSERT_EQ(info.files.size(), 1u);
    EXPECT_EQ(diskBytes(info.files[0]), root_ + name);
    EXPECT_EQ(displayText(info.files[0]).substr(info.files[0].size() - 6), u"caf\uFFFD.c");
}

}  // namespace
}  // namespace tw
