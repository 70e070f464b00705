#include "ui/dialogs/FolderScan.h"

#include <QFile>
#include <QSet>
#include <QString>

#include <memory>
#include <string_view>

#include "project/DirectoryWalk.h"
#include "project/ExcludePatterns.h"
#include "project/GitWorkTreeFilter.h"
#include "ui/dialogs/ExtensionLists.h"

namespace tw::ui {

std::vector<std::string> scanFolderForFiles(std::string directory, const QStringList& included,
                                            bool withSubfolders,
                                            const std::function<void()>& onDirectory,
                                            const FolderScanExclusions& leftOut) {
    std::vector<std::string> found;
    if (included.isEmpty()) {
        return found;
    }
    QSet<QString> wanted;
    for (const QString& extension : included) {
        wanted.insert(extension.toCaseFolded());
    }
    const bool withoutPeriod = wanted.contains(QString::fromUtf16(kNoExtension).toCaseFolded());

    if (directory.empty() || (directory.back() != '/' && directory.back() != '\\')) {
        directory += '/';
    }

    std::vector<ScanFilter*> filters;
    ExcludePatterns excluded;
    for (const QString& pattern : leftOut.patterns) {
        excluded.add(QFile::encodeName(pattern).toStdString());
    }
    if (!excluded.empty()) {
        filters.push_back(&excluded);
    }
    std::unique_ptr<GitWorkTreeFilter> gitRules;
    if (leftOut.versionControlIgnored) {
        std::string whyNot;
        gitRules = GitWorkTreeFilter::open(directory, whyNot);
        if (gitRules) {
            filters.push_back(gitRules.get());
        }
    }

    DirectoryWalkCalls calls;
    calls.onDirectory = onDirectory;
    calls.onFile = [&](const std::string& folder, const std::string& name) {
        const std::size_t period = name.rfind('.');
        bool take = false;
        if (period == std::string::npos) {
            take = withoutPeriod;
        } else {
            const std::string_view extension = std::string_view(name).substr(period);
            take = wanted.contains(
                QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size()))
                    .toCaseFolded());
        }
        if (take) {
            found.push_back(folder + name);
        }
    };
    walkDirectory(directory, withSubfolders, calls, filters);
    return found;
}

}  // namespace tw::ui
