#pragma once

#include <QString>

#include <functional>
#include <string_view>

#include "report/ReportFormat.h"

namespace tw::ui {

/// `fileName` with everything from its last '.' on replaced by `extension`, or with
/// `extension` appended when it has no '.': report.txt and report both give report.csv.
QString withExtension(const QString& fileName, const QString& extension);

/// Where a report named `fileName` in `directory` is written: a '/' goes between them unless
/// the directory already ends in '/' or '\'.
QString reportFilePath(const QString& directory, const QString& fileName);

/// How writing a report file went.
struct ReportWrite {
    enum class Status { Written, OpenFailed, WriteFailed };
    Status status = Status::Written;
    /// The system's text for the error; empty when written.
    QString reason;
};

/// Creates or replaces the file at `path` and writes into it the bytes that `produce` hands to
/// the output it is given, as they come. A write or close that fails (a full disk) is reported,
/// not taken as success.
ReportWrite writeReportFile(const QString& path,
                            const std::function<void(const ReportBytes&)>& produce);

/// The message for a write that did not succeed; empty for one that did.
QString reportWriteMessage(const QString& path, const ReportWrite& result);

}  // namespace tw::ui
