#include "ui/WindowState.h"

#include <QSettings>
#include <QVariant>

#include <algorithm>

#include "ui/CommandIds.h"

namespace tw::ui {
namespace {

const char* const kGroup = "Window";
/// The widths by column id, a group of its own.
const char* const kColumnWidthsGroup = "ColumnWidth";
/// The columns shown or hidden by the user, by column id, a group of its own.
const char* const kColumnShownGroup = "ColumnShown";
/// The widths by position, as earlier versions kept them: read, never written.
const char* const kPositionalWidthsKey = "ColumnWidths";

/// The columns those positions stood for. Frozen: the list's own columns may change.
constexpr const char* kPositionalColumnIds[] = {
    "name",          "type",         "size",         "encoding",       "countTime",
    "code",          "declaration",  "directive",    "commentOwnLine", "commentCodeLine",
    "commentBanner", "commentBlank", "totalComment", "blank",          "total",
    "commentWords",  "remarks",
};

constexpr int kMaxColumnWidth = 4000;

void readColumnWidths(QSettings& settings, QMap<QString, int>& widths) {
    settings.beginGroup(QString::fromLatin1(kColumnWidthsGroup));
    for (const QString& id : settings.childKeys()) {
        if (const int width = std::clamp(settings.value(id).toInt(), 0, kMaxColumnWidth);
            width > 0) {
            widths.insert(id, width);
        }
    }
    settings.endGroup();
    if (!widths.isEmpty()) {
        return;
    }
    const QStringList positional = settings.value(QString::fromLatin1(kPositionalWidthsKey))
                                       .toString()
                                       .split(QLatin1Char(','));
    const auto known = static_cast<qsizetype>(std::size(kPositionalColumnIds));
    for (qsizetype i = 0; i < positional.size() && i < known; ++i) {
        if (const int width = std::clamp(positional[i].toInt(), 0, kMaxColumnWidth); width > 0) {
            widths.insert(QString::fromLatin1(kPositionalColumnIds[i]), width);
        }
    }
}

}  // namespace

WindowState WindowState::read(QSettings& settings) {
    WindowState state;
    settings.beginGroup(QString::fromLatin1(kGroup));
    state.geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
    bool ok = false;
    const double fraction = settings.value(QStringLiteral("TreeFraction")).toDouble(&ok);
    // A divider dragged to either edge still leaves both panes something to show.
    if (ok && fraction > 0.05 && fraction < 0.95) {
        state.treeFraction = fraction;
    }
    const int mode = settings.value(QStringLiteral("ViewMode")).toInt();
    state.viewMode = mode == ID_VIEW_FILES_ONLY ? ID_VIEW_FILES_ONLY : ID_VIEW_FOLDERS_AND_FILES;
    readColumnWidths(settings, state.columnWidths);
    state.showToolBar = settings.value(QStringLiteral("ToolBar"), true).toBool();
    state.showStatusBar = settings.value(QStringLiteral("StatusBar"), true).toBool();
    settings.beginGroup(QString::fromLatin1(kColumnShownGroup));
    for (const QString& id : settings.childKeys()) {
        state.columnShown.insert(id, settings.value(id).toBool());
    }
    settings.endGroup();
    state.addFilesFolder = settings.value(QStringLiteral("AddFilesFolder")).toString();
    state.addFolderFolder = settings.value(QStringLiteral("AddFolderFolder")).toString();
    state.reportFolder = settings.value(QStringLiteral("ReportFolder")).toString();
    state.reportFormat = settings.value(QStringLiteral("ReportFormat")).toString();
    settings.endGroup();
    return state;
}

void WindowState::write(QSettings& settings) const {
    settings.beginGroup(QString::fromLatin1(kGroup));
    settings.setValue(QStringLiteral("Geometry"), geometry);
    settings.setValue(QStringLiteral("TreeFraction"), treeFraction);
    settings.setValue(QStringLiteral("ViewMode"), viewMode);
    settings.remove(QString::fromLatin1(kPositionalWidthsKey));
    settings.remove(QString::fromLatin1(kColumnWidthsGroup));
    settings.beginGroup(QString::fromLatin1(kColumnWidthsGroup));
    for (auto width = columnWidths.begin(); width != columnWidths.end(); ++width) {
        if (width.value() > 0) {
            settings.setValue(width.key(), width.value());
        }
    }
    settings.endGroup();
    settings.setValue(QStringLiteral("ToolBar"), showToolBar);
    settings.setValue(QStringLiteral("StatusBar"), showStatusBar);
    settings.remove(QString::fromLatin1(kColumnShownGroup));
    settings.beginGroup(QString::fromLatin1(kColumnShownGroup));
    for (auto shown = columnShown.begin(); shown != columnShown.end(); ++shown) {
        settings.setValue(shown.key(), shown.value());
    }
    settings.endGroup();
    settings.setValue(QStringLiteral("AddFilesFolder"), addFilesFolder);
    settings.setValue(QStringLiteral("AddFolderFolder"), addFolderFolder);
    settings.setValue(QStringLiteral("ReportFolder"), reportFolder);
    settings.setValue(QStringLiteral("ReportFormat"), reportFormat);
    settings.endGroup();
    settings.sync();
}

QRect initialWindowGeometry(const QRect& available) {
    const int width = std::min(available.width(), std::max(800, available.width() * 3 / 4));
    const int height = std::min(available.height(), std::max(500, available.height() * 3 / 4));
    QRect placed(0, 0, width, height);
    placed.moveCenter(available.center());
    return placed;
}

}  // namespace tw::ui
