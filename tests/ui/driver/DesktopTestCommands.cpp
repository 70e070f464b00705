#include "driver/DesktopTestCommands.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>

#include "engine/CountMode.h"
#include "project/ProjectFolder.h"
#include "ui/CFileView.h"
#include "ui/CFolderView.h"
#include "ui/CFunctionsPane.h"
#include "ui/CMainFrame.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/CommandIds.h"
#include "ui/FileListModel.h"
#include "ui/HelpPages.h"
#include "ui/RecentProjects.h"
#include "ui/common/MessageBox.h"
#include "ui/dialogs/ExtensionLists.h"
#include "ui/dialogs/FolderScan.h"

namespace tw::test {

using namespace tw::ui;

DesktopTestCommands::DesktopTestCommands(ui::CMainFrame& frame, QStringList commands)
    : QObject(&frame), frame_(frame), commands_(std::move(commands)) {
    MessageBox::setHandler([this](const MessageBox::Request& request) {
        print(QStringLiteral("message: ") + request.title + QStringLiteral(": ") + request.text);
        if (request.buttons.testFlag(QMessageBox::Discard)) {
            return QMessageBox::Discard;
        }
        return request.buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
    });
    // Dialogs that open by themselves (the Errors dialog after a run) are closed the same way.
    auto* dialogs = new QTimer(this);
    connect(dialogs, &QTimer::timeout, this, [this] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            print(QStringLiteral("dialog: ") + dialog->windowTitle());
            // With TALLYWEAVER_TEST_DIALOG_PICTURES set to a folder, each such dialog is
            // pictured there first, as TITLE.png.
            const QString pictures = qEnvironmentVariable("TALLYWEAVER_TEST_DIALOG_PICTURES");
            if (!pictures.isEmpty() && dialog->isVisible()) {
                dialog->grab().save(
                    pictures + QLatin1Char('/') + dialog->windowTitle() + QStringLiteral(".png"),
                    "PNG");
            }
            dialog->accept();
        }
    });
    dialogs->start(100);
}

DesktopTestCommands::~DesktopTestCommands() {
    MessageBox::resetHandler();
}

QStringList DesktopTestCommands::fromEnvironment() {
    const QString text = qEnvironmentVariable("TALLYWEAVER_TEST_COMMANDS");
    QStringList commands;
    for (const QString& command : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!command.trimmed().isEmpty()) {
            commands.append(command.trimmed());
        }
    }
    return commands;
}

void DesktopTestCommands::start() {
    QTimer::singleShot(0, this, &DesktopTestCommands::next);
}

void DesktopTestCommands::print(const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void DesktopTestCommands::whenExposed(const std::function<void()>& then, int triesLeft) {
    QWindow* window = frame_.windowHandle();
    if ((window != nullptr && window->isExposed() && frame_.currentView() != nullptr) ||
        triesLeft <= 0) {
        then();
        return;
    }
    QTimer::singleShot(20, this, [this, then, triesLeft] { whenExposed(then, triesLeft - 1); });
}

void DesktopTestCommands::next() {
    if (commands_.isEmpty()) {
        return;
    }
    const QString command = commands_.takeFirst();
    const qsizetype space = command.indexOf(QLatin1Char(' '));
    const QString name = space < 0 ? command : command.left(space);
    const QString argument = space < 0 ? QString() : command.mid(space + 1).trimmed();
    const auto done = [this](const QString& line) {
        print(line);
        QTimer::singleShot(0, this, &DesktopTestCommands::next);
    };

    if (name == QLatin1String("title")) {
        whenExposed([this, done] {
            QString title = frame_.windowTitle();
            title.replace(QStringLiteral("[*]"),
                          frame_.isWindowModified() ? QStringLiteral("*") : QString());
            done(QStringLiteral("title: ") + title);
        });
    } else if (name == QLatin1String("geometry")) {
        whenExposed([this, done] {
            const QScreen* screen = frame_.screen();
            const QSize available =
                screen != nullptr ? screen->availableGeometry().size() : QSize();
            done(QStringLiteral("geometry: %1x%2 of %3x%4")
                     .arg(frame_.width())
                     .arg(frame_.height())
                     .arg(available.width())
                     .arg(available.height()));
        });
    } else if (name == QLatin1String("start-count")) {
        // Starts a run and goes on at once, to look at the window while it counts.
        frame_.action(ID_ACTION_COUNT)->trigger();
        done(QStringLiteral("counting: ") +
             (frame_.isCounting() ? QStringLiteral("yes") : QStringLiteral("no")));
    } else if (name == QLatin1String("sort")) {
        // "sort <column> <asc|desc>": as clicks on the column's header would.
        const QStringList parts = argument.split(QLatin1Char(' '));
        if (CFileView* view = frame_.fileView()) {
            view->sortByColumn(parts.value(0).toInt(), parts.value(1) == QLatin1String("desc")
                                                           ? Qt::DescendingOrder
                                                           : Qt::AscendingOrder);
        }
        done(QStringLiteral("sorted: ") + argument);
    } else if (name == QLatin1String("add-folder")) {
        ExtensionLists defaults;
        addDefaultExtensions(defaults);
        frame_.addFolderFiles(
            scanFolderForFiles(QFile::encodeName(argument).toStdString(), defaults.included, true));
        done(QStringLiteral("added: ") + argument);
    } else if (name == QLatin1String("count")) {
        if (!frame_.action(ID_ACTION_COUNT)->isEnabled()) {
            done(QStringLiteral("count: nothing to count"));
            return;
        }
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = connect(&frame_, &CMainFrame::countRunClosed, this, [this, done, connection] {
            disconnect(*connection);
            done(QStringLiteral("count: ") + frame_.statusText());
        });
        frame_.action(ID_ACTION_COUNT)->trigger();
    } else if (name == QLatin1String("view")) {
        frame_
            .action(argument == QLatin1String("files-only") ? ID_VIEW_FILES_ONLY
                                                            : ID_VIEW_FOLDERS_AND_FILES)
            ->trigger();
        done(QStringLiteral("view: ") + argument);
    } else if (name == QLatin1String("select-folder")) {
        // The tree item of the project folder that stands for the directory on disk.
        const std::u16string record =
            recordPathOf((argument + QStringLiteral("/x")).toStdU16String());
        const QString folder = QString::fromStdU16String(folderPathOf(record));
        CFolderView* tree = frame_.folderView();
        const QModelIndex item = tree != nullptr ? tree->findItem(folder) : QModelIndex();
        if (item.isValid()) {
            tree->selectItem(item);
        }
        done(QStringLiteral("selected: ") + (item.isValid() ? folder : QStringLiteral("nothing")));
    } else if (name == QLatin1String("files")) {
        whenExposed([this, done] {
            const CFileView* view = frame_.fileView();
            const int rows = view != nullptr ? view->listModel().fileRowCount() : 0;
            for (int row = 0; row < rows; ++row) {
                print(QStringLiteral("file: ") + view->listModel().cellText(row, ColumnFileName) +
                      QStringLiteral(" code ") + view->listModel().cellText(row, ColumnCode));
            }
            done(QStringLiteral("files: %1").arg(rows));
        });
    } else if (name == QLatin1String("recent")) {
        const RecentProjects* recent = frame_.document().recentProjects();
        const QStringList entries = recent != nullptr ? recent->entries() : QStringList();
        for (const QString& entry : entries) {
            print(QStringLiteral("recent: ") + entry);
        }
        done(QStringLiteral("recent projects: %1").arg(entries.size()));
    } else if (name == QLatin1String("help-page")) {
        done(QStringLiteral("help page: ") + helpPageFile(argument));
    } else if (name == QLatin1String("screenshot")) {
        whenExposed([this, done, argument] {
            // Without a window manager nothing maximises the window; give it the screen.
            QScreen* screen = frame_.screen();
            if (screen != nullptr && frame_.size() != screen->availableGeometry().size()) {
                frame_.setGeometry(screen->availableGeometry());
            }
            QTimer::singleShot(500, this, [this, done, argument, screen] {
                QPixmap shot;
                if (screen != nullptr) {
                    shot = screen->grabWindow(frame_.winId());
                }
                if (shot.isNull()) {
                    shot = frame_.grab();
                }
                const bool saved = shot.save(argument, "PNG");
                done(QStringLiteral("screenshot: ") +
                     (saved ? argument : QStringLiteral("failed")));
            });
        });
    } else if (name == QLatin1String("complexity-mode")) {
        // As Project Settings would after Cyclomatic Complexity was chosen.
        frame_.document().settings().mode = CountMode::CyclomaticComplexity;
        frame_.document().resetCounts();
        done(QStringLiteral("mode: complexity"));
    } else if (name == QLatin1String("functions")) {
        frame_.action(ID_VIEW_FUNCTIONS)->trigger();
        done(QStringLiteral("functions pane: ") + (frame_.functionsPane()->isVisible()
                                                       ? QStringLiteral("shown")
                                                       : QStringLiteral("hidden")));
    } else if (name == QLatin1String("column-menu")) {
        // The file list header's menu, open over the window, in a picture of the screen.
        whenExposed([this, done, argument] {
            CFileView* view = frame_.fileView();
            if (view == nullptr) {
                done(QStringLiteral("column menu: no list"));
                return;
            }
            QMenu* menu = view->makeColumnMenu();
            QHeaderView* header = view->horizontalHeader();
            menu->popup(header->mapToGlobal(
                QPoint(header->sectionViewportPosition(ColumnCode), header->height())));
            QTimer::singleShot(500, this, [this, done, argument, menu] {
                QScreen* screen = frame_.screen();
                const QPixmap shot = screen != nullptr ? screen->grabWindow(0) : QPixmap();
                menu->close();
                menu->deleteLater();
                const bool saved = !shot.isNull() && shot.save(argument, "PNG");
                done(QStringLiteral("column menu: ") +
                     (saved ? argument : QStringLiteral("failed")));
            });
        });
    } else if (name == QLatin1String("wait")) {
        QTimer::singleShot(argument.toInt(), this, [done] { done(QStringLiteral("waited")); });
    } else if (name == QLatin1String("close")) {
        print(QStringLiteral("closing"));
        frame_.close();
    } else {
        done(QStringLiteral("unknown command: ") + command);
    }
}

}  // namespace tw::test
