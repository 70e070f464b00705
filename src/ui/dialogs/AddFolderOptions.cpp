#include "ui/dialogs/AddFolderOptions.h"

#include <QRegularExpression>
#include <QSettings>

namespace tw::ui {
namespace {

const QString kGroup = QStringLiteral("Add Folder");
const QString kSkipIgnoredKey = QStringLiteral("SkipIgnoredFiles");
const QString kExcludeKey = QStringLiteral("Exclude");

}  // namespace

AddFolderOptions AddFolderOptions::read(QSettings* settings) {
    AddFolderOptions options;
    if (settings == nullptr) {
        return options;
    }
    settings->beginGroup(kGroup);
    options.skipIgnored = settings->value(kSkipIgnoredKey, options.skipIgnored).toBool();
    options.exclude = settings->value(kExcludeKey, options.exclude).toString();
    settings->endGroup();
    return options;
}

void AddFolderOptions::write(QSettings* settings) const {
    if (settings == nullptr) {
        return;
    }
    settings->beginGroup(kGroup);
    settings->setValue(kSkipIgnoredKey, skipIgnored);
    settings->setValue(kExcludeKey, exclude);
    settings->endGroup();
    settings->sync();
}

QStringList excludePatternsOf(const QString& text) {
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    return text.split(spaces, Qt::SkipEmptyParts);
}

}  // namespace tw::ui
