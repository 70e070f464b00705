#include "ui/Desktop.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "TallyweaverVersion.h"
#include "ui/CMainFrame.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/RecentProjects.h"

namespace tw {
namespace {

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

/// A window can be opened: there is a display to show it on, or the user chose a platform.
bool displayAvailable() {
    return environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY") ||
           environmentSet("QT_QPA_PLATFORM");
}

QtMessageHandler previousHandler = nullptr;

/// While the application object is made, a platform that cannot start (a display that does
/// not answer) is reported in plain words and ends the program with 1, instead of aborting it.
void startupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "tallyweaver: the desktop program cannot open its window: %s\n"
                     "Start it on a graphical desktop, or give options for a console count "
                     "(tallyweaver --help).\n",
                     message.toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    }
}

}  // namespace

int runDesktop(int argc, char** argv, const std::string& projectFile,
               const DesktopStarted& started) {
    if (!displayAvailable()) {
        std::fputs(
            "tallyweaver: no display to open the desktop program's window on (neither "
            "DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Start it on a graphical desktop, or give options for a console count "
            "(tallyweaver --help).\n",
            stderr);
        return 1;
    }

    previousHandler = qInstallMessageHandler(startupMessageHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(previousHandler);

    // The settings file is named after the executable: ~/.config/<name>/<name>.ini.
    const QString name = argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName()
                                  : QStringLiteral("tallyweaver");
    QApplication::setApplicationName(name);
    QApplication::setApplicationVersion(QStringLiteral(TW_VERSION));
    // The desktop entry installed with the program: the desktop groups the window under it.
    QGuiApplication::setDesktopFileName(QStringLiteral("tallyweaver"));
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, name, name);
    ui::RecentProjects recentProjects(&settings);

    ui::CTallyweaverDoc document(&recentProjects);
    ui::CMainFrame frame(document);
    frame.setSettings(&settings);
    // The place the window had when it was last closed; at the first start three quarters of
    // the screen, centred. Not maximised: the size the user then gives it is what is kept.
    frame.restoreWindowState();
    frame.show();

    if (!projectFile.empty()) {
        // Opened once the event loop runs, so a message about the file shows over the window;
        // queued before anything `started` queues, which then sees the opened project. The
        // path is made absolute for the recent-project list, which is used from any directory.
        const QString path =
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(projectFile))).absoluteFilePath();
        QTimer::singleShot(0, &frame, [&frame, path] { frame.openProjectFile(path); });
    }
    if (started) {
        started(frame);
    }
    return QApplication::exec();
}

}  // namespace tw
