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
#include "engine/FileType.h"
#include "engine/TextConversion.h"
#include "project/CountMemoryBudget.h"
#include "project/CountRunner.h"
#include "project/FailedCountTable.h"
#include "project/PendingFile.h"
#include "project/ProjectFile.h"
#include "report/PrintableName.h"
#include "report/ReportFormat.h"
#include "report/TextFile.h"

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
/// report. Both are made at the start, so that an unwritable directory is known at once, and
/// get their names only when both are complete. Names are claimed without overwriting anything:
/// when a run of the same second holds them, this run takes "_2", "_3", ... before the
/// extension, the same for both files. The report's name is the claim; the summary follows it.
class RunOutput {
  public:
    RunOutput(std::string directory, std::string stamp)
        : directory_(std::move(directory)), stamp_(std::move(stamp)) {}

    /// Makes the summary; returns 0 or the reason it cannot be made.
    int createSummary() { return summary_.create(directory_); }
    /// Makes the report, named with `extension`; returns 0 or the reason it cannot be made.
    int createReport(std::string extension) {
        report_ = std::make_unique<PendingFile>();
        reportExtension_ = std::move(extension);
        return report_->create(directory_);
    }

    PendingFile& summary() { return summary_; }
    PendingFile& report() { return *report_; }

    /// Names the files: the report first, then the summary, so that a summary never stands
    /// without the report it announces, whenever the process is stopped. Returns 0, or the
    /// reason with `failedPath` naming the file that could not be written; nothing of this run
    /// keeps a name then.
    int publish(std::string& failedPath) {
        std::string claimed;  // where the report stands, once it has a name
        for (int attempt = 1; attempt <= 100000; ++attempt) {
            const std::string suffix = attempt == 1 ? "" : "_" + std::to_string(attempt);
            if (takenByAnotherRun(suffix)) {
                continue;
            }
            std::string reportPath;
            if (report_) {
                reportPath = pathOf("report", suffix, reportExtension_);
                const int error =
                    claimed.empty() ? report_->publishAs(nameOf("report", suffix, reportExtension_))
                                    : (::renameat2(AT_FDCWD, claimed.c_str(), AT_FDCWD,
                                                   reportPath.c_str(), RENAME_NOREPLACE) == 0
                                           ? 0
                                           : errno);
                if (error == EEXIST) {
                    continue;
                }
                if (error != 0) {
                    failedPath = reportPath;
                    unlinkClaim(claimed);
                    return error;
                }
                claimed = reportPath;
            }
            const std::string summaryPath = pathOf("output", suffix, ".txt");
            const int error = summary_.publishAs(nameOf("output", suffix, ".txt"));
            if (error == 0) {
                written_ = report_ ? std::vector<std::string>{summaryPath, reportPath}
                                   : std::vector<std::string>{summaryPath};
                return 0;
            }
            if (error != EEXIST) {
                failedPath = summaryPath;
                unlinkClaim(claimed);
                return error;
            }
            // A stray summary took the name after the check: the report moves on with it.
        }
        unlinkClaim(claimed);
        return EEXIST;
    }

    /// The paths published: the summary's, then the report's.
    const std::vector<std::string>& written() const { return written_; }

  private:
    std::string nameOf(const char* base, const std::string& suffix,
                       const std::string& extension) const {
        return base + stamp_ + suffix + extension;
    }
    std::string pathOf(const char* base, const std::string& suffix,
                       const std::string& extension) const {
        return pathInDirectory(directory_, nameOf(base, suffix, extension));
    }

    /// Another run's summary or report holds this suffix already, in any report format.
    bool takenByAnotherRun(const std::string& suffix) const {
        for (const char* base : {"output", "report"}) {
            for (const ReportFormat& format : allReportFormats()) {
                if (exists(pathOf(base, suffix, std::string(format.extension)))) {
                    return true;
                }
            }
        }
        return false;
    }

    static void unlinkClaim(const std::string& claimed) {
        if (!claimed.empty()) {
            ::unlink(claimed.c_str());
        }
    }

    std::string directory_;
    std::string stamp_;
    PendingFile summary_;
    std::unique_ptr<PendingFile> report_;
    std::string reportExtension_;
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
        if (!collect()) {
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

    /// The files to count: those the options name, those the directory scans find, those the
    /// list files name.
    bool collect() {
        std::vector<std::u16string>& extensions = info_.extensions;
        for (std::u16string& extension : extensions) {
            if (extension.empty() || extension.front() != u'.') {
                extension.insert(0, u".");
            }
        }
        if (extensions.empty() &&
            (!info_.directories.empty() || !info_.directoriesNoSubfolders.empty())) {
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
        if (info_.files.empty()) {
            return stop(kResultNothingToCount,
                        "nothing to count: no file was named, and no directory held a file with "
                        "the given extensions");
        }
        return true;
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
        int error = output_->createSummary();
        if (error == 0 && info_.report) {
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

    /// Counts every file into the tree, each once.
    void count() {
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

    /// The summary and the report, to their files or standard output, then the project file;
    /// the result code says how the run ended.
    bool write() {
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
        if (error == 0 && info_.report) {
            // The report goes to its file as it is made, never held whole.
            PendingFile& report = output_->report();
            reportFormat(info_.report->format)
                .write(root_, countSettings(), *info_.report, ReportLineEnds::File,
                       [&](std::string_view piece) {
                           error = report.write(piece);
                           return error == 0;
                       });
        }
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

        out_ << '\n' << utf8FromUtf16(summary_);
        out_ << "Quick summary written to " << shownPath(output_->written()[0]) << '\n';
        if (info_.report) {
            out_ << "Report written to " << shownPath(output_->written()[1]) << '\n';
        }
        return finish();
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
};

}  // namespace

bool CCustomCommandLineInfo::RunConsole() {
    return RunConsole(std::cout, std::cerr);
}

bool CCustomCommandLineInfo::RunConsole(std::ostream& out, std::ostream& errors) {
    return ConsoleRun(*this, out, errors).run();
}

}  // namespace tw
