// The main window's command table: for each command, what its action shows, what performs it
// and when it is available.

#include <algorithm>

#include "ui/Artwork.h"
#include "ui/CMainFrame.h"
#include "ui/CommandIds.h"

namespace tw::ui {
namespace {

using I = ToolbarImage;
using F = CMainFrame;

}  // namespace

std::span<const CMainFrame::CommandEntry> CMainFrame::commands() {
    static const CommandEntry kCommands[] = {
        // File
        {.id = ID_FILE_NEW,
         .objectName = "actionNewProject",
         .text = "&New Project",
         .shortcut = "Ctrl+N",
         .prompt = "Create a new Tallyweaver project\nNew Project",
         .toolbarImage = int(I::NewProject),
         .handler = &F::onFileNew,
         .idleOnly = true},
        {.id = ID_FILE_OPEN,
         .objectName = "actionOpenProject",
         .text = "&Open Project...",
         .shortcut = "Ctrl+O",
         .prompt = "Open an existing Tallyweaver project\nOpen Project",
         .toolbarImage = int(I::OpenProject),
         .handler = &F::onFileOpen,
         .idleOnly = true},
        {.id = ID_FILE_SAVE,
         .objectName = "actionSaveProject",
         .text = "&Save Project",
         .shortcut = "Ctrl+S",
         .prompt = "Save the active project\nSave Project",
         .toolbarImage = int(I::SaveProject),
         .handler = &F::onFileSave,
         .idleOnly = true},
        {.id = ID_FILE_SAVE_AS,
         .objectName = "actionSaveProjectAs",
         .text = "Save Project &As...",
         .shortcut = "Ctrl+Shift+S",
         .prompt = "Save the active project with a new name\nSave Project As...",
         .handler = &F::onFileSaveAs,
         .idleOnly = true},
        {.id = ID_APP_EXIT,
         .objectName = "actionExit",
         .text = "E&xit",
         .shortcut = "Ctrl+Q",
         .prompt = "Quit the application; prompts to save documents\nExit",
         .handler = &F::onExit},
        // Action
        {.id = ID_ACTION_ADD_FILE,
         .objectName = "actionAddFiles",
         .text = "Add &File",
         .prompt = "Add file(s) to the project\nAdd File(s)",
         .toolbarImage = int(I::AddFiles),
         .handler = &F::onAddFiles,
         .idleOnly = true},
        {.id = ID_ACTION_ADD_FOLDER,
         .objectName = "actionAddFolders",
         .text = "Add Fol&der",
         .prompt = "Add folder(s) to the project\nAdd Folder(s)",
         .toolbarImage = int(I::AddFolders),
         .handler = &F::onAddFolders,
         .idleOnly = true},
        // The records are read for Count and Reset only while no worker writes them.
        {.id = ID_ACTION_COUNT,
         .objectName = "actionCount",
         .text = "&Count",
         .shortcut = "F5",
         .prompt = "Begin counting code lines\nCount",
         .toolbarImage = int(I::Count),
         .handler = &F::onCount,
         .idleOnly = true,
         .available = &F::hasUncountedFiles},
        {.id = ID_ACTION_STOP,
         .objectName = "actionStop",
         .text = "&Stop",
         .shortcut = "Esc",
         .prompt = "Stop counting code lines\nStop",
         .toolbarImage = int(I::Stop),
         .handler = &F::onStop,
         .available = &F::isCounting},
        {.id = ID_ACTION_RESET,
         .objectName = "actionReset",
         .text = "&Reset",
         .prompt = "Reset line counts for all files\nReset",
         .toolbarImage = int(I::Reset),
         .handler = &F::onReset,
         .idleOnly = true,
         .available = &F::hasCountedFiles},
        // Selection
        {.id = ID_SELECTION_OPEN,
         .objectName = "actionOpenFiles",
         .text = "&Open File(s)",
         .handler = &F::onOpenFiles,
         .idleOnly = true,
         .available = &F::canActOnSelectedFiles},
        {.id = ID_SELECTION_OPEN_IN_EDITOR,
         .objectName = "actionOpenInTextEditor",
         .text = "Open in &Text Editor",
         .handler = &F::onOpenInTextEditor,
         .idleOnly = true,
         .available = &F::canActOnSelectedFiles},
        {.id = ID_SELECTION_SHOW_IN_FOLDER,
         .objectName = "actionShowInFolders",
         .text = "&Show File(s) in Folder(s)",
         .handler = &F::onShowInFolders,
         .idleOnly = true,
         .available = &F::canActOnSelectedFiles},
        {.id = ID_SELECTION_REMOVE,
         .objectName = "actionRemove",
         .text = "&Remove",
         .shortcut = "Del",
         .prompt = "Remove the selected file(s) or folder(s)\nRemove Selected",
         .toolbarImage = int(I::RemoveSelected),
         .handler = &F::onRemove,
         .idleOnly = true,
         .available = &F::canRemoveSelection},
        // Tools
        {.id = ID_TOOLS_SETTINGS,
         .objectName = "actionSettings",
         .text = "&Settings...",
         .prompt = "Edit Project Settings\nSettings",
         .toolbarImage = int(I::Settings),
         .handler = &F::onSettings,
         .idleOnly = true},
        {.id = ID_TOOLS_REPORT,
         .objectName = "actionReport",
         .text = "&Report...",
         .prompt = "Create a report of all files counted\nGenerate Report",
         .toolbarImage = int(I::GenerateReport),
         .handler = &F::onReport,
         .idleOnly = true},
        // View
        {.id = ID_VIEW_TOOLBAR,
         .objectName = "actionToggleToolBar",
         .text = "&Toolbar",
         .prompt = "Show or hide the toolbar\nToggle ToolBar",
         .handler = &F::onToggleToolBar,
         .idleOnly = true,
         .checked = &F::showsToolBar},
        {.id = ID_VIEW_STATUS_BAR,
         .objectName = "actionToggleStatusBar",
         .text = "&Status Bar",
         .prompt = "Show or hide the status bar\nToggle Status Bar",
         .handler = &F::onToggleStatusBar,
         .idleOnly = true,
         .checked = &F::showsStatusBar},
        {.id = ID_VIEW_FOLDERS_AND_FILES,
         .objectName = "actionFoldersAndFiles",
         .text = "&Folders and Files",
         .handler = &F::onFoldersAndFiles,
         .checked = &F::showsFoldersAndFiles,
         .viewMode = true},
        {.id = ID_VIEW_FILES_ONLY,
         .objectName = "actionFilesOnly",
         .text = "Files &Only",
         .handler = &F::onFilesOnly,
         .checked = &F::showsFilesOnly,
         .viewMode = true},
        {.id = ID_VIEW_SHOW_FULL_PATHS,
         .objectName = "actionShowFullPaths",
         .text = "S&how Full Paths",
         .handler = &F::onShowFullPaths,
         .available = &F::showsFilesOnly,
         .checked = &F::showFullPaths},
        // Help
        {.id = ID_HELP_DOCUMENTATION,
         .objectName = "actionDocumentation",
         .text = "&Tallyweaver Documentation",
         .shortcut = "F1",
         .handler = &F::onDocumentation,
         .idleOnly = true},
        {.id = ID_HELP_COMMAND_LINE,
         .objectName = "actionCommandLineReference",
         .text = "&Command Line Reference",
         .handler = &F::onCommandLineReference,
         .idleOnly = true},
        {.id = ID_APP_ABOUT,
         .objectName = "actionAbout",
         .text = "&About Tallyweaver",
         .prompt = "View Program Information\nAbout",
         .toolbarImage = int(I::About),
         .handler = &F::onAbout,
         .idleOnly = true},
        {.id = ID_HELP_WEBSITE,
         .objectName = "actionVisitWebsite",
         .text = "Visit Website",
         .handler = &F::onVisitWebsite,
         .idleOnly = true},
    };
    return kCommands;
}

const CMainFrame::CommandEntry& CMainFrame::command(int commandId) {
    // The entries of the recent-project list share this one: each performs it with its own
    // place in the list, so the entry names no handler.
    static const CommandEntry kRecentProject = {.id = ID_FILE_MRU_FILE1,
                                                .objectName = "actionRecentProject",
                                                .text = "Recent Project",
                                                .prompt = "Open this document",
                                                .idleOnly = true};
    const std::span<const CommandEntry> table = commands();
    const auto found = std::find_if(table.begin(), table.end(), [commandId](const auto& entry) {
        return entry.id == commandId;
    });
    // An id outside the table gets the recent-project entry, which only asks for no count run.
    return found != table.end() ? *found : kRecentProject;
}

}  // namespace tw::ui
