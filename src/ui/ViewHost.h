#pragma once

#include <QString>

#include <mutex>
#include <optional>
#include <string_view>

#include "ui/FileListModel.h"

class QMenu;

namespace tw::ui {

/// What the folder tree and the file list need of the window that holds them; the main window
/// is the one implementation, tests may give their own.
class ViewHost {
  public:
    virtual ~ViewHost() = default;

    /// The rows the file list shows: the whole project or one folder, full paths or names.
    virtual FileListLayout listLayout() const = 0;
    /// Shows `text` in the status bar.
    virtual void setStatusText(const QString& text) = 0;
    /// During a count run, the lock under which records may be read; otherwise no lock.
    virtual std::unique_lock<std::mutex> lockRecordsDuringRun() = 0;
    /// The menu both views show as their context menu.
    virtual QMenu* selectionMenu() const = 0;
    /// The width the user gave the file list's column `id`; 0 when it is fitted to its texts.
    virtual int chosenColumnWidth(std::string_view id) const = 0;
    virtual void setChosenColumnWidth(std::string_view id, int width) = 0;
    /// Whether the user showed (true) or hid (false) the file list's column `id`; nothing when
    /// the user never chose, and the column's own rule holds.
    virtual std::optional<bool> chosenColumnShown(std::string_view id) const = 0;
    virtual void setChosenColumnShown(std::string_view id, bool shown) = 0;
};

}  // namespace tw::ui
