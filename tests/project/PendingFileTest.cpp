// Files that get their name only when complete: nothing of an unfinished one is ever left.
#include "project/PendingFile.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

/// The system's calls, except that no unnamed file can be made: the named fallback is used.
class NoUnnamedFiles : public FileSystemCalls {
  public:
    int open(const char* path, int flags, mode_t mode) override {
        if ((flags & O_TMPFILE) == O_TMPFILE) {
            errno = EOPNOTSUPP;
            return -1;
        }
        return FileSystemCalls::open(path, flags, mode);
    }
};

TEST(PendingFileTest, OnlyAPublishedFileHasAName) {
    NoUnnamedFiles named;
    for (FileSystemCalls* calls : {&systemFileCalls(), static_cast<FileSystemCalls*>(&named)}) {
        test::TempDir dir;
        {
            PendingFile dropped(*calls);
            ASSERT_EQ(dropped.create(dir.path().string()), 0);
            ASSERT_EQ(dropped.write("never named"), 0);
        }
        EXPECT_TRUE(namesIn(dir.path()).empty());

        dir.write("taken.txt", "someone else's");
        PendingFile file(*calls);
        ASSERT_EQ(file.create(dir.path().string()), 0);
        ASSERT_EQ(file.write("mine"), 0);
        // A name that is taken is refused, and the file waits for another.
        EXPECT_EQ(file.publishAs("taken.txt"), EEXIST);
        EXPECT_EQ(test::readBytes(dir.pathOf("taken.txt")), "someone else's");
        ASSERT_EQ(file.publishAs("free.txt"), 0);
        EXPECT_EQ(test::readBytes(dir.pathOf("free.txt")), "mine");
        EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"free.txt", "taken.txt"}));

        PendingFile replacement(*calls);
        ASSERT_EQ(replacement.create(dir.path().string()), 0);
        ASSERT_EQ(replacement.write("new"), 0);
        ASSERT_EQ(replacement.replace(dir.pathOf("taken.txt")), 0);
        EXPECT_EQ(test::readBytes(dir.pathOf("taken.txt")), "new");
        EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"free.txt", "taken.txt"}));
    }
}

TEST(PendingFileTest, AMissingDirectoryIsKnownAtOnce) {
    test::TempDir dir;
    PendingFile file;
    EXPECT_EQ(file.create(dir.pathOf("missing")), ENOENT);
}

TEST(PendingFileTest, FilesItDidNotMakeAreNeverRemoved) {
    test::TempDir dir;
    // A process that has surely ended: a child that was reaped. Files named as this program
    // names its temporaries, for that process and others, may still be anyone's.
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = std::to_string(child);
    std::set<std::string> decoys;
    for (const std::string& name : std::vector<std::string>{
             ".tw-" + dead + "-12.tmp", ".tw-save-" + dead + "-7.tmp", ".tw-99999999-1.tmp",
             ".tw-" + std::to_string(::getpid()) + "-3.tmp", "report.tmp"}) {
        dir.write(name, "the user's own");
        decoys.insert(name);
    }
    const std::string target = dir.pathOf("kept.tyx");
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        NoUnnamedFiles named;
        FileSystemCalls& calls = unnamed ? systemFileCalls() : named;
        {
            PendingFile published(calls);
            ASSERT_EQ(published.create(dir.path().string()), 0);
            ASSERT_EQ(published.write("x"), 0);
            ASSERT_EQ(published.replace(target), 0);
            PendingFile dropped(calls);
            ASSERT_EQ(dropped.create(dir.path().string()), 0);
        }
        std::set<std::string> expected = decoys;
        expected.insert("kept.tyx");
        EXPECT_EQ(namesIn(dir.path()), expected);
    }
}

}  // namespace
}  // namespace tw
