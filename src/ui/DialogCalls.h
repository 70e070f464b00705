#pragma once

#include <QStringList>

class QWidget;

namespace tw::ui {

/// The main frame's calls into its dialogs, one function per dialog, so each command handler
/// only asks and acts on the answer.

/// Add Folder(s): the files found in the chosen folder, in the order found. False when the
/// user cancelled.
bool runAddFolderDialog(QWidget* window, QStringList& foundFiles);

/// Project Settings: true when closed with OK (the dialog has then written the settings).
bool runSettingsDialog(QWidget* window);

/// Generate Report, modal.
void runReportDialog(QWidget* window);

/// Errors: the files of the failed-count table with their error texts, modal.
void runFailedCountsDialog(QWidget* window);

/// The files below `directory` whose extension (from the last '.', compared without regard to
/// case) is one of `extensions`, "[none]" standing for names without a '.'; subfolders are
/// searched when `subfolders`, each at once when it is met. Directories reached through a
/// symbolic link are not entered.
QStringList scanFolder(const QString& directory, const QStringList& extensions, bool subfolders);

/// The extensions a folder is searched for until the user chooses others.
QStringList defaultIncludedExtensions();

}  // namespace tw::ui
