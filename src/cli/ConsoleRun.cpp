// CCustomCommandLineInfo::RunConsole: collect, count, summarise, report.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <iostream>
#include <memory>
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
#include "report/JsonReport.h"
#include "report/PrintableName.h"
#include "report/ReportWriter.h"
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
                        std::uint32_t reportFlags, const std::u16string& summary) {
    int error = 0;
    const auto put = [&out, &error](std::string_view bytes) {
        errno = 0;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            error = errno != 0 ? errno : EIO;
        }
        return error == 0;
    };
    if ((reportFlags & CCustomCommandLineInfo::kReportJson) != 0) {
        writeJsonReport(root, settings, put);
    } else if (reportFlags != 0) {
        const bool csv = (reportFlags & CCustomCommandLineInfo::kReportCsv) != 0;
        const bool listStyle = (reportFlags & CCustomCommandLineInfo::kReportList) != 0;
        const bool fullPaths = (reportFlags & CCustomCommandLineInfo::kReportNoDirectories) == 0;
        writeReport(root, settings.mode, csv, listStyle, fullPaths, 4,
                    [&put](std::u16string_view piece) { return put(lineFeedTextBytes(piece)); });
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
            for (const char* extension : {".txt", ".csv", ".json"}) {
                if (exists(pathOf(base, suffix, extension))) {
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

}  // namespace

bool CCustomCommandLineInfo::RunConsole() {
    return RunConsole(std::cout, std::cerr);
}

bool CCustomCommandLineInfo::RunConsole(std::ostream& out, std::ostream& errors) {
    for (const std::string& warning : warnings) {
        printWarning(errors, warning);
    }
    if (noSubfoldersPending) {
        printWarning(errors, "-dir nosub: no directory follows");
    }
    const auto stop = [this, &errors](ResultCode code, const std::string& why) {
        printError(errors, why);
        resultCode = code;
        return false;
    };

    for (std::u16string& extension : extensions) {
        if (extension.empty() || extension.front() != u'.') {
            extension.insert(0, u".");
        }
    }
    if (extensions.empty() && (!directories.empty() || !directoriesNoSubfolders.empty())) {
        if (extensionsGiven) {
            return stop(kResultNoExtensions,
                        "-ext was given without an extension; name the files to take (for "
                        "example -ext .c .h), or leave -ext out for every language the program "
                        "knows");
        }
        std::u16string taken;
        for (const std::u16string_view extension : languageExtensions()) {
            extensions.emplace_back(extension);
            taken += u" " + std::u16string(extension);
        }
        printNotice(errors,
                    "no -ext given: directories are scanned for the extensions of the "
                    "program's languages:" +
                        utf8FromUtf16(taken));
    }
    for (const std::u16string& directory : directories) {
        AddFilesFromDirectory(stripQuotes(directory), !noSubfolders, errors);
    }
    for (const std::u16string& directory : directoriesNoSubfolders) {
        AddFilesFromDirectory(stripQuotes(directory), false, errors);
    }
    for (const std::u16string& listFile : listFiles) {
        const auto longLine = [&errors, &listFile](std::size_t line) {
            printWarning(errors, "list file " + quoted(listFile) + ": line " +
                                     std::to_string(line) + " is longer than " +
                                     std::to_string(kLongestListLine) + " bytes; passed over");
        };
        if (const int error = readListFile(listFile, files, longLine); error != 0) {
            return stop(kResultListFileUnreadable,
                        "cannot read list file " + quoted(listFile) + ": " + systemReason(error));
        }
    }
    if (files.empty()) {
        return stop(kResultNothingToCount,
                    "nothing to count: no file was named, and no directory held a file with "
                    "the given extensions");
    }
    if (explain) {
        resultCode =
            runExplain(files, countSettings(), (reportFlags & kReportJson) != 0, out, errors);
        return true;
    }
    // With "-out -" the report (or the summary) is the whole of standard output; everything
    // else the run prints goes to standard error.
    const bool toStdout = toStandardOutput();
    std::ostream& notes = toStdout ? errors : out;
    const std::string outputPath = diskBytes(outputDirectory);
    if (!toStdout) {
        if (outputDirectoryGiven && outputPath.empty()) {
            return stop(kResultBadOutputDirectory, "the output directory given with -out is empty");
        }
        if (int error = directoryError(outputPath); error == ENOENT) {
            if ((error = makeDirectories(outputPath)) != 0) {
                return stop(kResultBadOutputDirectory, "cannot create the output directory " +
                                                           quoted(outputDirectory) + ": " +
                                                           systemReason(error));
            }
            printNotice(errors, "created the output directory " + quoted(outputDirectory));
        } else if (error != 0) {
            return stop(kResultBadOutputDirectory,
                        "output directory " + quoted(outputDirectory) + ": " + systemReason(error));
        }
    }

    RunOutput output(outputPath, timeStamp());
    const bool json = (reportFlags & kReportJson) != 0;
    const bool csv = (reportFlags & kReportCsv) != 0;
    const char* const reportExtension = json ? ".json" : csv ? ".csv" : ".txt";
    if (int error = toStdout ? 0 : output.createSummary();
        error != 0 ||
        (!toStdout && reportFlags != 0 && (error = output.createReport(reportExtension)) != 0)) {
        return stop(kResultCannotWriteOutput,
                    "cannot write into the output directory " +
                        quoted(outputDirectory.empty() ? u"." : outputDirectory) + ": " +
                        systemReason(error));
    }

    const unsigned threadLimit = countingThreadLimit(CountRunner::kDefaultByteBudget);
    const unsigned threadsAsked =
        threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    if (threadsAsked > threadLimit) {
        const std::string why = threadLimit < kMostCountingThreads
                                    ? "the address-space limit leaves room for no more"
                                    : "no run counts on more";
        printWarning(errors, threads != 0
                                 ? "-threads: " + std::to_string(threads) + " lowered to " +
                                       std::to_string(threadLimit) + ": " + why
                                 : "counting on " + std::to_string(threadLimit) +
                                       " threads, not one per processor (" +
                                       std::to_string(threadsAsked) + "): " + why);
    }

    // Every record is counted right away; it measures its file then, on the counting threads,
    // which begin with the first record while the others are still put into their folders.
    FailedCountTable& failures = failedCountTable();
    const CountSettings& settings = countSettings();
    ProjectFolder root;
    ConsoleCount count(settings, true, quiet, threads, notes, errors, failures);
    SameFiles sameFiles;
    for (const std::u16string& file : files) {
        if (const std::u16string* earlier = sameFiles.earlierPath(file)) {
            // The same path again is left to the tree, which takes it once without a word.
            if (*earlier != file) {
                printWarning(errors, sameFileWarning(file, *earlier));
            }
            continue;
        }
        if (FileCount* record = root.AddFilePath(displayText(file), diskBytes(file),
                                                 FileCount::Measure::AtFirstCount)) {
            count.add(*record);
        }
    }
    count.finish(root);

    const std::u16string summary = buildQuickSummary(root, settings.mode, failures);
    // The project file, then the code: 8 when a file could not be read, though every output
    // was written.
    const auto finish = [&]() {
        if (!saveFile.empty()) {
            const ProjectSaveResult saved = ProjectFile::save(diskBytes(saveFile), root, settings);
            if (saved.status != ProjectSaveStatus::Saved) {
                notes << std::flush;
                return stop(
                    kResultCannotWriteOutput,
                    "cannot save the project " + quoted(saveFile) + ": " + saved.systemReason);
            }
            notes << "Project written to " << shownPath(diskBytes(saveFile)) << '\n';
        }
        out << std::flush;
        notes << std::flush;
        if (count.unreadable() != 0) {
            printError(errors, unreadableFilesError(count.unreadable()));
            resultCode = kResultUnreadableFiles;
            return true;
        }
        resultCode = kResultCompleted;
        return true;
    };
    if (toStdout) {
        if (const int error = writeStandardOutput(out, root, settings, reportFlags, summary);
            error != 0) {
            return stop(kResultCannotWriteOutput,
                        "cannot write to standard output: " + systemReason(error));
        }
        return finish();
    }

    int error = output.summary().write(textFileBytes(summary));
    if (error == 0 && reportFlags != 0) {
        // The report goes to its file as it is made, never held whole.
        PendingFile& report = output.report();
        if (json) {
            writeJsonReport(root, settings, [&](std::string_view piece) {
                error = report.write(piece);
                return error == 0;
            });
        } else {
            const bool listStyle = (reportFlags & kReportList) != 0;
            const bool fullPaths = (reportFlags & kReportNoDirectories) == 0;
            writeReport(root, settings.mode, csv, listStyle, fullPaths, 4,
                        [&](std::u16string_view piece) {
                            error = report.write(csv ? csvFileBytes(piece) : textFileBytes(piece));
                            return error == 0;
                        });
        }
    }
    std::string failedPath;
    if (error == 0) {
        error = output.publish(failedPath);
    }
    if (error != 0) {
        return stop(
            kResultCannotWriteOutput,
            "cannot write " +
                (failedPath.empty() ? std::string("the output files") : quoted(failedPath)) + ": " +
                systemReason(error));
    }

    out << '\n' << utf8FromUtf16(summary);
    out << "Quick summary written to " << shownPath(output.written()[0]) << '\n';
    if (reportFlags != 0) {
        out << "Report written to " << shownPath(output.written()[1]) << '\n';
    }
    return finish();
}

}  // namespace tw
