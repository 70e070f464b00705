#include "ui/common/PathProblem.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ui/common/MessageBox.h"

namespace tw::ui {
namespace {

QString systemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

QString withPathAndReason(const QString& text, const QString& path, const QString& reason) {
    QString message = text;
    const QString shown = printableInMessage(path);
    QString details;
    if (!shown.isEmpty() && !text.contains(shown)) {
        details = shown;
    }
    if (!reason.isEmpty()) {
        if (!details.isEmpty()) {
            details += QLatin1Char('\n');
        }
        details += reason;
    }
    if (!details.isEmpty()) {
        message += QStringLiteral("\n\n") + details;
    }
    return message;
}

QString folderProblem(const QString& path, FolderUse use) {
    if (path.isEmpty()) {
        return QStringLiteral("No folder was given.");
    }
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status {};
    if (::stat(encoded.constData(), &status) != 0) {
        return systemText(errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return systemText(ENOTDIR);
    }
    // Entering the folder is needed for either use, and listing it to read it. Writing is left
    // to the write itself: an existing file may be replaced in a folder that takes no new ones.
    const int wanted = X_OK | (use == FolderUse::Read ? R_OK : 0);
    if (::access(encoded.constData(), wanted) != 0) {
        return systemText(errno);
    }
    return QString();
}

}  // namespace tw::ui
