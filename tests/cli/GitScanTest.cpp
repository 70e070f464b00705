// -git and -exclude: directory scans that leave out what git ignores and what the user names.
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(GitScanTest, FilesThatAreNoRegularFilesAreNeverOpened) {
    fs::create_directory(dir_.pathOf("out"));
    const std::string canonicalWork = fs::canonical(dir_.pathOf("work")).string();
    const std::string notRead = "' is not a regular file, so the git repository is not read";
    const std::string rulesUnused = "': not a regular file; its ignore rules are not used";
    const struct {
        std::string file;     // below the temporary directory; a pipe takes its place
        std::string warning;  // after "tallyweaver: warning: -git: "
        Lines nowCounted;     // files that rule left out
        Lines stillLeftOut;   // files other rules leave out
    } cases[] = {
        {"work/.gitignore",
         "'" + canonicalWork + "/.gitignore" + rulesUnused,
         {"gen/g.c"},
         {"src/drop.c", "local_only.c"}},
        {"work/src/.gitignore", "'work/src/.gitignore" + rulesUnused, {"src/drop.c"}, {"gen/g.c"}},
        {"work/.git/info/exclude",
         "'" + canonicalWork + "/.git/info/exclude" + rulesUnused,
         {"local_only.c"},
         {"scratch1.c"}},
        {"home/global-ignore",
         "'" + dir_.pathOf("home/global-ignore") + rulesUnused,
         {"scratch1.c"},
         {"local_only.c"}},
        // What libgit2 reads: that repository is not read at all.
        {"work/.git/config",
         "directory 'work': '" + canonicalWork + "/.git/config" + notRead +
             "; every file in it is scanned",
         {"gen/g.c", "src/drop.c"},
         {}},
        {"work/.git/index",
         "directory 'work': '" + canonicalWork + "/.git/index" + notRead +
             "; every file in it is scanned",
         {"gen/g.c", "src/drop.c"},
         {}},
        {"home/.gitconfig",
         "directory 'work': '" + dir_.pathOf("home/.gitconfig") + notRead +
             "; every file in it is scanned",
         {"gen/g.c"},
         {}},
        {"work/.git/modules/sub/lib/config",
         "'work/sub/lib': '" + canonicalWork + "/.git/modules/sub/lib/config" + notRead +
             "; every file in it is taken",
         {"sub/lib/x.tmp.c"},
         {"gen/g.c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir_.pathOf(c.file);
        fs::rename(path, path + ".saved");
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        // A pipe nobody writes to would block whatever opens it: the bound says it was not.
        const test::ProcessResult result = test::runProgram(
            "/usr/bin/timeout",
            {"60", TW_EXECUTABLE, "-dir", "work", "-ext", ".c", "-git", "-out", "out"},
            dir_.path().string(), git_.environment());
        fs::remove(path);
        fs::rename(path + ".saved", path);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "tallyweaver: warning: -git: " + c.warning + "\n");
        for (const std::string& file : c.nowCounted) {
            EXPECT_NE(result.out.find("Parsing:\twork/" + file + "\n"), std::string::npos) << file;
        }
        for (const std::string& file : c.stillLeftOut) {
            EXPECT_EQ(result.out.find("Parsing:\twork/" + file + "\n"), std::string::npos) << file;
        }
    }
}

TEST_F(GitScanTest, PatternsOfEveryFormLeaveOutWhatGitLeavesOut) {
    dir_.write("forms/.gitignore",
               "# a comment, and a blank line\n"
               "\n"
               "/anchored.c\n"
               "inside/**\n"
               "!inside/back.c\n"
               "**/deep/*.h\n"
               "a/**/z.c\n"
               "[bc]?.c\n"
               "\\#hash.c\n"
               "trailing.c   \n"
               "space\\ .c\n"
               "only-dir.c/\n"
               "nested/*/x.c\n"
               "*.gen.c\n"
               "!keep.gen.c\r\n"
               "lower/\n");
    for (const char* name : {"anchored.c",
                             "sub/anchored.c",
                             "inside/a.c",
                             "inside/back.c",
                             "inside/more/b.c",
                             "x/deep/d.h",
                             "deep/e.h",
                             "deep/e.c",
                             "a/z.c",
                             "a/b/c/z.c",
                             "b1.c",
                             "c22.c",
                             "#hash.c",
                             "trailing.c",
                             "space .c",
                             "only-dir.c/in.c",
                             "plain/only-dir.c",
                             "nested/q/x.c",
                             "nested/q/r/x.c",
                             "one.gen.c",
                             "keep.gen.c",
                             "lower/l.c",
                             "up/lower/l.c",
                             "Lower/l.c",
                             "kept.c"}) {
        dir_.write("forms/" + std::string(name), "int x;\n");
    }
    git("forms", {"init", "-q"});
    git("forms", {"add", "kept.c"});
    fs::create_directory(dir_.pathOf("out"));
    const Lines files =
        counted({"-dir", "forms", "-ext", ".c", ".h", "-git", "-out", "out"}, "forms", nullptr);
    const Lines listed = git_.lines(dir_.pathOf("forms"),
                                    {"ls-files", "--cached", "--others", "--exclude-standard"});
    Lines expected;
    for (const std::string& path : listed) {
        if (hasExtension(path, {".c", ".h"})) {
            expected.push_back(path);
        }
    }
    EXPECT_EQ(files, sorted(expected));
    // The list itself, so that a git that lists differently shows here first.
    EXPECT_EQ(sorted(expected),
              sorted({"Lower/l.c", "c22.c", "deep/e.c", "inside/back.c", "keep.gen.c", "kept.c",
                      "nested/q/r/x.c", "plain/only-dir.c", "sub/anchored.c"}));
}

TEST(GitScanOwnerTest, ARepositoryOfAnotherUserIsRefusedWithLibgit2sReason) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a repository to another user";
    }
    test::TempDir dir;
    test::GitCommands git(dir.pathOf("home"));
    dir.write("repo/a.c", "x;\n");
    ASSERT_EQ(git.run(dir.pathOf("repo"), {"init", "-q"}).exitCode, 0);
    for (const auto& entry : fs::recursive_directory_iterator(dir.pathOf("repo"))) {
        ASSERT_EQ(::lchown(entry.path().c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(::lchown(dir.pathOf("repo").c_str(), 65534, 65534), 0);
    CCustomCommandLineInfo info;
    info.extensions = {u".c"};
    info.git = true;
    std::ostringstream errors;
    ASSERT_TRUE(info.AddFilesFromDirectory(argumentText(dir.pathOf("repo")), true, errors));
    EXPECT_EQ(info.files.size(), 1u);
    const std::string repository = fs::canonical(dir.pathOf("repo")).string();
    EXPECT_EQ(errors.str().rfind("tallyweaver: warning: -git: directory '" + dir.pathOf("repo") +
                                     "': libgit2 refuses the git repository '" + repository +
                                     "': it is owned by another user",
                                 0),
              0u)
        << errors.str();
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
