// Saving onto a disk that fills up half-way, on a real (tiny) file system where the machine lets
// the tests mount one: the old project must survive whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "project/ProjectFile.h"
#include "support/TempDir.h"
#include "support/TinyFileSystem.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

/// A project whose file takes about `records` × 100 bytes.
void fillProject(ProjectFolder& root, int records) {
    for (int i = 0; i < records; ++i) {
        root.AddFilePath(u"src/module/a_rather_long_file_name_" + std::u16string(1, u'a' + i % 26) +
                             u"_" + std::u16string(i / 26 + 1, u'x') + u".cpp",
                         "/nonexistent");
    }
}

TEST(DiskFullSaveTest, AProjectTooLargeForTheDiskLeavesTheOldFileWhole) {
    test::TinyFileSystem disk(64);
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
    for ([[maybe_unused]] const auto& entry :
         fs::directory_iterator(fs::path(file).parent_path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace tw
