// -git and -exclude: directory scans that leave out what git ignores and what the user names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ArgumentText.h"
#include "cli/CustomCommandLineInfo.h"
#include "support/GitRepository.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool hasExtension(const std::string& path, const Lines& extensions) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return false;
    }
    return std::find(extensions.begin(), extensions.end(), path.substr(dot)) != extensions.end();
}

/// A work tree with every kind of file git distinguishes, and a submodule:
///   tracked, untracked and ignored files; `.gitignore` files at three levels, re-including
///   names with '!'; `.git/info/exclude`; a global excludes file; an ignored folder with a
///   tracked file in it, and one with none; a submodule with tracked, untracked and ignored
///   files of its own, and a file the outer rules would ignore.
class GitScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(git_.available()) << "git is needed (scripts/bootstrap.sh installs it)";
        dir_.write("home/.gitconfig",
                   "[core]\n\texcludesFile = " + dir_.pathOf("home/global-ignore") + "\n");
        dir_.write("home/global-ignore", "scratch*.c\n");

        // The submodule's own repository, then its clone inside the work tree.
        dir_.write("lib-origin/lib.c", "int lib;\n");
        dir_.write("lib-origin/lib.h", "int lib;\n");
        dir_.write("lib-origin/.gitignore", "*.tmp.c\nobj/\n");
        git("lib-origin", {"init", "-q"});
        git("lib-origin", {"add", "."});
        git("lib-origin", {"commit", "-q", "-m", "lib"});

        for (const char* name : {"main.c", "util.h", "notes.txt", "src/a.c", "src/b.h",
                                 "build/tracked.c", "src/nested/n.c", "src/nested/vendored_n.c"}) {
            work(name);
        }
        // "!rescued.c" cannot bring back build/rescued.c: git does not look into an ignored
        // folder, even one it tracks a file in.
        dir_.write("work/.gitignore", "build/\ngen/\nvendored_*.c\n!rescued.c\n");
        dir_.write("work/src/.gitignore", "*.c\n!keep.c\n");
        dir_.write("work/src/nested/.gitignore", "!n.c\n");
        git("work", {"init", "-q"});
        git("work", {"add", "."});
        git("work", {"add", "-f", "build/tracked.c", "src/a.c", "src/nested/vendored_n.c"});
        git("work", {"submodule", "add", "-q", dir_.pathOf("lib-origin"), "sub/lib"});
        git("work", {"commit", "-q", "-m", "work"});
        dir_.write("work/.git/info/exclude", "local_only.c\n");

        for (const char* name :
             {"untracked.c",    "local_only.c",    "scratch1.c",      "build/out.c",
              "build/deep/x.c", "build/rescued.c", "gen/g.c",         "src/keep.c",
              "src/drop.c",     "src/c.h",         "src/nested/m.c",  "src/nested/vendored_m.c",
              "sub/lib/new.c",  "sub/lib/x.tmp.c", "sub/lib/obj/o.c", "sub/lib/vendored_s.c",
              "empty/none.c",   "src/later/l.h",   "src/skipped/s.c", "tail/deep/t.c"}) {
            work(name);
        }
        for (const std::string& name : bulk()) {
            work(name);
        }
        dir_.write("work/src/bulk/.gitignore", "f17?.h\n");

        // Another repository inside the work tree, not a submodule: git lists it as one
        // untracked folder; a scan enters it with its own rules, as a submodule.
        dir_.write("work/vendor/v.c", "int v;\n");
        dir_.write("work/vendor/v.h", "int v;\n");
        dir_.write("work/vendor/.gitignore", "*.h\n");
        git("work/vendor", {"init", "-q"});
    }

    void work(const std::string& name) { dir_.write("work/" + name, "int x;\n"); }

    /// Enough untracked files, in src/bulk, that the rules are not put to one by one any more
    /// from there on; its own rules ignore the last ten.
    static Lines bulk() {
        Lines names;
        for (int i = 0; i < 80; ++i) {
            names.push_back("src/bulk/f" + std::to_string(100 + i) + ".h");
        }
        return names;
    }

    void git(const std::string& directory, const Lines& arguments) {
        const test::ProcessResult result = git_.run(dir_.pathOf(directory), arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }

    /// What git lists in `directory` below the work tree, with the own lists of the submodule
    /// and of the other repository in place of their entries, relative to `directory`.
    Lines gitLists(const std::string& directory, const Lines& extensions, bool withSubfolders) {
        const Lines options{"ls-files", "--cached", "--others", "--exclude-standard"};
        Lines listed = git_.lines(dir_.pathOf(directory), options);
        for (const char* nested : {"work/sub/lib", "work/vendor"}) {
            const std::string top = dir_.pathOf(nested);
            const std::string fromHere = fs::relative(top, dir_.pathOf(directory)).string();
            // Inside the nested repository, git lists its files itself.
            if (fromHere != "." && fromHere.rfind("..", 0) != 0) {
                for (const std::string& path : git_.lines(top, options)) {
                    listed.push_back(fromHere + "/" + path);
                }
            }
        }
        Lines wanted;
        for (const std::string& path : listed) {
            if (hasExtension(path, extensions) &&
                (withSubfolders || path.find('/') == std::string::npos)) {
                wanted.push_back(path);
            }
        }
        return sorted(wanted);
    }

    /// The files a console run counts, from its progress lines, relative to `directory`.
    Lines counted(const Lines& arguments, const std::string& directory, std::string* errors,
                  const std::string& from = "") {
        const test::ProcessResult result =
            test::runProgram(TW_EXECUTABLE, arguments, dir_.pathOf(from), git_.environment());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        if (errors != nullptr) {
            *errors = result.err;
        }
        Lines files;
        std::istringstream lines(result.out);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("Parsing:\t", 0) == 0) {
                const std::string path = line.substr(9);
                EXPECT_EQ(path.rfind(directory + "/", 0), 0u) << path;
                files.push_back(path.substr(directory.size() + 1));
            }
        }
        return sorted(files);
    }

    test::TempDir dir_;
    test::GitCommands git_{dir_.pathOf("home")};
};

TEST_F(GitScanTest, CountsExactlyWhatGitListsInEveryKindOfDirectory) {
    fs::create_directory(dir_.pathOf("out"));
    // .sample: git's own hook samples, inside .git, which no scan with -git takes.
    const Lines extensions{".c", ".h", ".sample"};
    const struct {
        std::string directory;
        bool withSubfolders;
        std::string from = "";  // where the program runs, below the temporary directory
    } cases[] = {
        {"work", true},
        {"work", false},
        {".", true, "work"},
        {"work/src", true},
        {"work/build", true},    // an ignored folder: only what git tracks in
                                 // it
        {"work/sub/lib", true},  // inside the submodule: its rules alone
        {"work/sub", true},      // above the submodule, below the top
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directory + (c.withSubfolders ? "" : " without subfolders"));
        Lines arguments{"-dir"};
        if (!c.withSubfolders) {
            arguments.push_back("nosub");
        }
        arguments.insert(arguments.end(), {c.directory, "-ext", ".c", ".h", ".sample", "-git",
                                           "-out", dir_.pathOf("out")});
        std::string errors;
        const Lines files = counted(arguments, c.directory, &errors, c.from);
        const std::string listed = c.from.empty() ? c.directory : c.from + "/" + c.directory;
        EXPECT_EQ(files, gitLists(listed, extensions, c.withSubfolders));
        // Nothing about git: only that .sample is none of the program's languages.
        EXPECT_EQ(errors,
                  "tallyweaver: warning: -ext: '.sample' is not an extension of a language the "
                  "program knows; its files are counted with the rules of C\n");
    }
    // The expected list itself, so that a git that lists differently shows here first.
    Lines expected{"build/tracked.c",
                   "empty/none.c",
                   "main.c",
                   "src/a.c",
                   "src/b.h",
                   "src/c.h",
                   "src/keep.c",
                   "src/nested/n.c",
                   "src/nested/vendored_n.c",
                   "sub/lib/lib.c",
                   "sub/lib/lib.h",
                   "sub/lib/new.c",
                   "sub/lib/vendored_s.c",
                   "src/later/l.h",
                   "tail/deep/t.c",
                   "untracked.c",
                   "util.h",
                   "vendor/v.c"};
    const Lines many = bulk();
    expected.insert(expected.end(), many.begin(), many.end() - 10);
    EXPECT_EQ(gitLists("work", extensions, true), sorted(expected));
}

TEST_F(GitScanTest, ExcludePatternsApplyOnTopOfGit) {
    fs::create_directory(dir_.pathOf("out"));
    const Lines files = counted({"-dir", "work", "-ext", ".c", ".h", "-git", "-exclude", "sub/",
                                 "src/nested/**", "-exclude", "/main.c", "b.h", "bulk/"},
                                "work", nullptr);
    EXPECT_EQ(files,
              (Lines{"build/tracked.c", "empty/none.c", "src/a.c", "src/c.h", "src/keep.c",
                     "src/later/l.h", "tail/deep/t.c", "untracked.c", "util.h", "vendor/v.c"}));
}

TEST_F(GitScanTest, WithoutGitIgnoredFilesAreCounted) {
    fs::create_directory(dir_.pathOf("out"));
    const Lines files =
        counted({"-dir", "work/src", "-ext", ".c", "-out", "out"}, "work/src", nullptr);
    EXPECT_EQ(files, (Lines{"a.c", "drop.c", "keep.c", "nested/m.c", "nested/n.c",
                            "nested/vendored_m.c", "nested/vendored_n.c", "skipped/s.c"}));
}

TEST_F(GitScanTest, LinksToFoldersAreNotFollowedWithGit) {
    // git keeps a link as a link; what lies behind it is not in the work tree.
    fs::create_directory_symlink(dir_.pathOf("work/src"), dir_.pathOf("work/linked"));
    fs::create_directory_symlink(dir_.pathOf("elsewhere"), dir_.pathOf("work/outside"));
    dir_.write("elsewhere/far.c", "int x;\n");
    CCustomCommandLineInfo info;
    info.extensions = {u".c"};
    info.git = true;
    std::ostringstream errors;
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(dir_.pathOf("work")), true, errors));
    for (const std::u16string& file : info.files) {
        const std::string path = diskBytes(file);
        EXPECT_EQ(path.find("/linked/"), std::string::npos) << path;
        EXPECT_EQ(path.find("/outside/"), std::string::npos) << path;
    }
    EXPECT_EQ(errors.str(), "");
}

TEST(GitScanOutsideTest, DirectoryOutsideAnyWorkTreeIsScannedWholeWithAWarning) {
    test::TempDir dir;
    dir.write("a.c", "x;\n");
    dir.write("sub/b.c", "x;\n");
    const std::string root = dir.path().string();
    CCustomCommandLineInfo info;
    info.extensions = {u".c"};
    info.git = true;
    std::ostringstream errors;
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(root), true, errors));
    EXPECT_EQ(info.files.size(), 2u);
    EXPECT_EQ(errors.str(), "tallyweaver: warning: -git: directory '" + root +
                                "': not inside a git work tree; every file in it is scanned\n");

    // A directory that cannot be read gets the walk's warning alone.
    CCustomCommandLineInfo missing;
    missing.extensions = {u".c"};
    missing.git = true;
    std::ostringstream missingErrors;
    ASSERT_TRUE(
        missing.AddFilesFromDirectory(argumentText(root + "/nowhere"), true, missingErrors));
    EXPECT_EQ(missingErrors.str(), "tallyweaver: warning: cannot read directory '" + root +
                                       "/nowhere': No such file or directory; passed over\n");
}

TEST(GitScanOutsideTest, ExcludePatternsAreRelativeToTheScannedDirectory) {
    test::TempDir dir;
    for (const char* name : {"top/a.c", "top/gen/b.c", "top/src/gen/c.c", "top/src/d.c",
                             "top/src/e.pb.c", "top/gen.c"}) {
        dir.write(name, "x;\n");
    }
    const std::string root = dir.path().string() + "/top/";
    CCustomCommandLineInfo info;
    info.extensions = {u".c"};
    info.excludePatterns = {u"/gen/", u"*.pb.c", u"src/gen"};
    std::ostringstream errors;
    ASSERT_TRUE(
        info.AddFilesFromDirectory(argumentText(dir.path().string() + "/top"), true, errors));
    Lines files;
    for (const std::u16string& file : info.files) {
        files.push_back(diskBytes(file).substr(root.size()));
    }
    // Name order as without patterns; "/gen/" is the top folder alone and no file.
    EXPECT_EQ(files, (Lines{"a.c", "gen.c", "src/d.c"}));
    EXPECT_EQ(errors.str(), "");
}

}  // namespace
}  // namespace tw
