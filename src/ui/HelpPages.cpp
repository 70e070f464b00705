#include "ui/HelpPages.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

/// The pages are compiled into the user-interface library; a static library's resources are
/// registered by hand, from outside any namespace.
static void initialiseHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace tw::ui {

QString helpPageFile(const QString& name) {
    initialiseHelpResources();
    QFile page(QStringLiteral(":/help/") + name);
    if (name.contains(QLatin1Char('/')) || !page.open(QIODevice::ReadOnly)) {
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
