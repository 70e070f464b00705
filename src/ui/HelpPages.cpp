#include "ui/HelpPages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

/// The pages are also compiled into the user-interface library; a static library's resources
/// are registered by hand, from outside any namespace.
static void initialiseHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace tw::ui {

QString helpPageFile(const QString& name) {
    return helpPageFile(name, QCoreApplication::applicationDirPath());
}

QString helpPageFile(const QString& name, const QString& executableDirectory) {
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) {
        return QString();
    }
    const QString installed =
        QDir::cleanPath(executableDirectory + QLatin1Char('/') +
                        QStringLiteral(TW_HELP_DIR_FROM_EXECUTABLE) + QLatin1Char('/') + name);
    if (!executableDirectory.isEmpty() && QFileInfo(installed).isFile()) {
        return installed;
    }
    // A program moved away from its help folder still has the pages it was built with.
    initialiseHelpResources();
    QFile page(QStringLiteral(":/help/") + name);
    if (!page.open(QIODevice::ReadOnly)) {
        return QString();
    }
    const QByteArray content = page.readAll();
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help");
    if (!QDir().mkpath(folder)) {
        return QString();
    }
    const QString target = folder + QLatin1Char('/') + name;
    QFile existing(target);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) {
        return target;
    }
    existing.close();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit()) {
        return QString();
    }
    return target;
}

}  // namespace tw::ui
