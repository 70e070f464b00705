#pragma once

#include <QByteArray>
#include <QMap>
#include <QRect>
#include <QString>

class QSettings;

namespace tw::ui {

/// What the main window remembers between runs, kept in the settings file beside the recent
/// project list: its place and size, the divider, the view mode, the file list's column
/// widths, whether the toolbar and the status bar show, the folders the file dialogs last showed
/// and the report format last written.
struct WindowState {
    /// `QWidget::saveGeometry`; empty before the first run ended.
    QByteArray geometry;
    /// The folder tree's share of the Folders and Files view's width.
    double treeFraction = 1.0 / 3.0;
    /// ID_VIEW_FOLDERS_AND_FILES or ID_VIEW_FILES_ONLY.
    int viewMode = 0;
    /// The widths the user gave columns of the file list, by column id; a column without one
    /// is fitted to its texts. Ids no column has now are kept as they were.
    QMap<QString, int> columnWidths;
    bool showToolBar = true;
    bool showStatusBar = true;
    /// The columns of the file list the user showed (true) or hid (false) from the header's
    /// menu, by column id; the others follow their own rule.
    QMap<QString, bool> columnShown;
    QString addFilesFolder;
    QString addFolderFolder;
    QString reportFolder;
    /// The extension of the report format Generate Report last wrote (".csv"); empty for the
    /// dialog's default.
    QString reportFormat;

    /// Reads what `settings` holds; the defaults for a missing or unusable value. Column
    /// widths kept by position, as earlier versions did, are taken for the columns of that
    /// time; `write` then keeps them by id only.
    static WindowState read(QSettings& settings);
    void write(QSettings& settings) const;
};

/// Where a window without a saved place opens: three quarters of the `available` area in each
/// direction, at least 800 by 500 pixels where the area has room for that, centred on it.
QRect initialWindowGeometry(const QRect& available);

}  // namespace tw::ui
