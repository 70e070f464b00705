#pragma once

namespace tw::ui {

/// The command ids of the desktop program. The numbers are those the menus, the toolbar and
/// the availability rules are written against; each QAction carries its id as data.
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616,
    ID_APP_EXIT = 57665,
    ID_ACTION_ADD_FILE = 32796,
    ID_ACTION_ADD_FOLDER = 32797,
    ID_ACTION_COUNT = 32779,
    ID_ACTION_STOP = 32780,
    ID_ACTION_RESET = 32781,
    ID_SELECTION_OPEN = 32808,
    ID_SELECTION_OPEN_IN_EDITOR = 32810,
    ID_SELECTION_SHOW_IN_FOLDER = 32809,
    ID_SELECTION_REMOVE = 32811,
    ID_TOOLS_SETTINGS = 32782,
    ID_TOOLS_REPORT = 32783,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_VIEW_FOLDERS_AND_FILES = 32837,
    ID_VIEW_FILES_ONLY = 32838,
    ID_VIEW_SHOW_FULL_PATHS = 32839,
    ID_VIEW_ERRORS = 32849,
    ID_VIEW_FUNCTIONS = 32850,
    ID_HELP_DOCUMENTATION = 32818,
    ID_HELP_COMMAND_LINE = 32814,
    ID_APP_ABOUT = 32795,
    ID_HELP_WEBSITE = 32848,
};

}  // namespace tw::ui
