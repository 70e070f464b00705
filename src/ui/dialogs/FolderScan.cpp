#include "ui/dialogs/FolderScan.h"

#include <QSet>
#include <QString>

#include <string_view>

#include "project/DirectoryWalk.h"
#include "ui/dialogs/ExtensionLists.h"

namespace tw::ui {

std::vector<std::string> scanFolderForFiles(std::string directory, const QStringList& included,
                                            bool withSubfolders,
                                            const std::function<void()>& onDirectory) {
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

    walkDirectory(
        directory, withSubfolders,
        [&](const std::string& folder, const std::string& name) {
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
        },
        onDirectory);
    return found;
}

}  // namespace tw::ui
