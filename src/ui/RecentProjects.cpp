#include "ui/RecentProjects.h"

#include <QSettings>

namespace tw::ui {
namespace {

const char* const kGroup = "Recent File List";

QString keyOf(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

}  // namespace

RecentProjects::RecentProjects(QSettings* settings) : settings_(settings) {
    if (settings_ == nullptr) {
        return;
    }
    settings_->beginGroup(QString::fromLatin1(kGroup));
    for (int i = 0; i < kSize; ++i) {
        const QString path = settings_->value(keyOf(i)).toString();
        if (!path.isEmpty() && !entries_.contains(path)) {
            entries_.append(path);
        }
    }
    settings_->endGroup();
}

void RecentProjects::add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    entries_.removeAll(path);
    entries_.prepend(path);
    while (entries_.size() > kSize) {
        entries_.removeLast();
    }
    save();
}

void RecentProjects::remove(const QString& path) {
    if (entries_.removeAll(path) > 0) {
        save();
    }
}

void RecentProjects::save() const {
    if (settings_ == nullptr) {
        return;
    }
    settings_->beginGroup(QString::fromLatin1(kGroup));
    for (int i = 0; i < kSize; ++i) {
        if (i < entries_.size()) {
            settings_->setValue(keyOf(i), entries_[i]);
        } else {
            settings_->remove(keyOf(i));
        }
    }
    settings_->endGroup();
    settings_->sync();
}

}  // namespace tw::ui
