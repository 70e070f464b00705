#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "project/FileIo.h"
#include "project/ProjectFile.h"
#include "support/TempDir.h"
#include "support/TreeText.h"
#include "support/U16.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::treeText;
using test::u16;

const CountSettings kSettings{CountMode::TerminatingCharacters, false, true, false};
const CountSettings kUntouched{CountMode::CyclomaticComplexity, true, true, true};

/// The names in a directory, to see that no temporary file was left behind.
std::vector<std::string> namesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

/// System calls of which one step fails with a chosen error.
class FailingCalls : public FileSystemCalls {
  public:
    enum class Step { None, Write, Fsync, Close, Rename, Read };

    FailingCalls(Step step, int error) : step_(step), error_(error) {}

    ssize_t write(int fd, const void* data, std::size_t size) override {
        if (step_ == Step::Write) {
            // Part of the bytes go through before the disk is full.
            FileSystemCalls::write(fd, data, size / 2);
            return fail();
        }
        // Short writes: the caller has to go on until everything is written.
        return FileSystemCalls::write(fd, data, size > 0 ? 1 : 0);
    }
    int fsync(int fd) override {
        return step_ == Step::Fsync ? fail() : FileSystemCalls::fsync(fd);
    }
    int close(int fd) override {
        const int result = FileSystemCalls::close(fd);
        return step_ == Step::Close ? fail() : result;
    }
    int rename(const char* from, const char* to) override {
        return step_ == Step::Rename ? fail() : FileSystemCalls::rename(from, to);
    }
    ssize_t read(int fd, void* buffer, std::size_t size) override {
        return step_ == Step::Read ? fail() : FileSystemCalls::read(fd, buffer, size);
    }

  private:
    int fail() const {
        errno = error_;
        return -1;
    }

    Step step_;
    int error_;
};

ProjectFolder& sampleProject() {
    static ProjectFolder root;
    if (root.TotalRecords() == 0) {
        root.AddFilePath(u"/home/u/Src/A.cpp", "/home/u/Src/A.cpp")->counted = true;
        root.AddFilePath(u"/home/u/b.h", "/home/u/b.h");
    }
    return root;
}

TEST(ProjectFileIoTest, SavedProjectOpensAgain) {
    test::TempDir dir;
    const std::string file = dir.pathOf("p.tyx");
    const ProjectSaveResult saved = ProjectFile::save(file, sampleProject(), kSettings);
    ASSERT_EQ(saved.status, ProjectSaveStatus::Saved) << saved.systemReason;
    EXPECT_EQ(test::readBytes(file), ProjectFile::store(sampleProject(), kSettings));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"p.tyx"});

    ProjectFolder loaded;
    CountSettings settings;
    const ProjectLoadResult opened = ProjectFile::open(file, loaded, settings);
    EXPECT_EQ(opened.status, ProjectLoadStatus::Loaded);
    EXPECT_EQ(treeText(loaded), treeText(sampleProject()));
    EXPECT_EQ(settings, kSettings);
}

TEST(ProjectFileIoTest, SavingReplacesTheOldFileAndKeepsItsPermissions) {
    test::TempDir dir;
    const std::string file = dir.write("p.tyx", "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = dir.pathOf("link.tyx");
    fs::create_symlink(file, link);

    ASSERT_EQ(ProjectFile::save(link, sampleProject(), kSettings).status, ProjectSaveStatus::Saved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readBytes(file), ProjectFile::store(sampleProject(), kSettings));
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ProjectFileIoTest, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    const struct {
        FailingCalls::Step step;
        int error;
        std::u16string message;
    } cases[] = {
        {FailingCalls::Step::Write, ENOSPC, u"Failed to save document."},
        {FailingCalls::Step::Fsync, EIO, u"Failed to save document."},
        {FailingCalls::Step::Close, EIO, u"Failed to save document."},
        {FailingCalls::Step::Rename, EROFS,
         u"Unable to write to %1, it is read-only or opened by someone else."},
        {FailingCalls::Step::Rename, EACCES, u"Access to %1 was denied."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::strerror(c.error));
        test::TempDir dir;
        const std::string file = dir.write("p.tyx", "old bytes");
        FailingCalls calls(c.step, c.error);
        const ProjectSaveResult result = ProjectFile::save(file, sampleProject(), kSettings, calls);
        EXPECT_EQ(result.status, ProjectSaveStatus::Failed);
        std::u16string expected = c.message;
        if (const std::size_t marker = expected.find(u"%1"); marker != std::u16string::npos) {
            expected.replace(marker, 2, u16(file));
        }
        EXPECT_EQ(result.message, expected);
        EXPECT_EQ(result.systemReason, std::strerror(c.error));
        EXPECT_EQ(test::readBytes(file), "old bytes");
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"p.tyx"});
    }
}

TEST(ProjectFileIoTest, SavingReplacesOnlyARegularFileThatMayBeWritten) {
    test::TempDir dir;
    const std::string pipe = dir.pathOf("pipe.tyx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A device node of its own, as the null device (needs root; passed over without).
    const std::string device = dir.pathOf("null.tyx");
    const bool haveDevice = ::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    const std::string socketPath = dir.pathOf("socket.tyx");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string readOnly = dir.write("read-only.tyx", "old bytes");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    const std::string folder = dir.pathOf("folder.tyx");
    fs::create_directory(folder);
    const std::string linkToPipe = dir.pathOf("link.tyx");
    fs::create_symlink(pipe, linkToPipe);

    const std::u16string notRegular = u"Unable to write to %1, it is not a regular file.";
    const struct {
        std::string path;
        std::u16string message;
        fs::file_type type;
    } cases[] = {
        {pipe, notRegular, fs::file_type::fifo},
        {device, notRegular, fs::file_type::character},
        {socketPath, notRegular, fs::file_type::socket},
        {linkToPipe, notRegular, fs::file_type::fifo},
        {readOnly, u"Unable to write to %1, it is read-only or opened by someone else.",
         fs::file_type::regular},
        {folder, u"Access to %1 was denied.", fs::file_type::directory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.path == device && !haveDevice) {
            continue;
        }
        const ProjectSaveResult result = ProjectFile::save(c.path, sampleProject(), kSettings);
        EXPECT_EQ(result.status, ProjectSaveStatus::Failed);
        std::u16string expected = c.message;
        expected.replace(expected.find(u"%1"), 2, u16(c.path));
        EXPECT_EQ(result.message, expected);
        EXPECT_EQ(fs::status(c.path).type(), c.type);
    }
    EXPECT_EQ(test::readBytes(readOnly), "old bytes");
    ::close(listener);
}

TEST(ProjectFileIoTest, ShortWritesStillWriteEverything) {
    test::TempDir dir;
    const std::string file = dir.pathOf("p.tyx");
    FailingCalls oneByteAtATime(FailingCalls::Step::None, 0);
    ASSERT_EQ(ProjectFile::save(file, sampleProject(), kSettings, oneByteAtATime).status,
              ProjectSaveStatus::Saved);
    EXPECT_EQ(test::readBytes(file), ProjectFile::store(sampleProject(), kSettings));
}

TEST(ProjectFileIoTest, SavingWhereNoFileCanBeMadeNamesThePath) {
    test::TempDir dir;
    const std::string file = dir.pathOf("missing/p.tyx");
    const ProjectSaveResult result = ProjectFile::save(file, sampleProject(), kSettings);
    EXPECT_EQ(result.status, ProjectSaveStatus::Failed);
    EXPECT_EQ(result.message, u16(file + " contains an incorrect path."));

    if (::geteuid() != 0) {  // permissions do not stop root
        fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        const std::string denied = dir.pathOf("p.tyx");
        EXPECT_EQ(ProjectFile::save(denied, sampleProject(), kSettings).message,
                  u16("Access to " + denied + " was denied."));
    }
}

TEST(ProjectFileIoTest, AFileThatCannotBeReadLeavesTheProjectAlone) {
    test::TempDir dir;
    const std::string pipe = dir.pathOf("pipe.tyx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string valid = dir.write("valid.tyx", ProjectFile::store(sampleProject(), {}));
    FailingCalls readFails(FailingCalls::Step::Read, EIO);
    FileSystemCalls& system = systemFileCalls();

    const struct {
        const char* name;
        std::string file;
        FileSystemCalls& calls;
        std::u16string message;
    } cases[] = {
        {"missing", dir.pathOf("none.tyx"), system,
         u16(dir.pathOf("none.tyx") + " was not found.")},
        {"directory", dir.path().string(), system,
         u16("Access to " + dir.path().string() + " was denied.")},
        {"named pipe", pipe, system, u"Failed to open document."},
        // The message shows the control character as '?'.
        {"name with NUL", dir.pathOf("valid.tyx") + std::string(1, '\0') + "x", system,
         u16(dir.pathOf("valid.tyx") + "?x contains an incorrect path.")},
        {"read error", valid, readFails, u"Failed to open document."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectFolder root;
        root.AddFilePath(u"c/kept.cpp");
        CountSettings settings = kUntouched;
        const ProjectLoadResult result = ProjectFile::open(c.file, root, settings, c.calls);
        EXPECT_EQ(result.status, ProjectLoadStatus::Unreadable);
        EXPECT_FALSE(result.succeeded());
        EXPECT_EQ(result.message, c.message);
        EXPECT_FALSE(result.systemReason.empty());
        EXPECT_EQ(treeText(root), "[c]\n  c/kept.cpp\n");
        EXPECT_EQ(settings, kUntouched);
    }
}

TEST(ProjectFileIoTest, OpeningAnEmptyFileGivesAnEmptyProject) {
    test::TempDir dir;
    ProjectFolder root;
    root.AddFilePath(u"c/old.cpp");
    CountSettings settings = kUntouched;
    const ProjectLoadResult result = ProjectFile::open(dir.write("e.tyx", ""), root, settings);
    EXPECT_EQ(result.status, ProjectLoadStatus::EmptyFile);
    EXPECT_EQ(treeText(root), "");
    EXPECT_EQ(settings, kUntouched);
}

}  // namespace
}  // namespace tw
