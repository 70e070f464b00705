// The cost of following a repository's history: the counts of the last N commits (default 200)
// of a repository's first-parent line against the count of one revision (HEAD), each from a
// fresh start in a process of its own, with its peak memory. Contents met before in the run
// are not counted again, so the series should cost a small multiple of one revision.
//
// With --check it first compares, on the same repository: a few revisions counted from the
// object database against checkouts of them counted as directories; comparisons of revisions
// against `git diff --numstat --no-renames`; and history rows against single revisions.
//
//   tw_history_bench REPOSITORY [N] [--check]    (bench/history-repo.sh builds a repository)
#include <sys/mman.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/CountColumns.h"
#include "project/GitRevisions.h"
#include "project/VersionDiff.h"
#include "project/VersionFiles.h"
#include "project/VersionHistory.h"
#include "support/PeakMemory.h"

namespace tw {
namespace {

ScanChoices sources() {
    ScanChoices choices;
    choices.extensions = {u".c", u".h"};
    return choices;
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "tw_history_bench: %s\n", what.c_str());
    std::exit(1);
}

std::shared_ptr<GitRevisions> openRepository(const std::string& repository) {
    std::string why;
    std::shared_ptr<GitRevisions> revisions = GitRevisions::openFor(repository, why);
    if (!revisions) {
        fail(repository + ": " + why);
    }
    return revisions;
}

GitVersion resolved(const GitRevisions& revisions, const std::string& revision) {
    GitVersion version;
    std::string why;
    if (!revisions.resolve(revision, version, why)) {
        fail(why);
    }
    return version;
}

std::vector<VersionFile> filesOf(const std::shared_ptr<GitRevisions>& revisions,
                                 const std::string& revision, const std::string& directory) {
    std::vector<VersionFile> files;
    std::string why;
    if (!revisionFiles(revisions, resolved(*revisions, revision), directory, sources(), files,
                       why)) {
        fail(why);
    }
    return files;
}

double seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double processorSeconds() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// The output of a command, whose exit must be 0.
std::string output(const std::string& command) {
    std::string text;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        fail("cannot run " + command);
    }
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
        text.append(buffer, got);
    }
    if (::pclose(pipe) != 0) {
        fail("failed: " + command);
    }
    return text;
}

std::string describe(const FileCount& record, std::size_t below) {
    std::string text;
    for (std::size_t i = below; i < record.path.size(); ++i) {
        text += static_cast<char>(record.path[i]);
    }
    text += record.counted ? " counted" : " uncounted";
    const CountValues values = CountValues::of(record);
    for (const CountColumnInfo& column : kCountColumns) {
        text += ' ' + std::to_string(values[column.column]);
    }
    return text + " size " + std::to_string(record.sizeBytes) + " encoding " +
           std::to_string(static_cast<int>(record.encoding));
}

/// The checks of the tests, on the repository.
void check(const std::string& repository) {
    const auto revisions = openRepository(repository);
    const std::string git = "git -C '" + repository + "' ";
    int problems = 0;
    const std::string work = output("mktemp -d /tmp/tw-history-check.XXXXXX");
    const std::string checkout = work.substr(0, work.size() - 1) + "/checkout";
    for (const char* revision : {"HEAD", "HEAD~100", "r50", "HEAD~249"}) {
        output(git + "worktree add -q --detach '" + checkout + "' " + revision);
        VersionCounter counter(CountSettings{});
        FailedCountTable failures;
        const auto fromRevision = counter.count(filesOf(revisions, revision, repository), failures);
        std::vector<VersionFile> onDisk;
        std::string why;
        if (!directoryFiles(checkout, sources(), false, onDisk, why)) {
            fail(why);
        }
        const auto fromDisk = counter.count(onDisk, failures);
        std::size_t differ = fromRevision.size() == fromDisk.size() ? 0 : 1;
        for (std::size_t i = 0; i < fromRevision.size() && i < fromDisk.size(); ++i) {
            differ += describe(fromRevision[i], repository.size() + 1) !=
                      describe(fromDisk[i], checkout.size() + 1);
        }
        std::printf("check %-9s %5zu files from the repository, %5zu from a checkout: %s\n",
                    revision, fromRevision.size(), fromDisk.size(),
                    differ == 0 ? "identical" : "DIFFERENT");
        problems += differ != 0;
        output(git + "worktree remove --force '" + checkout + "'");
    }
    output("rm -rf '" + work.substr(0, work.size() - 1) + "'");

    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"r50", "r250"}, {"HEAD~1", "HEAD"}, {"HEAD~200", "HEAD~150"}}) {
        const auto oldFiles = filesOf(revisions, from, repository);
        const auto newFiles = filesOf(revisions, to, repository);
        VersionDiff diff;
        std::string why;
        if (!compareVersions(oldFiles, newFiles, CountSettings{}, diff, why)) {
            fail(why);
        }
        std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> numstat;
        const std::string stat = output(git + "diff --numstat --no-renames " + from + " " + to);
        for (std::size_t start = 0; start < stat.size();) {
            const std::size_t end = stat.find('\n', start);
            const std::string line = stat.substr(start, end - start);
            start = end + 1;
            const std::size_t tab = line.find('\t');
            const std::size_t second = line.find('\t', tab + 1);
            if (second == std::string::npos || line[0] == '-') {
                continue;  // a binary file
            }
            numstat[line.substr(second + 1)] = {std::stoull(line.substr(0, tab)),
                                                std::stoull(line.substr(tab + 1))};
        }
        std::size_t agree = 0;
        std::size_t changed = 0;
        std::size_t uncounted = 0;
        for (const FileDiff& file : diff.files) {
            LineChanges sum = file.code;
            sum += file.comment;
            sum += file.blank;
            const auto found = numstat.find(file.path.substr(repository.size() + 1));
            const auto [added, removed] = found != numstat.end()
                                              ? found->second
                                              : std::pair<std::uint64_t, std::uint64_t>{0, 0};
            changed += file.change != FileChange::Unchanged;
            if (!file.failure.empty()) {
                ++uncounted;  // the counter fails on it, as on the checkout's file
                continue;
            }
            const bool agrees =
                sum.added + sum.modified == added && sum.removed + sum.modified == removed;
            agree += agrees;
            if (!agrees && std::getenv("TW_SHOW") != nullptr) {
                std::printf("  %s %s +%llu -%llu ~%llu git +%llu -%llu\n", file.path.c_str(),
                            fileChangeName(file.change), static_cast<unsigned long long>(sum.added),
                            static_cast<unsigned long long>(sum.removed),
                            static_cast<unsigned long long>(sum.modified),
                            static_cast<unsigned long long>(added),
                            static_cast<unsigned long long>(removed));
            }
        }
        std::printf(
            "check diff %s..%s: %zu files, %zu changed (git lists %zu), %zu agree with "
            "git, %zu do not, %zu the counter fails on\n",
            from.c_str(), to.c_str(), diff.files.size(), changed, numstat.size(), agree,
            diff.files.size() - agree - uncounted, uncounted);
        problems += agree + uncounted != diff.files.size();
    }

    VersionCounter counter(CountSettings{});
    std::vector<GitVersion> series;
    std::vector<HistoryRow> rows;
    std::string why;
    std::string notice;
    if (!historySeries(*revisions, "tags", "", series, why, notice) ||
        !countHistory(revisions, series, repository, sources(), counter, rows, why)) {
        fail(why);
    }
    std::size_t agree = 0;
    for (const HistoryRow& row : rows) {
        VersionCounter single(CountSettings{});
        FailedCountTable failures;
        CountValues values;
        for (const FileCount& record :
             single.count(filesOf(revisions, row.version.label, repository), failures)) {
            values += CountValues::of(record);
        }
        agree += values[CountColumn::Total] == row.values[CountColumn::Total] &&
                 values[CountColumn::Code] == row.values[CountColumn::Code];
    }
    std::printf("check history of %zu tags: %zu rows as their single revisions\n", rows.size(),
                agree);
    problems += agree != rows.size();
    if (problems != 0) {
        fail(std::to_string(problems) + " checks failed");
    }
}

}  // namespace
}  // namespace tw

int main(int argc, char** argv) {
    using namespace tw;
    if (argc < 2) {
        std::fprintf(stderr, "usage: tw_history_bench REPOSITORY [N] [--check]\n");
        return 2;
    }
    const std::string repository = argv[1];
    std::size_t count = 200;
    bool checks = false;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--check") {
            checks = true;
        } else {
            count = std::strtoul(argv[i], nullptr, 10);
        }
    }
    if (checks) {
        check(repository);
    }
    std::printf("\n%-34s %10s %10s %10s %10s\n", "run", "files", "wall s", "cpu s", "peak MiB");
    // Each run's wall and processor time, written by the child that makes the run.
    auto* times = static_cast<double*>(::mmap(nullptr, 4 * sizeof(double), PROT_READ | PROT_WRITE,
                                              MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (times == MAP_FAILED) {
        fail("no shared memory");
    }
    for (int run = 0; run < 2; ++run) {
        const bool history = run == 1;
        std::fflush(stdout);  // the child would print it again
        const long peak = test::peakMemoryOf([&] {
            const auto start = std::chrono::steady_clock::now();
            const double cpu = processorSeconds();
            const auto revisions = openRepository(repository);
            VersionCounter counter(CountSettings{});
            std::size_t files = 0;
            if (history) {
                std::vector<GitVersion> series;
                std::vector<HistoryRow> rows;
                std::string why;
                std::string notice;
                if (!historySeries(*revisions, std::to_string(count), "", series, why, notice) ||
                    !countHistory(revisions, series, repository, sources(), counter, rows, why)) {
                    fail(why);
                }
                for (const HistoryRow& row : rows) {
                    files += row.files;
                }
            } else {
                FailedCountTable failures;
                files = counter.count(filesOf(revisions, "HEAD", repository), failures).size();
            }
            times[run * 2] = seconds(start);
            times[run * 2 + 1] = processorSeconds() - cpu;
            std::printf("%-34s %10zu %10.2f %10.2f",
                        history ? ("history, last " + std::to_string(count) + " commits").c_str()
                                : "one revision (HEAD)",
                        files, times[run * 2], times[run * 2 + 1]);
            std::printf(
                "%s",
                history
                    ? (" (" + std::to_string(counter.blobsCounted()) + " contents counted)").c_str()
                    : "");
            std::fflush(stdout);
        });
        std::printf(" %10.1f\n", static_cast<double>(peak) / static_cast<double>(test::kMiB));
    }
    std::printf("history / one revision: %.2f (wall), %.2f (processor); target at most 3\n",
                times[2] / times[0], times[3] / times[1]);
    return 0;
}
