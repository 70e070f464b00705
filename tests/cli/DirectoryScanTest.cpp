#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/ArgumentText.h"
#include "cli/CustomCommandLineInfo.h"
#include "support/AdversarialInputs.h"
#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

/// The files a scan found, relative to `root`, in the order it found them.
std::vector<std::string> found(const CCustomCommandLineInfo& info, const std::string& root) {
    std::vector<std::string> files;
    for (const std::u16string& file : info.files) {
        std::string path = diskBytes(file);
        EXPECT_EQ(path.rfind(root, 0), 0u) << path;
        files.push_back(path.substr(root.size()));
    }
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
    std::ostringstream warnings_;
};

TEST_F(DirectoryScanTest, TakesFilesByLowerCasedExtension) {
    CCustomCommandLineInfo info;
    info.extensions = {u".cpp", u".h", u".CPP", u".gz"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(dir_.path().string()), true, warnings_));
    EXPECT_EQ(found(info, root_), (std::vector<std::string>{"a.cpp", "b.CPP", "c.h", "d.tar.gz",
                                                            "sub/deeper/f.h", "sub/e.cpp"}));
    EXPECT_EQ(warnings_.str(), "");
}

TEST_F(DirectoryScanTest, EntriesComeInNameOrderIgnoringCaseTiesByBytes) {
    for (const char* name : {"order/b.c", "order/B.c", "order/a.c", "order/_x.c", "order/Z/z.c",
                             "order/y/y.c", "order/\xC3\xA9.c", "order/C.c"}) {
        dir_.write(name, "x;\n");
    }
    CCustomCommandLineInfo info;
    info.extensions = {u".c"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_ + "order"), true, warnings_));
    // Upper-cased, '_' sorts after the letters; a subfolder is walked where its name falls.
    EXPECT_EQ(found(info, root_ + "order/"),
              (std::vector<std::string>{"a.c", "B.c", "b.c", "C.c", "y/y.c", "Z/z.c", "_x.c",
                                        "\xC3\xA9.c"}));
}

TEST_F(DirectoryScanTest, DirectoriesThatCannotBeReadAreNamedInAWarning) {
    CCustomCommandLineInfo info;
    info.extensions = {u".c"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_ + "nowhere"), true, warnings_));
    EXPECT_TRUE(info.files.empty());
    EXPECT_EQ(warnings_.str(), "tallyweaver: warning: cannot read directory '" + root_ +
                                   "nowhere': No such file or directory; passed over\n");
}

TEST_F(DirectoryScanTest, WithoutSubfoldersStaysInTheDirectory) {
    CCustomCommandLineInfo info;
    info.extensions = {u".cpp"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_), false, warnings_));
    EXPECT_EQ(found(info, root_), (std::vector<std::string>{"a.cpp", "b.CPP"}));
}

TEST_F(DirectoryScanTest, NoExtensionsScansNothing) {
    CCustomCommandLineInfo info;
    EXPECT_FALSE(info.AddFilesFromDirectory(argumentText(root_), true, warnings_));
    EXPECT_TRUE(info.files.empty());
}

TEST_F(DirectoryScanTest, EachDirectoryIsScannedOnceHoweverManyLinksLeadToIt) {
    fs::create_directory_symlink(dir_.path(), dir_.path() / "sub" / "loop");
    fs::create_directory_symlink(dir_.path() / "sub" / "deeper", dir_.path() / "alias");
    CCustomCommandLineInfo info;
    info.extensions = {u".h"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_), true, warnings_));
    // The link back to the root is not entered; sub/deeper, met first as alias, is not
    // scanned again under its own name.
    EXPECT_EQ(found(info, root_), (std::vector<std::string>{"alias/f.h", "c.h"}));
    EXPECT_EQ(warnings_.str(),
              "tallyweaver: warning: directory '" + root_ +
                  "sub/deeper' was scanned already through another path; passed over\n"
                  "tallyweaver: warning: directory '" +
                  root_ + "sub/loop' was scanned already through another path; passed over\n");
}

TEST_F(DirectoryScanTest, AGraphOfLinksIsScannedOnceAFolder) {
    // Each level links twice to the next: followed blindly, 2^24 folders.
    test::linkGraph(root_ + "graph", 24);
    CCustomCommandLineInfo info;
    info.extensions = {u".c"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_ + "graph"), true, warnings_));
    EXPECT_EQ(info.files.size(), 24u);
}

TEST_F(DirectoryScanTest, NamesThatAreNotUtf8KeepTheirBytes) {
    const std::string name = "caf\xE9.c";
    dir_.write(name, "x;\n");
    CCustomCommandLineInfo info;
    info.extensions = {u".c"};
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root_), false, warnings_));
    ASSERT_EQ(info.files.size(), 1u);
    EXPECT_EQ(diskBytes(info.files[0]), root_ + name);
    EXPECT_EQ(displayText(info.files[0]).substr(info.files[0].size() - 6), u"caf\uFFFD.c");
}

}  // namespace
}  // namespace tw
