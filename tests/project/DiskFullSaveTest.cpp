// Saving onto a disk that fills up half-way, on a real (tiny) file system where the machine lets
// the tests mount one: the old project must survive whole.
#include <sys/mount.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "project/ProjectFile.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

/// A tmpfs of `kilobytes` mounted on a fresh directory for the test's lifetime; `mounted()` is
/// false where mounting is not allowed.
class TinyFileSystem {
public:
    explicit TinyFileSystem(int kilobytes) {
        const std::string options = "size=" + std::to_string(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~TinyFileSystem() {
        if (mounted_) {
            ::umount(dir_.path().c_str());
        }
    }
    bool mounted() const { return mounted_; }
    std::string pathOf(const std::string& name) const { return dir_.pathOf(name); }

private:
    test::TempDir dir_;
    bool mounted_ = false;
};

/// A project whose file takes about `records` × 100 bytes.
void fillProject(ProjectFolder& root, int records) {
    for (int i = 0; i < records; ++i) {
        root.AddFilePath(u"src/module/a_rather_long_file_name_" + std::u16string(1, u'a' + i % 26) +
                             u"_" + std::u16string(i / 26 + 1, u'x') + u".cpp",
                         "/nonexistent");
    }
}

TEST(DiskFullSaveTest, AProjectTooLargeForTheDiskLeavesTheOldFileWhole) {
    TinyFileSystem disk(64);
    if (!disk.mounted()) {
        GTEST_SKIP() << "this machine does not let the tests mount a file system";
    }
    const std::string file = disk.pathOf("project.tyx");
    ProjectFolder small;
    fillProject(small, 20);
    const CountSettings settings;
    ASSERT_EQ(ProjectFile::save(file, small, settings).status, ProjectSaveStatus::Saved);
    const std::string before = test::readBytes(file);

    ProjectFolder large;
    fillProject(large, 2000);
    const ProjectSaveResult result = ProjectFile::save(file, large, settings);
    EXPECT_EQ(result.status, ProjectSaveStatus::Failed);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(test::readBytes(file), before);
    // Nothing but the old file is left on the disk.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(fs::path(file).parent_path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace tw
