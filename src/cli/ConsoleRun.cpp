// CCustomCommandLineInfo::RunConsole: collect, count, summarise, report.
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/ArgumentText.h"
#include "cli/ConsoleCounting.h"
#include "cli/CustomCommandLineInfo.h"
#include "cli/ListFile.h"
#include "cli/QuickSummary.h"
#include "cli/ResultCode.h"
#include "engine/CountSettings.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFile.h"
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

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

/// An output file created (or truncated) at once and filled at the end of the run.
class OutputFile {
public:
    explicit OutputFile(const std::string& path) : out_(path, std::ios::binary | std::ios::trunc) {}
    bool isOpen() const { return out_.is_open(); }
    bool write(std::u16string_view text) {
        const std::string bytes = textFileBytes(text);
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out_.close();
        return !out_.fail();
    }

private:
    std::ofstream out_;
};

}  // namespace

bool CCustomCommandLineInfo::RunConsole() {
    return RunConsole(std::cout);
}

bool CCustomCommandLineInfo::RunConsole(std::ostream& progress) {
    for (std::u16string& extension : extensions) {
        if (extension.empty() || extension.front() != u'.') {
            extension.insert(0, u".");
        }
    }
    if (extensions.empty() && (!directories.empty() || !directoriesNoSubfolders.empty())) {
        resultCode = kResultNoExtensions;
        return false;
    }
    for (const std::u16string& directory : directories) {
        AddFilesFromDirectory(stripQuotes(directory), true);
    }
    for (const std::u16string& directory : directoriesNoSubfolders) {
        AddFilesFromDirectory(stripQuotes(directory), false);
    }
    for (const std::u16string& listFile : listFiles) {
        if (!readListFile(listFile, files)) {
            resultCode = kResultListFileUnreadable;
            return false;
        }
    }
    if (files.empty()) {
        resultCode = kResultNothingToCount;
        return false;
    }
    const std::string outputPath = diskBytes(outputDirectory);
    if (!isDirectory(outputPath)) {
        resultCode = kResultBadOutputDirectory;
        return false;
    }
    const std::string stamp = timeStamp();

    // Every record is counted right away; it measures its file then, on the counting threads.
    ProjectFolder root;
    for (const std::u16string& file : files) {
        root.AddFilePath(displayText(file), diskBytes(file), FileCount::Measure::AtFirstCount);
    }

    OutputFile summary(outputPath + "output" + stamp + ".txt");
    if (!summary.isOpen()) {
        resultCode = kResultCannotWriteOutput;
        return false;
    }
    const bool csv = (reportFlags & kReportCsv) != 0;
    std::unique_ptr<OutputFile> report;
    if (reportFlags != 0) {
        report = std::make_unique<OutputFile>(outputPath + "report" + stamp +
                                              (csv ? ".csv" : ".txt"));
        if (!report->isOpen()) {
            resultCode = kResultCannotWriteOutput;
            return false;
        }
    }

    FailedCountTable& failures = failedCountTable();
    CountAllForConsole(root, true, quiet, threads, progress, failures);

    bool written = summary.write(buildQuickSummary(root, countSettings().mode, failures));
    if (report) {
        const bool listStyle = (reportFlags & kReportList) != 0;
        const bool fullPaths = (reportFlags & kReportNoDirectories) == 0;
        written = report->write(buildReport(root, csv, listStyle, fullPaths, 4)) && written;
    }
    if (!saveFile.empty()) {
        written = ProjectFile::save(diskBytes(saveFile), root, countSettings()).status ==
                      ProjectSaveStatus::Saved &&
                  written;
    }
    if (!written) {
        resultCode = kResultCannotWriteOutput;
        return false;
    }
    resultCode = kResultCompleted;
    return true;
}

}  // namespace tw
