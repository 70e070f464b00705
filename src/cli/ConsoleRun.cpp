// CCustomCommandLineInfo::RunConsole: collect the files, prepare the outputs, count, write.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "cli/ArgumentText.h"
#include "cli/ConsoleCounting.h"
#include "cli/ConsoleMessages.h"
#include "cli/CustomCommandLineInfo.h"
#include "cli/ExplainRun.h"
#include "cli/ListFile.h"
#include "cli/OutputDirectory.h"
#include "cli/QuickSummary.h"
#include "cli/ResultCode.h"
#include "cli/SameFiles.h"
#include "engine/CountSettings.h"
#include "engine/Language.h"
#include "engine/TextConversion.h"
#include "project/CountMemoryBudget.h"
#include "project/CountRunner.h"
#include "project/FailedCountTable.h"
#include "project/PendingFile.h"
#include "project/ProjectFile.h"
#include "project/VersionRuns.h"
#include "report/ChangeReports.h"
#include "report/HtmlReport.h"
#include "report/PrintableName.h"
#include "report/ReportFormat.h"
#include "report/TextFile.h"
#include "report/TypeTotals.h"

namespace tw {
namespace {

/// "_DD_MM_YYYY_hh_mm_ss" from the local time now.
std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "_%02d_%02d_%04d_%02d_%02d_%02d", local.tm_mday,
                  local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min,
                  local.tm_sec);
    return stamp;
}

/// 0 when `path` is an existing directory, else the reason it is not one.
int directoryError(const std::string& path) {
    struct stat info {};
    if (::stat(path.empty() ? "." : path.c_str(), &info) != 0) {
        return errno;
    }
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

/// A path the run wrote, as the end of the run names it.
std::string shownPath(const std::string& path) {
    return utf8FromUtf16(printableName(displayText(argumentText(path))));
}

/// `-out -`: the report asked for, or the quick summary without one, on `out`, lines ending in
/// line feeds. Returns 0, or the reason `out` could not take it.
int writeStandardOutput(std::ostream& out, const ProjectFolder& root, const CountSettings& settings,
                        const std::optional<ReportLayout>& report, const std::u16string& summary) {
    int error = 0;
    const auto put = [&out, &error](std::string_view bytes) {
        errno = 0;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            error = errno != 0 ? errno : EIO;
        }
        return error == 0;
    };
    if (report) {
        reportFormat(report->format)
            .write(root, settings, *report, ReportLineEnds::StandardOutput, put);
    } else {
        put(lineFeedTextBytes(summary));
    }
    if (error == 0) {
        errno = 0;
        if (!out.flush()) {
            error = errno != 0 ? errno : EIO;
        }
    }
    return error;
}

/// The files a run writes into its output directory: the quick summary and, when asked, the
/// report, or a comparison's or a history's files. All are made at the start, so that an
/// unwritable directory is known at once, and get their names only when all are complete.
/// Names are claimed without overwriting anything: when a run of the same second holds them,
/// this run takes "_2", "_3", ... before the extension, the same for every file. The other
/// files' names are the claim; the summary follows them.
class RunOutput {
  public:
    RunOutput(std::string directory, std::string stamp)
        : directory_(std::move(directory)), stamp_(std::move(stamp)) {}

    /// Makes the summary; returns 0 or the reason it cannot be made.
    int createSummary() {
        withSummary_ = true;
        return summary_.create(directory_);
    }
    /// Makes a file named `base` with the stamp and `extension`; returns 0 or the reason it
    /// cannot be made.
    int createFile(std::string base, std::string extension) {
        files_.push_back({std::move(base), std::move(extension), std::make_unique<PendingFile>()});
        return files_.back().file->create(directory_);
    }
    /// Makes the report, named with `extension`.
    int createReport(std::string extension) { return createFile("report", std::move(extension)); }

    PendingFile& summary() { return summary_; }
    /// The files made with `createFile`, in order.
    PendingFile& file(std::size_t index) { return *files_[index].file; }
    PendingFile& report() { return file(0); }

    /// Names the files: the others first, then the summary, so that a summary never stands
    /// without the files it announces, whenever the process is stopped. Returns 0, or the
    /// reason with `failedPath` naming the file that could not be written; nothing of this run
    /// keeps a name then.
    int publish(std::string& failedPath) {
        std::vector<std::string> claimed(files_.size());  // where each file stands, once named
        for (int attempt = 1; attempt <= 100000; ++attempt) {
            const std::string suffix = attempt == 1 ? "" : "_" + std::to_string(attempt);
            if (takenByAnotherRun(suffix)) {
                continue;
            }
            bool moveOn = false;
            std::vector<std::string> paths;
            for (std::size_t i = 0; i < files_.size() && !moveOn; ++i) {
                Named& named = files_[i];
                const std::string path = pathOf(named.base, suffix, named.extension);
                const int error =
                    claimed[i].empty()
                        ? named.file->publishAs(nameOf(named.base, suffix, named.extension))
                        : (::renameat2(AT_FDCWD, claimed[i].c_str(), AT_FDCWD, path.c_str(),
                                       RENAME_NOREPLACE) == 0
                               ? 0
                               : errno);
                if (error == EEXIST) {
                    moveOn = true;
                    continue;
                }
                if (error != 0) {
                    failedPath = path;
                    unlinkClaims(claimed);
                    return error;
                }
                claimed[i] = path;
                paths.push_back(path);
            }
            if (moveOn) {
                continue;
            }
            if (!withSummary_) {
                written_ = paths;
                return 0;
            }
            const std::string summaryPath = pathOf("output", suffix, ".txt");
            const int error = summary_.publishAs(nameOf("output", suffix, ".txt"));
            if (error == 0) {
                written_ = {summaryPath};
                written_.insert(written_.end(), paths.begin(), paths.end());
                return 0;
            }
            if (error != EEXIST) {
                failedPath = summaryPath;
                unlinkClaims(claimed);
                return error;
            }
            // A stray summary took the name after the check: the other files move on with it.
        }
        unlinkClaims(claimed);
        return EEXIST;
    }

    /// The paths published: the summary's, if made, then the other files' in order.
    const std::vector<std::string>& written() const { return written_; }

  private:
    struct Named {
        std::string base;
        std::string extension;
        std::unique_ptr<PendingFile> file;
    };

    std::string nameOf(const std::string& base, const std::string& suffix,
                       const std::string& extension) const {
        return base + stamp_ + suffix + extension;
    }
    std::string pathOf(const std::string& base, const std::string& suffix,
                       const std::string& extension) const {
        return pathInDirectory(directory_, nameOf(base, suffix, extension));
    }

    /// Another run's output holds this suffix already, in any of the formats.
    bool takenByAnotherRun(const std::string& suffix) const {
        for (const char* base : {"output", "report", "diff", "history"}) {
            for (const ReportFormat& format : allReportFormats()) {
                if (exists(pathOf(base, suffix, std::string(format.extension)))) {
                    return true;
                }
            }
        }
        return false;
    }

    static void unlinkClaims(const std::vector<std::string>& claimed) {
        for (const std::string& path : claimed) {
            if (!path.empty()) {
                ::unlink(path.c_str());
            }
        }
    }

    std::string directory_;
    std::string stamp_;
    bool withSummary_ = false;
    PendingFile summary_;
    std::vector<Named> files_;
    std::vector<std::string> written_;
};

/// A console run in its steps: collect the files, prepare the outputs, count, write. A step
/// that stops the run prints why and sets the result code.
class ConsoleRun {
  public:
    ConsoleRun(CCustomCommandLineInfo& info, std::ostream& out, std::ostream& errors)
        : info_(info),
          out_(out),
          errors_(errors),
          toStdout_(info.toStandardOutput()),
          // With "-out -" the report (or the summary) is the whole of standard output; everything
          // else the run prints goes to standard error.
          notes_(toStdout_ ? errors : out),
          outputPath_(diskBytes(info.outputDirectory)) {}

    bool run() {
        for (const std::string& warning : info_.warnings) {
            printWarning(errors_, warning);
        }
        if (info_.noSubfoldersPending) {
            printWarning(errors_, "-dir nosub: no directory follows");
        }
        if (const std::string neededBy = info_.complexityNeededBy(); !neededBy.empty()) {
            // Only mode c finds functions: asking for them asks for the mode.
            CountMode& mode = countSettings().mode;
            if (mode != CountMode::CyclomaticComplexity && info_.modeGiven) {
                printWarning(errors_, "counting in mode c (Cyclomatic Complexity), not " +
                                          utf8FromUtf16(countModeName(mode)) + ": " + neededBy +
                                          " needs the functions that only mode c finds");
            }
            mode = CountMode::CyclomaticComplexity;
        }
        if (info_.versionRun()) {
            if (!collectVersions()) {
                return false;
            }
            if (!info_.history.empty()) {
                return writeHistory();
            }
        } else if (!collect()) {
            return false;
        }
        if (info_.explain) {
            const bool json = info_.report && info_.report->format == ReportFormatId::Json;
            info_.resultCode = runExplain(info_.files, countSettings(), json, out_, errors_);
            return true;
        }
        if (!prepareOutputs()) {
            return false;
        }
        count();
        return write();
    }

  private:
    bool stop(ResultCode code, const std::string& why) {
        printError(errors_, why);
        info_.resultCode = code;
        return false;
    }

    /// The extensions directory scans take: those of -ext, each with its '.', or without -ext
    /// those of the program's languages. `scans`: the run scans directories other than -dir's.
    bool takeExtensions(bool scans = false) {
        std::vector<std::u16string>& extensions = info_.extensions;
        for (std::u16string& extension : extensions) {
            if (extension.empty() || extension.front() != u'.') {
                extension.insert(0, u".");
            }
        }
        if (extensions.empty() &&
            (scans || !info_.directories.empty() || !info_.directoriesNoSubfolders.empty())) {
            if (info_.extensionsGiven) {
                return stop(kResultNoExtensions,
                            "-ext was given without an extension; name the files to take (for "
                            "example -ext .c .h), or leave -ext out for every language the "
                            "program knows");
            }
            std::u16string taken;
            for (const std::u16string_view extension : languageExtensions()) {
                extensions.emplace_back(extension);
                taken += u" " + std::u16string(extension);
            }
            printNotice(errors_,
                        "no -ext given: directories are scanned for the extensions of the "
                        "program's languages:" +
                            utf8FromUtf16(taken));
        }
        return true;
    }

    /// The files to count: those the options name, those the directory scans find, those the
    /// list files name. With `mayBeEmpty` (the new side of a comparison) no file is no error.
    bool collect(bool mayBeEmpty = false) {
        if (!takeExtensions()) {
            return false;
        }
        for (const std::u16string& directory : info_.directories) {
            info_.AddFilesFromDirectory(stripQuotes(directory), !info_.noSubfolders, errors_);
        }
        for (const std::u16string& directory : info_.directoriesNoSubfolders) {
            info_.AddFilesFromDirectory(stripQuotes(directory), false, errors_);
        }
        for (const std::u16string& listFile : info_.listFiles) {
            const auto longLine = [this, &listFile](std::size_t line) {
                printWarning(errors_, "list file " + quoted(listFile) + ": line " +
                                          std::to_string(line) + " is longer than " +
                                          std::to_string(kLongestListLine) + " bytes; passed over");
            };
            if (const int error = readListFile(listFile, info_.files, longLine); error != 0) {
                return stop(kResultListFileUnreadable, "cannot read list file " + quoted(listFile) +
                                                           ": " + systemReason(error));
            }
        }
        if (info_.files.empty() && !mayBeEmpty) {
            return stop(kResultNothingToCount,
                        "nothing to count: no file was named, and no directory held a file with "
                        "the given extensions");
        }
        return true;
    }

    /// The run's settings for versions, one for the directories scanned with their subfolders
    /// and one for those without (`-dir nosub`), each only when it has directories.
    std::vector<VersionRunSettings> versionSettings() const {
        std::vector<VersionRunSettings> groups;
        const auto add = [&](const std::vector<std::u16string>& directories, bool withSubfolders) {
            VersionRunSettings group;
            for (const std::u16string& directory : directories) {
                group.directories.push_back(diskBytes(stripQuotes(directory)));
            }
            group.choices.withSubfolders = withSubfolders;
            group.choices.extensions = info_.extensions;
            for (const std::u16string& pattern : info_.excludePatterns) {
                group.choices.excludePatterns.push_back(diskBytes(pattern));
            }
            group.settings = countSettings();
            group.threads = info_.threads;
            if (!group.directories.empty() || groups.empty()) {
                groups.push_back(std::move(group));
            }
        };
        add(info_.directories, !info_.noSubfolders);
        if (!info_.directoriesNoSubfolders.empty()) {
            if (groups.front().directories.empty()) {
                groups.clear();
            }
            add(info_.directoriesNoSubfolders, false);
        }
        return groups;
    }

    /// Prints the messages of a run over versions: errors when nothing came of it, else
    /// warnings of what was passed over.
    void printVersionMessages(const std::vector<std::string>& messages, bool failed) {
        for (const std::string& message : messages) {
            const std::string text = utf8FromUtf16(printableName(utf16FromUtf8(message)));
            failed ? printError(errors_, text) : printWarning(errors_, text);
        }
    }

    /// The records of REV below the directories, counted, for the tree; false when nothing
    /// of it was counted (unless `mayBeEmpty`), with the messages printed.
    bool countRevision(const std::string& revision, bool mayBeEmpty) {
        std::vector<std::string> messages;
        for (const VersionRunSettings& group : versionSettings()) {
            RevisionRun part = runRevision(group, revision);
            messages.insert(messages.end(), part.messages.begin(), part.messages.end());
            for (FileCount& record : part.records) {
                revisionRecords_.push_back(std::move(record));
            }
            failedCountTable().merge(part.failures);
        }
        const bool failed = revisionRecords_.empty() && !mayBeEmpty;
        printVersionMessages(messages, failed);
        if (failed) {
            return stop(kResultNothingToCount,
                        "nothing to count: no directory held a file of revision " +
                            quoted(info_.revision) + " with the given extensions");
        }
        fromRevision_ = true;
        return true;
    }

    /// -rev, -diff and -history: the versions counted or compared, and for -rev and -diff the
    /// records of the (new) version for the summary.
    bool collectVersions() {
        const auto drop = [this](bool given, const std::string& what, const std::string& why) {
            if (given) {
                printWarning(errors_, what + " ignored: " + why);
            }
        };
        const std::string versions = "-rev, -diff and -history count versions of directories";
        drop(!info_.files.empty() || !info_.listFiles.empty() || info_.explain,
             "-file, -list and -explain", versions);
        drop(!info_.saveFile.empty(), "-save", versions + ", not files on disk");
        info_.files.clear();
        info_.listFiles.clear();
        info_.explain = false;
        info_.saveFile.clear();
        const bool diff = !info_.diffVersions.empty();
        drop(diff && !info_.history.empty(), "-history", "-diff is given");
        drop(diff && !info_.revision.empty(), "-rev", "-diff names its own versions");
        if (diff) {
            info_.history.clear();
            info_.revision.clear();
        }
        const bool directoriesGiven =
            !info_.directories.empty() || !info_.directoriesNoSubfolders.empty();
        if (!directoriesGiven && !diff) {
            return stop(
                kResultNothingToCount,
                "nothing to count: " + std::string(info_.revision.empty() ? "-history" : "-rev") +
                    " reads the repositories of the directories -dir names, and none "
                    "is named");
        }
        if (!directoriesGiven && info_.diffVersions.size() < 2) {
            return stop(kResultNothingToCount,
                        "nothing to count: without -dir, -diff compares two directories, OLD "
                        "and NEW, and only " +
                            quoted(info_.diffVersions.front()) + " is named");
        }
        if (!takeExtensions(true)) {
            return false;
        }
        if (!info_.history.empty()) {
            return true;  // counted as it is written
        }
        if (!diff) {
            return countRevision(diskBytes(info_.revision), false);
        }

        const std::string oldVersion = diskBytes(info_.diffVersions[0]);
        const std::string newVersion =
            info_.diffVersions.size() > 1 ? diskBytes(info_.diffVersions[1]) : std::string();
        std::vector<std::string> messages;
        bool compared = false;
        for (const VersionRunSettings& group : versionSettings()) {
            DiffRun part = runDiff(group, oldVersion, newVersion);
            messages.insert(messages.end(), part.messages.begin(), part.messages.end());
            if (part.outcome != VersionRunOutcome::Completed) {
                continue;
            }
            if (!compared) {
                diff_ = std::move(part.diff);
                compared = true;
                continue;
            }
            for (FileDiff& file : part.diff.files) {
                diff_.files.push_back(std::move(file));
            }
            diff_.totals.code += part.diff.totals.code;
            diff_.totals.comment += part.diff.totals.comment;
            diff_.totals.blank += part.diff.totals.blank;
            diff_.totals.oldCount += part.diff.totals.oldCount;
            diff_.totals.newCount += part.diff.totals.newCount;
        }
        printVersionMessages(messages, !compared);
        if (!compared) {
            return stop(kResultNothingToCount,
                        "nothing to compare between " + quoted(oldVersion) + " and " +
                            quoted(newVersion.empty() ? std::string("the work tree") : newVersion));
        }
        comparing_ = true;
        // The new side, for the quick summary.
        if (!directoriesGiven) {
            info_.directories = {info_.diffVersions[1]};
            return collect(true);
        }
        if (newVersion.empty()) {
            info_.git = true;
            return collect(true);
        }
        info_.revision = info_.diffVersions[1];
        return countRevision(newVersion, true);
    }

    /// The output directory, made when it is not there, and the summary and report files in
    /// it, made now so that a directory that cannot take them stops the run before the count.
    bool prepareOutputs() {
        if (toStdout_) {
            return true;
        }
        const std::u16string& directory = info_.outputDirectory;
        if (info_.outputDirectoryGiven && outputPath_.empty()) {
            return stop(kResultBadOutputDirectory, "the output directory given with -out is empty");
        }
        if (int error = directoryError(outputPath_); error == ENOENT) {
            if ((error = makeDirectories(outputPath_)) != 0) {
                return stop(kResultBadOutputDirectory, "cannot create the output directory " +
                                                           quoted(directory) + ": " +
                                                           systemReason(error));
            }
            printNotice(errors_, "created the output directory " + quoted(directory));
        } else if (error != 0) {
            return stop(kResultBadOutputDirectory,
                        "output directory " + quoted(directory) + ": " + systemReason(error));
        }
        output_ = std::make_unique<RunOutput>(outputPath_, timeStamp());
        int error = 0;
        if (!info_.history.empty()) {
            error = output_->createFile("history", ".csv");
            if (error == 0 && wantsJson()) {
                error = output_->createFile("history", ".json");
            }
        } else {
            error = output_->createSummary();
        }
        if (comparing_) {
            error = error != 0 ? error : output_->createFile("diff", ".txt");
            if (error == 0 && diffFormat() != ReportFormatId::Text) {
                error =
                    output_->createFile("diff", std::string(reportFormat(diffFormat()).extension));
            }
        }
        if (error == 0 && wantsHtml() && (comparing_ || !info_.history.empty())) {
            error = output_->createReport(".html");  // after the comparison's or history's files
        } else if (error == 0 && info_.report && info_.history.empty()) {
            error =
                output_->createReport(std::string(reportFormat(info_.report->format).extension));
        }
        if (error != 0) {
            return stop(kResultCannotWriteOutput, "cannot write into the output directory " +
                                                      quoted(directory.empty() ? u"." : directory) +
                                                      ": " + systemReason(error));
        }
        return true;
    }

    /// Counts every file into the tree, each once; a revision's records, counted already, are
    /// put into it.
    void count() {
        if (fromRevision_) {
            for (FileCount& record : revisionRecords_) {
                root_.AddFile(std::make_unique<FileCount>(std::move(record)));
            }
            revisionRecords_.clear();
            summary_ = buildQuickSummary(root_, countSettings().mode, failedCountTable());
            return;
        }
        const unsigned threads = info_.threads;
        const unsigned threadLimit = countingThreadLimit(CountRunner::kDefaultByteBudget);
        const unsigned threadsAsked =
            threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
        if (threadsAsked > threadLimit) {
            const std::string why = threadLimit < kMostCountingThreads
                                        ? "the address-space limit leaves room for no more"
                                        : "no run counts on more";
            printWarning(errors_, threads != 0
                                      ? "-threads: " + std::to_string(threads) + " lowered to " +
                                            std::to_string(threadLimit) + ": " + why
                                      : "counting on " + std::to_string(threadLimit) +
                                            " threads, not one per processor (" +
                                            std::to_string(threadsAsked) + "): " + why);
        }

        // Every record is counted right away; it measures its file then, on the counting
        // threads, which begin with the first record while the others are still put into their
        // folders.
        ConsoleCount count(countSettings(), true, info_.quiet, threads, notes_, errors_,
                           failedCountTable());
        SameFiles sameFiles;
        for (const std::u16string& file : info_.files) {
            if (const std::u16string* earlier = sameFiles.earlierPath(file)) {
                // The same path again is left to the tree, which takes it once without a word.
                if (*earlier != file) {
                    printWarning(errors_, sameFileWarning(file, *earlier));
                }
                continue;
            }
            if (FileCount* record = root_.AddFilePath(displayText(file), diskBytes(file),
                                                      FileCount::Measure::AtFirstCount)) {
                count.add(*record);
            }
        }
        count.finish(root_);
        unreadable_ = count.unreadable();
        summary_ = buildQuickSummary(root_, countSettings().mode, failedCountTable());
    }

    bool wantsHtml() const { return info_.report && info_.report->format == ReportFormatId::Html; }

    bool wantsJson() const { return info_.report && info_.report->format == ReportFormatId::Json; }

    /// The format of a comparison's second file (-report list csv, -report json), or Text for
    /// the table alone.
    ReportFormatId diffFormat() const {
        if (!info_.report) {
            return ReportFormatId::Text;
        }
        switch (info_.report->format) {
            case ReportFormatId::Csv:
            case ReportFormatId::Json:
                return info_.report->format;
            case ReportFormatId::Text:
            case ReportFormatId::Html:
            case ReportFormatId::Functions:
                break;
        }
        return ReportFormatId::Text;  // a comparison has no functions list
    }

    std::string diffBytes(ReportFormatId format) const {
        switch (format) {
            case ReportFormatId::Csv:
                return diffCsv(diff_);
            case ReportFormatId::Json:
                return diffJson(diff_);
            case ReportFormatId::Text:
            case ReportFormatId::Html:
            case ReportFormatId::Functions:
                break;
        }
        return diffText(diff_);
    }

    /// Writes `pieces` to their files, then names every file of the run; false after saying why.
    bool publish(const std::vector<std::string>& pieces) {
        int error = 0;
        for (std::size_t i = 0; i < pieces.size() && error == 0; ++i) {
            error = output_->file(i).write(pieces[i]);
        }
        return publishWritten(error);
    }

    /// Names every file of the run once the files were written (`error` 0), else stops with
    /// the reason; false after saying why.
    bool publishWritten(int error) {
        std::string failedPath;
        if (error == 0) {
            error = output_->publish(failedPath);
        }
        if (error != 0) {
            return stop(
                kResultCannotWriteOutput,
                "cannot write " +
                    (failedPath.empty() ? std::string("the output files") : quoted(failedPath)) +
                    ": " + systemReason(error));
        }
        return true;
    }

    bool writeToStandardOutput(const std::string& bytes) {
        errno = 0;
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out_.flush()) {
            return stop(kResultCannotWriteOutput, "cannot write to standard output: " +
                                                      systemReason(errno != 0 ? errno : EIO));
        }
        return true;
    }

    /// -history: counts the series of each directory's repository and writes its rows.
    bool writeHistory() {
        std::vector<HistoryRow> rows;
        std::vector<std::string> messages;
        for (const VersionRunSettings& group : versionSettings()) {
            HistoryRun part =
                runHistory(group, diskBytes(info_.history), diskBytes(info_.revision));
            messages.insert(messages.end(), part.messages.begin(), part.messages.end());
            for (auto& [directory, directoryRows] : part.directories) {
                rows.insert(rows.end(), directoryRows.begin(), directoryRows.end());
            }
        }
        printVersionMessages(messages, rows.empty());
        if (rows.empty()) {
            return stop(kResultNothingToCount,
                        "nothing to count: -history " + quoted(info_.history) +
                            " named no revision that could be counted" +
                            (messages.empty() ? " (the repository has no tag, or no commit)" : ""));
        }
        const CountMode mode = countSettings().mode;
        if (toStdout_) {
            return writeToStandardOutput(wantsJson() ? historyJson(rows, mode)
                                                     : historyCsv(rows, mode)) &&
                   finish();
        }
        if (!prepareOutputs()) {
            return false;
        }
        std::vector<std::string> pieces = {historyCsv(rows, mode)};
        if (wantsJson()) {
            pieces.push_back(historyJson(rows, mode));
        }
        if (wantsHtml()) {
            pieces.push_back(htmlReport(&rows));
        }
        if (!publish(pieces)) {
            return false;
        }
        out_ << rows.size() << (rows.size() == 1 ? " revision" : " revisions") << " counted\n";
        const std::vector<std::string>& written = output_->written();
        for (std::size_t i = 0; i < written.size(); ++i) {
            out_ << (wantsHtml() && i + 1 == written.size() ? "Report" : "History")
                 << " written to " << shownPath(written[i]) << '\n';
        }
        return finish();
    }

    /// -diff: the comparison to its files (or standard output) beside the new side's summary.
    bool writeComparison() {
        if (toStdout_) {
            return writeToStandardOutput(diffBytes(diffFormat())) && finish();
        }
        int error = output_->summary().write(textFileBytes(summary_));
        if (error != 0) {
            return stop(kResultCannotWriteOutput,
                        "cannot write the quick summary: " + systemReason(error));
        }
        std::vector<std::string> pieces = {diffText(diff_)};
        if (diffFormat() != ReportFormatId::Text) {
            pieces.push_back(diffBytes(diffFormat()));
        }
        if (wantsHtml()) {
            pieces.push_back(htmlReport());
        }
        if (!publish(pieces)) {
            return false;
        }
        out_ << '\n' << utf8FromUtf16(summary_) << typeTable() << '\n';
        out_ << "Quick summary of " << quoted(diff_.newLabel) << " written to "
             << shownPath(output_->written()[0]) << "\n\n";
        out_ << diffTotalsTable(diff_);
        const std::vector<std::string>& written = output_->written();
        for (std::size_t i = 1; i < written.size(); ++i) {
            out_ << (wantsHtml() && i + 1 == written.size() ? "Report" : "Comparison")
                 << " written to " << shownPath(written[i]) << '\n';
        }
        return finish();
    }

    /// The summary and the report, to their files or standard output, then the project file;
    /// the result code says how the run ended.
    bool write() {
        if (comparing_) {
            return writeComparison();
        }
        if (toStdout_ && info_.report && info_.report->format == ReportFormatId::Html) {
            return writeToStandardOutput(htmlReport()) && finish();
        }
        if (toStdout_) {
            if (const int error =
                    writeStandardOutput(out_, root_, countSettings(), info_.report, summary_);
                error != 0) {
                return stop(kResultCannotWriteOutput,
                            "cannot write to standard output: " + systemReason(error));
            }
            return finish();
        }

        int error = output_->summary().write(textFileBytes(summary_));
        if (error == 0 && info_.report && info_.report->format == ReportFormatId::Html) {
            error = output_->report().write(htmlReport());
        } else if (error == 0 && info_.report) {
            // The report goes to its file as it is made, never held whole.
            PendingFile& report = output_->report();
            reportFormat(info_.report->format)
                .write(root_, countSettings(), *info_.report, ReportLineEnds::File,
                       [&](std::string_view piece) {
                           error = report.write(piece);
                           return error == 0;
                       });
        }
        if (!publishWritten(error)) {
            return false;
        }

        out_ << '\n' << utf8FromUtf16(summary_) << typeTable() << '\n';
        out_ << "Quick summary written to " << shownPath(output_->written()[0]) << '\n';
        if (info_.report) {
            out_ << "Report written to " << shownPath(output_->written()[1]) << '\n';
        }
        return finish();
    }

    /// The HTML report of the run: what it counted and how, beside the project.
    std::string htmlReport(const std::vector<HistoryRow>* history = nullptr) const {
        HtmlReportContext context;
        context.history = history;
        const auto joined = [](const std::vector<std::u16string>& values) {
            std::string text;
            for (const std::u16string& value : values) {
                text += " " + utf8FromUtf16(printableName(value));
            }
            return text;
        };
        for (const std::u16string& directory : info_.directories) {
            context.counted.push_back("-dir " + utf8FromUtf16(printableName(directory)));
        }
        for (const std::u16string& directory : info_.directoriesNoSubfolders) {
            context.counted.push_back("-dir nosub " + utf8FromUtf16(printableName(directory)));
        }
        for (const std::u16string& list : info_.listFiles) {
            context.counted.push_back("-list " + utf8FromUtf16(printableName(list)));
        }
        if (context.counted.empty()) {
            context.counted.push_back(std::to_string(root_.TotalRecords()) +
                                      " files named with -file");
        }
        if (info_.extensionsGiven) {
            context.options += "-ext" + joined(info_.extensions);
        }
        const auto add = [&context](const std::string& option) {
            context.options += (context.options.empty() ? "" : " ") + option;
        };
        if (info_.noSubfolders) {
            add("-nosub");
        }
        if (info_.git) {
            add("-git");
        }
        if (!info_.excludePatterns.empty()) {
            add("-exclude" + joined(info_.excludePatterns));
        }
        if (!info_.revision.empty()) {
            add("-rev " + utf8FromUtf16(printableName(info_.revision)));
        }
        if (!info_.history.empty()) {
            add("-history " + utf8FromUtf16(printableName(info_.history)));
        }
        if (!info_.diffVersions.empty()) {
            add("-diff" + joined(info_.diffVersions));
        }
        context.date = htmlReportDate(std::time(nullptr));
        if (comparing_) {
            context.diff = &diff_;
        }
        return buildHtmlReport(root_, countSettings(), context);
    }

    /// The totals per file type, printed after the quick summary (not part of its file).
    std::string typeTable() const {
        return typeTotalsText(typeTotals(root_), countSettings().mode);
    }

    /// The project file, then the code: 8 when a file could not be read, though every output
    /// was written.
    bool finish() {
        const std::u16string& saveFile = info_.saveFile;
        if (!saveFile.empty()) {
            const ProjectSaveResult saved =
                ProjectFile::save(diskBytes(saveFile), root_, countSettings());
            if (saved.status != ProjectSaveStatus::Saved) {
                notes_ << std::flush;
                return stop(
                    kResultCannotWriteOutput,
                    "cannot save the project " + quoted(saveFile) + ": " + saved.systemReason);
            }
            notes_ << "Project written to " << shownPath(diskBytes(saveFile)) << '\n';
        }
        out_ << std::flush;
        notes_ << std::flush;
        const std::size_t aboveLimit = checkComplexity();
        if (unreadable_ != 0) {
            printError(errors_, unreadableFilesError(unreadable_));
            info_.resultCode = kResultUnreadableFiles;
            return true;
        }
        if (aboveLimit != 0) {
            printError(errors_, complexityLimitError(aboveLimit, *info_.maxComplexity));
            info_.resultCode = kResultComplexityAboveLimit;
            return true;
        }
        info_.resultCode = kResultCompleted;
        return true;
    }

    /// -max-complexity: names each function above the limit on standard error, in project
    /// order; returns how many there are.
    std::size_t checkComplexity() {
        if (!info_.maxComplexity) {
            return 0;
        }
        const std::uint32_t limit = *info_.maxComplexity;
        std::vector<const FileCount*> records;
        root_.CollectRecords(records);
        std::size_t above = 0;
        for (const FileCount* record : records) {
            if (!record->hasCounts()) {
                continue;
            }
            for (const FunctionComplexity& function : record->functions) {
                if (function.complexity > limit) {
                    errors_ << complexityWarningLine(*record, function, limit) << '\n';
                    ++above;
                }
            }
        }
        errors_ << std::flush;
        return above;
    }

    CCustomCommandLineInfo& info_;
    std::ostream& out_;
    std::ostream& errors_;
    const bool toStdout_;
    std::ostream& notes_;
    const std::string outputPath_;
    std::unique_ptr<RunOutput> output_;
    ProjectFolder root_;
    std::size_t unreadable_ = 0;
    std::u16string summary_;
    /// -rev, and -diff's new revision: the records counted from the repository.
    bool fromRevision_ = false;
    std::vector<FileCount> revisionRecords_;
    /// -diff: the comparison.
    bool comparing_ = false;
    VersionDiff diff_;
};

}  // namespace

bool CCustomCommandLineInfo::RunConsole() {
    return RunConsole(std::cout, std::cerr);
}

bool CCustomCommandLineInfo::RunConsole(std::ostream& out, std::ostream& errors) {
    return ConsoleRun(*this, out, errors).run();
}

}  // namespace tw
