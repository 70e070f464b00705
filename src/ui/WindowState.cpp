#include "ui/WindowState.h"

#include <QSettings>
#include <QVariant>

#include <algorithm>

#include "ui/CommandIds.h"

namespace tw::ui {
namespace {

const char* const kGroup = "Window";

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
    for (const QString& width :
         settings.value(QStringLiteral("ColumnWidths")).toString().split(QLatin1Char(','))) {
        state.columnWidths.append(std::clamp(width.toInt(), 0, 4000));
    }
    state.addFilesFolder = settings.value(QStringLiteral("AddFilesFolder")).toString();
    state.addFolderFolder = settings.value(QStringLiteral("AddFolderFolder")).toString();
    state.reportFolder = settings.value(QStringLiteral("ReportFolder")).toString();
    settings.endGroup();
    return state;
}

void WindowState::write(QSettings& settings) const {
    settings.beginGroup(QString::fromLatin1(kGroup));
    settings.setValue(QStringLiteral("Geometry"), geometry);
    settings.setValue(QStringLiteral("TreeFraction"), treeFraction);
    settings.setValue(QStringLiteral("ViewMode"), viewMode);
    QStringList widths;
    for (const int width : columnWidths) {
        widths.append(QString::number(width));
    }
    settings.setValue(QStringLiteral("ColumnWidths"), widths.join(QLatin1Char(',')));
    settings.setValue(QStringLiteral("AddFilesFolder"), addFilesFolder);
    settings.setValue(QStringLiteral("AddFolderFolder"), addFolderFolder);
    settings.setValue(QStringLiteral("ReportFolder"), reportFolder);
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
