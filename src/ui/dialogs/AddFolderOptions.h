#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace tw::ui {

/// What the Add Folder dialog keeps in the program's settings file from one use to the next,
/// beside the recent-project list: whether files that version control ignores are skipped
/// (the user's choice, offered only for folders inside a git work tree), and the Exclude field
/// as typed.
struct AddFolderOptions {
    bool skipIgnored = true;
    QString exclude;

    /// The options kept in `settings`; the defaults when it holds none or is null.
    static AddFolderOptions read(QSettings* settings);
    /// Keeps the options in `settings`; nothing when it is null.
    void write(QSettings* settings) const;
};

/// The patterns typed into the Exclude field: separated by spaces (a space inside a pattern is
/// written `?`).
QStringList excludePatternsOf(const QString& text);

}  // namespace tw::ui
