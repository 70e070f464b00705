#pragma once

#include <QString>

#include <string>
#include <vector>

#include "engine/CountSettings.h"
#include "project/FailedCountTable.h"

class QSettings;
class QWidget;

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

/// The main frame's calls into its dialogs, one function per dialog, so each command handler
/// only asks and acts on the answer.

/// Add Folder(s): the disk paths of the files found in the chosen folder, in the order found.
/// False when the user cancelled. `settings`, when given, keeps the dialog's choices.
/// The dialog starts in `lastDirectory`, which then becomes the folder scanned.
bool runAddFolderDialog(QWidget* window, std::vector<std::string>& foundFiles,
                        QString& lastDirectory, QSettings* settings = nullptr);

/// Project Settings over `settings`: true when closed with OK (the dialog has then written
/// them). With `countsToDiscard`, OK on changed settings asks first (see `CSettingsDialog`).
bool runSettingsDialog(QWidget* window, CountSettings& settings, bool countsToDiscard = false);

/// Generate Report for the project below `root`, modal. The dialog starts in `directory` with
/// the report format of the extension `format` (".csv"; the default for "" or one it does not
/// offer). True once a report was written: `directory` and `format` are then those it was
/// written with.
bool runReportDialog(QWidget* window, const ProjectFolder& root, QString& directory,
                     QString& format);

/// Errors: the files of `failures` with their error texts, modal; the files are looked up in
/// the project below `root` to be opened.
void runFailedCountsDialog(QWidget* window, const ProjectFolder& root,
                           const FailedCountTable& failures);

}  // namespace tw::ui
