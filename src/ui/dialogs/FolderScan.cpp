#include "ui/dialogs/FolderScan.h"

#include <QFile>
#include <QString>

#include "project/ScanRequest.h"
#include "ui/common/MessageBox.h"

namespace tw::ui {

std::vector<std::string> scanFolderForFiles(const std::string& directory,
                                            const QStringList& included, bool withSubfolders,
                                            const std::function<void()>& onDirectory,
                                            const FolderScanExclusions& leftOut,
                                            QString* gitFailure) {
    ScanRequest request;
    request.directory = directory;
    request.withSubfolders = withSubfolders;
    for (const QString& extension : included) {
        request.extensions.push_back(extension.toStdU16String());
    }
    for (const QString& pattern : leftOut.patterns) {
        request.excludePatterns.push_back(QFile::encodeName(pattern).toStdString());
    }
    request.leaveOutGitIgnored = leftOut.versionControlIgnored;

    std::vector<std::string> found;
    ScanCalls calls;
    calls.onFile = [&found](std::string path) { found.push_back(std::move(path)); };
    calls.onDirectory = onDirectory;
    calls.onGitFailure = [&directory, gitFailure](const std::string& why) {
        if (gitFailure != nullptr) {
            const QString shown = QLatin1Char('\'') +
                                  printableInMessage(QFile::decodeName(directory.c_str())) +
                                  QLatin1Char('\'');
            *gitFailure = QString::fromStdString(
                gitFailureMessage(shown.toStdString(),
                                  printableInMessage(QString::fromStdString(why)).toStdString()));
        }
    };
    scanDirectory(request, calls);
    return found;
}

}  // namespace tw::ui
