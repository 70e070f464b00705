#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/CountColumns.h"
#include "project/GitRevisions.h"
#include "project/VersionDiff.h"
#include "project/VersionFiles.h"
#include "project/VersionHistory.h"
#include "project/VersionRuns.h"
#include "support/GitRepository.h"
#include "support/SettingsWith.h"
#include "support/TempDir.h"

namespace tw {
namespace {

/// A repository with a history: three commits on main, tags v1 (light) and v2 (annotated), a
/// rename, a binary file, a file with CR LF, a link to a file, a submodule, a file whose text
/// is UTF-16 and one without a line feed at its end. Each tag also has a checkout of its own
/// (`checkout-v1`, `checkout-v2`).
class VersionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!git_.available()) {
            GTEST_SKIP() << "no git program";
        }
        git("", {"init", "-q", "lib-origin"});
        dir_.write("lib-origin/lib.c", "int lib(void) { return 0; }\n");
        git("lib-origin", {"add", "."});
        git("lib-origin", {"commit", "-q", "-m", "lib"});

        git("", {"init", "-q", "work"});
        write("src/a.c", "/* a */\nint a;\n\nint b; // b\n");
        write("src/b.h", "#define B 1\n");
        write("src/crlf.c", "int x;\r\n/* c */\r\n\r\nint y;\r\n");
        write("logo.png", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11));
        write("Top.C", "int top;\n");
        commit("one");
        git("work", {"tag", "v1"});

        write("src/a.c", "/* a, now longer */\nint a;\nint a2;\n\nint b; // b\n// end\n");
        std::filesystem::create_directories(dir_.pathOf("work/include"));
        git("work", {"mv", "src/b.h", "include/b.h"});
        write("src/crlf.c", "int x;\r\n/* c */\r\n\r\nint y2;\r\nint z;\r\n");
        write("src/wide.cpp", std::string("\xFF\xFEi\0n\0t\0 \0w\0;\0\n\0", 16));
        std::filesystem::create_symlink("src/a.c", dir_.pathOf("work/link.c"));
        git("work", {"submodule", "add", "-q", dir_.pathOf("lib-origin"), "sub/lib"});
        write("end.c", "int e;\nint f;");  // no line feed at its end
        commit("two");

        write("src/a.c", "int a;\nint a2;\n\nint b; // b\n");
        write("include/b.h", "#define B 2\n\n");
        write("end.c", "int e;\nint f;\nint g;");  // git sees "int f;" modified
        commit("three");
        git("work", {"tag", "-a", "-m", "second", "v2"});

        for (const char* tag : {"v1", "v2"}) {
            const std::string checkout = std::string("checkout-") + tag;
            git("work", {"worktree", "add", "-q", "--detach", dir_.pathOf(checkout), tag});
            git(checkout, {"submodule", "update", "-q", "--init"});
        }
    }

    void write(const std::string& name, const std::string& bytes) {
        dir_.write("work/" + name, bytes);
    }
    void commit(const std::string& message) {
        git("work", {"add", "-A"});
        git("work", {"commit", "-q", "-m", message});
    }
    test::ProcessResult git(const std::string& folder, std::vector<std::string> arguments) {
        const test::ProcessResult result =
            git_.run(folder.empty() ? dir_.path().string() : dir_.pathOf(folder), arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments[0] << ": " << result.err;
        return result;
    }

    std::shared_ptr<GitRevisions> open(const std::string& folder) {
        std::string whyNot;
        std::shared_ptr<GitRevisions> revisions =
            GitRevisions::openFor(dir_.pathOf(folder), whyNot);
        EXPECT_TRUE(revisions) << whyNot;
        return revisions;
    }
    GitVersion version(const GitRevisions& revisions, const std::string& revision) {
        GitVersion found;
        std::string why;
        EXPECT_TRUE(revisions.resolve(revision, found, why)) << why;
        return found;
    }
    std::vector<VersionFile> filesOf(const std::shared_ptr<GitRevisions>& revisions,
                                     const std::string& revision, const std::string& directory,
                                     const ScanChoices& choices) {
        std::vector<VersionFile> files;
        std::string why;
        EXPECT_TRUE(
            revisionFiles(revisions, version(*revisions, revision), directory, choices, files, why))
            << why;
        return files;
    }
    std::vector<VersionFile> filesOnDisk(const std::string& directory, const ScanChoices& choices) {
        std::vector<VersionFile> files;
        std::string why;
        EXPECT_TRUE(directoryFiles(directory, choices, false, files, why)) << why;
        return files;
    }

    static ScanChoices sources() {
        ScanChoices choices;
        choices.extensions = {u".c", u".h", u".cpp"};
        return choices;
    }

    test::TempDir dir_;
    test::GitCommands git_{dir_.pathOf("home")};
};

/// Everything a count leaves in a record but its time, the path below `below` characters.
std::string describe(const FileCount& record, std::size_t below) {
    std::string text;
    for (std::size_t i = below; i < record.path.size(); ++i) {
        text += static_cast<char>(record.path[i]);
    }
    text += record.counted ? " counted" : " uncounted";
    text += record.failed ? " failed" : "";
    const CountValues values = CountValues::of(record);
    for (const CountColumnInfo& column : kCountColumns) {
        text += ' ' + std::to_string(values[column.column]);
    }
    text += " size " + std::to_string(record.sizeBytes) + " encoding " +
            std::to_string(static_cast<int>(record.encoding)) + " type " +
            std::to_string(static_cast<int>(record.fileType));
    return text;
}

std::vector<std::string> described(const std::vector<FileCount>& records, std::size_t below) {
    std::vector<std::string> lines;
    for (const FileCount& record : records) {
        lines.push_back(describe(record, below));
    }
    return lines;
}

TEST_F(VersionsTest, ARevisionCountsAsACheckoutOfIt) {
    struct Case {
        const char* name;
        const char* below;  // the directory below the top
        bool withSubfolders;
        std::vector<std::string> excludes;
        std::vector<std::u16string> extensions;
    };
    const std::vector<Case> cases = {
        {"everything", "", true, {}, {u".c", u".h", u".cpp"}},
        {"no subfolders", "", false, {}, {u".c", u".h", u".cpp"}},
        {"excluded folder", "", true, {"include", "*.cpp"}, {u".c", u".h", u".cpp"}},
        {"a folder", "src", true, {}, {u".C"}},
        {"a folder not in every revision", "include", false, {}, {u".h"}},
    };
    for (const char* tag : {"v1", "v2"}) {
        for (const Case& test : cases) {
            SCOPED_TRACE(std::string(tag) + ": " + test.name);
            ScanChoices choices;
            choices.withSubfolders = test.withSubfolders;
            choices.excludePatterns = test.excludes;
            choices.extensions = test.extensions;
            const std::string suffix = *test.below != '\0' ? std::string("/") + test.below : "";
            const std::string checkout = dir_.pathOf(std::string("checkout-") + tag) + suffix;
            const std::string work = dir_.pathOf("work") + suffix;
            const auto revisions = open("work" + suffix);
            ASSERT_TRUE(revisions);
            if (!std::filesystem::is_directory(checkout)) {
                std::string why;
                std::vector<VersionFile> files;
                EXPECT_FALSE(
                    revisionFiles(revisions, version(*revisions, tag), work, choices, files, why));
                EXPECT_NE(why.find("there is no folder 'include'"), std::string::npos) << why;
                continue;
            }
            VersionCounter counter(test::settingsWith(CountMode::Physical));
            FailedCountTable failures;
            const auto fromDisk = counter.count(filesOnDisk(checkout, choices), failures);
            const auto fromRevision =
                counter.count(filesOf(revisions, tag, work, choices), failures);
            EXPECT_EQ(described(fromRevision, work.size() + 1),
                      described(fromDisk, checkout.size() + 1));
            EXPECT_FALSE(fromDisk.empty());
        }
    }
}

TEST_F(VersionsTest, ABareRepositoryAndTheLogicalModesCountAlike) {
    git("", {"clone", "-q", "--bare", dir_.pathOf("work"), dir_.pathOf("bare.git")});
    for (const CountMode mode : {CountMode::TerminatingCharacters, CountMode::Executable,
                                 CountMode::CyclomaticComplexity}) {
        VersionCounter counter(test::settingsWith(mode));
        FailedCountTable failures;
        const std::string bare = dir_.pathOf("bare.git");
        // The bare clone has no submodule's repository: its files are left out, with a warning.
        ScanChoices choices = sources();
        choices.excludePatterns = {"sub"};
        std::vector<VersionFile> files;
        std::string why;
        std::vector<std::string> warnings;
        ASSERT_TRUE(revisionFiles(open("bare.git"), version(*open("bare.git"), "v2"), bare,
                                  sources(), files, why,
                                  [&](const std::string& text) { warnings.push_back(text); }));
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find("not initialised"), std::string::npos) << warnings[0];
        const auto fromBare = counter.count(files, failures);
        const auto fromDisk =
            counter.count(filesOnDisk(dir_.pathOf("checkout-v2"), choices), failures);
        EXPECT_EQ(described(fromBare, bare.size() + 1),
                  described(fromDisk, dir_.pathOf("checkout-v2").size() + 1));
    }
}

/// The lines git adds and removes per file, by `git diff --numstat --no-renames`.
std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> numstat(
    const std::vector<std::string>& lines) {
    std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> changes;
    for (const std::string& line : lines) {
        const std::size_t tab = line.find('\t');
        const std::size_t second = line.find('\t', tab + 1);
        if (tab == std::string::npos || line[0] == '-') {
            continue;  // a binary file
        }
        changes[line.substr(second + 1)] = {std::stoull(line.substr(0, tab)),
                                            std::stoull(line.substr(tab + 1, second - tab - 1))};
    }
    return changes;
}

LineChanges sumOf(const FileDiff& file) {
    LineChanges sum = file.code;
    sum += file.comment;
    sum += file.blank;
    return sum;
}

/// Lines per file below `below` characters of the path, by a physical count.
std::map<std::string, std::uint64_t> linesOf(const std::vector<VersionFile>& files) {
    VersionCounter counter(test::settingsWith(CountMode::Physical));
    FailedCountTable failures;
    std::map<std::string, std::uint64_t> lines;
    const auto records = counter.count(files, failures);
    for (std::size_t i = 0; i < files.size(); ++i) {
        lines[std::string(files[i].relativePath())] = records[i].total();
    }
    return lines;
}

/// Checks `diff` file by file against what git counts and against the lines of each side.
void expectAgreesWithGit(const VersionDiff& diff, std::size_t below,
                         const std::vector<std::string>& gitLines,
                         const std::vector<VersionFile>& oldFiles,
                         const std::vector<VersionFile>& newFiles) {
    const auto git = numstat(gitLines);
    const auto oldLines = linesOf(oldFiles);
    const auto newLines = linesOf(newFiles);
    // What git compares otherwise: a link's target, a submodule's commit, a UTF-16 text (as
    // bytes, which it takes for binary).
    const std::vector<std::string> otherwise = {"link.c", "sub/lib/lib.c", "src/wide.cpp"};
    for (const FileDiff& file : diff.files) {
        const std::string path = file.path.substr(below);
        SCOPED_TRACE(path);
        EXPECT_TRUE(file.failure.empty()) << file.failure;
        const LineChanges sum = sumOf(file);
        EXPECT_EQ(sum.same + sum.modified + sum.removed,
                  oldLines.count(path) != 0 ? oldLines.at(path) : 0);
        EXPECT_EQ(sum.same + sum.modified + sum.added,
                  newLines.count(path) != 0 ? newLines.at(path) : 0);
        if (std::find(otherwise.begin(), otherwise.end(), path) != otherwise.end()) {
            continue;
        }
        const auto found = git.find(path);
        const auto [added, removed] =
            found != git.end() ? found->second : std::pair<std::uint64_t, std::uint64_t>{0, 0};
        EXPECT_EQ(sum.added + sum.modified, added);
        EXPECT_EQ(sum.removed + sum.modified, removed);
        EXPECT_EQ(file.change == FileChange::Unchanged,
                  found == git.end() && oldLines.count(path) != 0 && newLines.count(path) != 0);
    }
}

TEST_F(VersionsTest, ADiffOfTwoRevisionsAgreesWithGit) {
    const auto revisions = open("work");
    const std::string work = dir_.pathOf("work");
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"v1", "v2"}, {"v1", "HEAD~1"}, {"HEAD~1", "v2"}, {"v2", "v1"}, {"v2", "v2"}};
    for (const auto& [from, to] : pairs) {
        SCOPED_TRACE(from + " " + to);
        const auto oldFiles = filesOf(revisions, from, work, sources());
        const auto newFiles = filesOf(revisions, to, work, sources());
        VersionDiff diff;
        std::string why;
        ASSERT_TRUE(
            compareVersions(oldFiles, newFiles, test::settingsWith(CountMode::Physical), diff, why))
            << why;
        expectAgreesWithGit(diff, work.size() + 1,
                            git_.lines(work, {"diff", "--numstat", "--no-renames", from, to}),
                            oldFiles, newFiles);
    }
}

TEST_F(VersionsTest, ADiffOfOneChangeShowsItsClassesAndTheModesCount) {
    const auto revisions = open("work/src");
    const std::string src = dir_.pathOf("work/src");
    VersionDiff diff;
    std::string why;
    ASSERT_TRUE(compareVersions(filesOf(revisions, "v1", src, sources()),
                                filesOf(revisions, "v2", src, sources()),
                                test::settingsWith(CountMode::TerminatingCharacters), diff, why))
        << why;
    ASSERT_EQ(diff.files.size(), 4u);
    // "/* a */ int a; _ int b; // b" became "int a; int a2; _ int b; // b": the comment is
    // removed, "int a2;" added, the rest the same ("int b; // b" is code).
    const FileDiff& a = diff.files[0];
    EXPECT_EQ(a.path, src + "/a.c");
    EXPECT_EQ(a.change, FileChange::Modified);
    EXPECT_EQ(a.code, (LineChanges{2, 0, 1, 0}));
    EXPECT_EQ(a.comment, (LineChanges{0, 0, 0, 1}));
    EXPECT_EQ(a.blank, (LineChanges{1, 0, 0, 0}));
    EXPECT_EQ(a.oldCount, 2u);
    EXPECT_EQ(a.newCount, 3u);
    EXPECT_EQ(diff.files[1].path, src + "/b.h");
    EXPECT_EQ(diff.files[1].change, FileChange::Removed);
    EXPECT_EQ(diff.files[1].code, (LineChanges{0, 0, 0, 1}));
    EXPECT_EQ(diff.files[2].path, src + "/crlf.c");
    EXPECT_EQ(diff.files[2].code, (LineChanges{1, 1, 1, 0}));
    EXPECT_EQ(diff.files[2].comment, (LineChanges{1, 0, 0, 0}));
    EXPECT_EQ(diff.files[3].path, src + "/wide.cpp");
    EXPECT_EQ(diff.files[3].change, FileChange::Added);
    EXPECT_EQ(diff.files[3].code, (LineChanges{0, 0, 1, 0}));
    EXPECT_EQ(diff.totals.code, (LineChanges{3, 1, 3, 1}));
    EXPECT_EQ(diff.totals.oldCount, 4u);
    EXPECT_EQ(diff.totals.newCount, 7u);

    // A modified pair counts under its new line's class; a file that became a folder is gone.
    dir_.write("old/x.c", "// note\nint a;\n\n");
    dir_.write("new/x.c", "int note; /* now code */\nint a;\n// end\n");
    dir_.write("old/y.c", "int y;\n");
    std::filesystem::create_directory(dir_.pathOf("new/y.c"));
    ScanChoices choices = sources();
    ASSERT_TRUE(compareVersions(filesOnDisk(dir_.pathOf("old"), choices),
                                filesOnDisk(dir_.pathOf("new"), choices),
                                test::settingsWith(CountMode::Physical), diff, why));
    ASSERT_EQ(diff.files.size(), 2u);
    EXPECT_EQ(diff.files[0].code, (LineChanges{1, 1, 0, 0}));
    EXPECT_EQ(diff.files[0].comment, (LineChanges{0, 1, 0, 0}));
    EXPECT_EQ(diff.files[0].blank, (LineChanges{}));
    EXPECT_EQ(diff.files[1].path, dir_.pathOf("old/y.c"));
    EXPECT_EQ(diff.files[1].change, FileChange::Removed);
    EXPECT_EQ(diff.totals.comment, (LineChanges{0, 1, 0, 0}));
}

TEST_F(VersionsTest, TwoDirectoriesCompareAsTheirRevisions) {
    const auto revisions = open("work");
    const std::string work = dir_.pathOf("work");
    const CountSettings settings = test::settingsWith(CountMode::Physical);
    VersionDiff fromRevisions;
    VersionDiff fromDirectories;
    std::string why;
    ASSERT_TRUE(compareVersions(filesOf(revisions, "v1", work, sources()),
                                filesOf(revisions, "v2", work, sources()), settings, fromRevisions,
                                why));
    ASSERT_TRUE(compareVersions(filesOnDisk(dir_.pathOf("checkout-v1"), sources()),
                                filesOnDisk(dir_.pathOf("checkout-v2"), sources()), settings,
                                fromDirectories, why));
    ASSERT_EQ(fromRevisions.files.size(), fromDirectories.files.size());
    for (std::size_t i = 0; i < fromRevisions.files.size(); ++i) {
        const FileDiff& revision = fromRevisions.files[i];
        const FileDiff& directory = fromDirectories.files[i];
        EXPECT_EQ(revision.path.substr(work.size()),
                  directory.path.substr(dir_.pathOf("checkout-v2").size()));
        EXPECT_EQ(revision.change, directory.change) << revision.path;
        EXPECT_EQ(sumOf(revision), sumOf(directory)) << revision.path;
        EXPECT_EQ(revision.code, directory.code) << revision.path;
    }
    EXPECT_EQ(fromRevisions.totals.code, fromDirectories.totals.code);
}

TEST_F(VersionsTest, ARevisionComparesWithTheWorkTree) {
    write("src/a.c", "int a;\nint a3;\n\nint b; // b\n/* new */\n");
    write("src/new.c", "int n;\n");
    const std::string work = dir_.pathOf("work");
    const auto oldFiles = filesOf(open("work"), "HEAD", work, sources());
    std::vector<VersionFile> newFiles;
    std::string why;
    ASSERT_TRUE(directoryFiles(work, sources(), true, newFiles, why)) << why;
    VersionDiff diff;
    ASSERT_TRUE(
        compareVersions(oldFiles, newFiles, test::settingsWith(CountMode::Physical), diff, why));
    git("work", {"add", "-N", "src/new.c"});
    expectAgreesWithGit(diff, work.size() + 1,
                        git_.lines(work, {"diff", "--numstat", "--no-renames", "HEAD"}), oldFiles,
                        newFiles);
}

TEST_F(VersionsTest, HistoryRowsAreThoseOfSingleRevisions) {
    const auto revisions = open("work");
    const std::string work = dir_.pathOf("work");
    struct Case {
        const char* seriesName;
        const char* from;
        std::vector<std::string> labels;
    };
    const std::vector<Case> cases = {
        {"tags", "", {"v1", "v2"}},
        {"3", "", {"HEAD~2", "HEAD~1", "HEAD"}},
        {"2", "v2", {"v2~1", "v2"}},
        {"9", "HEAD~1", {"HEAD~1~1", "HEAD~1"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.seriesName);
        std::vector<GitVersion> series;
        std::string why;
        std::string notice;
        ASSERT_TRUE(historySeries(*revisions, test.seriesName, test.from, series, why, notice))
            << why;
        std::vector<std::string> labels;
        for (const GitVersion& version : series) {
            labels.push_back(version.label);
        }
        EXPECT_EQ(labels, test.labels);
        EXPECT_EQ(notice.empty(), std::string(test.seriesName) != "9") << notice;

        VersionCounter counter(test::settingsWith(CountMode::Physical));
        std::vector<HistoryRow> rows;
        ASSERT_TRUE(countHistory(revisions, series, work, sources(), counter, rows, why)) << why;
        ASSERT_EQ(rows.size(), series.size());
        std::size_t files = 0;
        for (const HistoryRow& row : rows) {
            SCOPED_TRACE(row.version.label);
            VersionCounter single(test::settingsWith(CountMode::Physical));
            FailedCountTable failures;
            const auto records =
                single.count(filesOf(revisions, row.version.label, work, sources()), failures);
            CountValues values;
            for (const FileCount& record : records) {
                values += CountValues::of(record);
            }
            EXPECT_EQ(row.files, records.size());
            EXPECT_EQ(row.failed, 0u);
            for (const CountColumnInfo& column : kCountColumns) {
                EXPECT_EQ(row.values[column.column], values[column.column]);
            }
            EXPECT_EQ(row.version.commitId().size(), 40u);
            EXPECT_EQ(row.version.date().size(), 25u) << row.version.date();
            files += records.size();
        }
        // Contents met again are not counted again.
        EXPECT_LT(counter.blobsCounted(), files);
    }
}

TEST_F(VersionsTest, ErrorsNameTheThingAndTheReason) {
    std::string why;
    EXPECT_FALSE(GitRevisions::openFor(dir_.pathOf("lib-origin/../home-none"), why));
    EXPECT_FALSE(GitRevisions::openFor(dir_.path().string(), why));
    EXPECT_EQ(why, "not inside a git repository");

    const auto revisions = open("work");
    GitVersion version;
    EXPECT_FALSE(revisions->resolve("no-such-tag", version, why));
    EXPECT_NE(why.find("revision 'no-such-tag' does not exist"), std::string::npos) << why;
    EXPECT_FALSE(revisions->resolve("v2:src/a.c", version, why));
    EXPECT_NE(why.find("names a file"), std::string::npos) << why;

    std::vector<GitVersion> series;
    std::string notice;
    for (const char* seriesName : {"", "0", "-1", "many", "3x"}) {
        EXPECT_FALSE(historySeries(*revisions, seriesName, "", series, why, notice)) << seriesName;
        EXPECT_NE(why.find("names no series"), std::string::npos) << why;
    }
    EXPECT_FALSE(historySeries(*revisions, "2", "nowhere", series, why, notice));
    EXPECT_NE(why.find("'nowhere' does not exist"), std::string::npos) << why;

    std::vector<VersionFile> files;
    EXPECT_FALSE(
        revisionFiles(revisions, version, dir_.pathOf("work/include"), sources(), files, why));
    EXPECT_FALSE(
        revisionFiles(revisions, GitVersion{}, dir_.pathOf("work/src/a.c"), sources(), files, why));
    EXPECT_FALSE(directoryFiles(dir_.pathOf("missing"), sources(), false, files, why));
    EXPECT_NE(why.find("'" + dir_.pathOf("missing") + "' cannot be read"), std::string::npos)
        << why;

    // A shallow clone whose history ends before the series does.
    git("",
        {"clone", "-q", "--depth", "2", "file://" + dir_.pathOf("work"), dir_.pathOf("shallow")});
    const auto shallow = open("shallow");
    ASSERT_TRUE(shallow->isShallow());
    EXPECT_FALSE(historySeries(*shallow, "3", "", series, why, notice));
    EXPECT_NE(why.find("ends after 2 commits, not 3"), std::string::npos) << why;
    EXPECT_NE(why.find("shallow clone"), std::string::npos) << why;
    EXPECT_FALSE(shallow->resolve("HEAD~2", version, why));
    EXPECT_NE(why.find("shallow clone"), std::string::npos) << why;
    EXPECT_TRUE(historySeries(*shallow, "2", "", series, why, notice)) << why;
}

TEST_F(VersionsTest, RunsOverVersionsReportWhatTheyCouldNotRead) {
    VersionRunSettings run;
    run.choices = sources();
    run.directories = {dir_.pathOf("work/src"), dir_.pathOf("home"), dir_.pathOf("work")};

    const RevisionRun counted = runRevision(run, "v1");
    EXPECT_EQ(counted.outcome, VersionRunOutcome::Completed);
    // src: a.c, b.h, crlf.c; the top: Top.C and those three again.
    EXPECT_EQ(counted.records.size(), 7u);
    ASSERT_EQ(counted.messages.size(), 1u);
    EXPECT_EQ(counted.messages[0],
              "directory '" + dir_.pathOf("home") + "': not inside a git repository");
    const RevisionRun missing = runRevision(run, "v9");
    EXPECT_EQ(missing.outcome, VersionRunOutcome::NothingToCount);
    ASSERT_EQ(missing.messages.size(), 3u);
    EXPECT_NE(missing.messages[2].find("revision 'v9' does not exist"), std::string::npos);

    const DiffRun compared = runDiff(run, "v1", "v2");
    EXPECT_EQ(compared.outcome, VersionRunOutcome::Completed);
    EXPECT_EQ(compared.messages.size(), 1u);
    VersionRunSettings directories;
    directories.choices = sources();
    const DiffRun twoDirectories =
        runDiff(directories, dir_.pathOf("checkout-v1"), dir_.pathOf("checkout-v2"));
    EXPECT_EQ(twoDirectories.outcome, VersionRunOutcome::Completed);
    VersionRunSettings top = run;
    top.directories = {dir_.pathOf("work")};
    EXPECT_EQ(twoDirectories.diff.totals.code, runDiff(top, "v1", "v2").diff.totals.code);
    const DiffRun oneMissing =
        runDiff(directories, dir_.pathOf("checkout-v1"), dir_.pathOf("checkout-v3"));
    EXPECT_EQ(oneMissing.outcome, VersionRunOutcome::NothingToCount);
    ASSERT_EQ(oneMissing.messages.size(), 1u);
    EXPECT_NE(oneMissing.messages[0].find("checkout-v3' cannot be read"), std::string::npos);

    const HistoryRun history = runHistory(run, "tags", "");
    EXPECT_EQ(history.outcome, VersionRunOutcome::Completed);
    ASSERT_EQ(history.directories.size(), 2u);
    EXPECT_EQ(history.directories[1].second.size(), 2u);
    EXPECT_EQ(runHistory(run, "5", "v9").outcome, VersionRunOutcome::NothingToCount);
}

}  // namespace
}  // namespace tw
