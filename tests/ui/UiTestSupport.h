#pragma once

// Shared pieces of the desktop program's tests: a main window over a fresh project, answers
// for its message boxes and file dialogs, and source files on disk.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/CountSettings.h"
#include "project/ProjectFolder.h"
#include "ui/CFileView.h"
#include "ui/CFolderView.h"
#include "ui/CMainFrame.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/CommandIds.h"
#include "ui/FileChooser.h"
#include "ui/FileListModel.h"
#include "ui/common/MessageBox.h"
#include "ui/dialogs/DialogTestSupport.h"

namespace tw::test {

inline QString qs(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

/// The window title as the desktop shows it: the modified marker "[*]" as "*" while the window
/// is modified, else nothing.
inline QString shownTitle(const QWidget& window) {
    QString title = window.windowTitle();
    title.replace(QStringLiteral("[*]"),
                  window.isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

/// Records every message box and answers each with the next queued button (once the queue is
/// empty: Discard or No when the box offers it, else OK).
class MessageBoxRecorder {
  public:
    MessageBoxRecorder() {
        ui::MessageBox::setHandler([this](const ui::MessageBox::Request& request) {
            shown.push_back(request);
            if (!answers.empty()) {
                const auto answer = answers.front();
                answers.pop_front();
                return answer;
            }
            if (request.buttons.testFlag(QMessageBox::Discard)) {
                return QMessageBox::Discard;
            }
            return request.buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
        });
    }
    ~MessageBoxRecorder() { ui::MessageBox::resetHandler(); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    QStringList texts() const {
        QStringList result;
        for (const auto& request : shown) {
            result.append(request.text);
        }
        return result;
    }

    std::vector<ui::MessageBox::Request> shown;
    std::deque<QMessageBox::StandardButton> answers;
};

/// Answers the file dialogs from a queue; an empty answer is a cancelled dialog.
class FileChooserScript {
  public:
    FileChooserScript() {
        ui::FileChooser::setHandler([this](const ui::FileChooser::Request& request) {
            asked.push_back(request);
            if (answers.empty()) {
                return QStringList();
            }
            QStringList answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~FileChooserScript() { ui::FileChooser::resetHandler(); }
    FileChooserScript(const FileChooserScript&) = delete;
    FileChooserScript& operator=(const FileChooserScript&) = delete;

    std::vector<ui::FileChooser::Request> asked;
    std::deque<QStringList> answers;
};

/// Answers the modal dialogs that open while it lives: each is handed to `inspect`, then
/// closed with `accept`, or with reject when `inspect` returns false.
class ModalDialogAnswerer {
  public:
    using Inspect = std::function<bool(QDialog&)>;
    explicit ModalDialogAnswerer(Inspect inspect) : inspect_(std::move(inspect)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) {
                return;
            }
            ++answered;
            if (inspect_(*dialog)) {
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        timer_.start();
    }

    int answered = 0;

  private:
    Inspect inspect_;
    QTimer timer_;
};

/// Writes `content` to `name` below `dir`, creating folders; returns the file's path.
inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

/// A small C++ source: 3 code lines, 1 comment line of its own, 1 blank line.
inline QByteArray smallSource() {
    return QByteArrayLiteral("// says hello\nint main() {\n\n    return 0;\n}\n");
}

/// A C++ source of `functions` small functions with a condition each: a run over a few hundred
/// such files lasts many progress ticks.
inline QByteArray slowSource(int functions) {
    QByteArray source;
    for (int i = 0; i < functions; ++i) {
        source += "int f" + QByteArray::number(i) +
                  "(int x) {\n    if (x > 1) { return x * 2; }\n"
                  "    return x; // the same\n}\n\n";
    }
    return source;
}

/// The project path the tree gives to a file on disk.
inline std::u16string projectPathOf(const QString& diskPath) {
    return recordPathOf(diskPath.toStdU16String());
}

/// The project path of the folder holding a file on disk.
inline std::u16string projectFolderOf(const QString& diskPath) {
    return folderPathOf(projectPathOf(diskPath));
}

/// A shown main window over a fresh, untitled project, with its first view made.
class Desktop {
  public:
    Desktop() : document(nullptr), frame(document) {
        countSettings() = CountSettings{};
        frame.resize(1000, 600);
        frame.show();
        QApplication::setActiveWindow(&frame);
        if (!QTest::qWaitForWindowActive(&frame)) {
            qWarning("the main window did not become active");
        }
        QTRY_VERIFY_WITH_TIMEOUT(frame.currentView() != nullptr, 5000);
    }
    ~Desktop() {
        if (frame.isCounting()) {
            frame.countRunState().lock.lock();
            frame.countRunState().stop = true;
            frame.countRunState().lock.unlock();
            QSignalSpy closed(&frame, &ui::CMainFrame::countRunClosed);
            ModalDialogAnswerer errors([](QDialog&) { return true; });
            closed.wait(30000);
        }
        document.setModifiedFlag(false);
    }

    QAction* action(int id) { return frame.action(id); }
    bool enabled(int id) { return frame.action(id)->isEnabled(); }
    ProjectFolder& root() { return document.root(); }
    ui::FileListModel& list() { return frame.fileView()->listModel(); }

    /// Adds the files through Add File(s), answering its dialog with `paths`.
    void addFiles(FileChooserScript& chooser, const QStringList& paths) {
        chooser.answers.push_back(paths);
        action(ui::ID_ACTION_ADD_FILE)->trigger();
    }

    /// Adds `count` files of `slowSource(functions)` in `dir`/src through Add File(s).
    void addSlowFiles(FileChooserScript& chooser, const QTemporaryDir& dir, int count,
                      int functions) {
        const QByteArray source = slowSource(functions);
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths.append(writeFile(
                dir, QStringLiteral("src/f%1.cpp").arg(i, 3, 10, QLatin1Char('0')), source));
        }
        addFiles(chooser, paths);
    }

    /// Starts Count and waits until the run has been closed.
    bool countAndWait(int timeoutMs = 60000) {
        QSignalSpy closed(&frame, &ui::CMainFrame::countRunClosed);
        action(ui::ID_ACTION_COUNT)->trigger();
        if (!frame.isCounting()) {
            return false;
        }
        return closed.wait(timeoutMs);
    }

    /// The texts of one row of the file list.
    QStringList rowTexts(int row) {
        QStringList texts;
        for (int column = 0; column < ui::FileListColumnCount; ++column) {
            texts.append(list().cellText(row, column));
        }
        return texts;
    }

    /// Takes the keyboard focus away from every widget.
    void unfocus() {
        if (QWidget* focused = QApplication::focusWidget()) {
            focused->clearFocus();
        }
        QTRY_VERIFY(QApplication::focusWidget() == nullptr);
    }

    /// Gives the keyboard focus to `widget` and lets the window react.
    void focus(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(widget->hasFocus());
    }

    ui::CTallyweaverDoc document;
    ui::CMainFrame frame;
};

}  // namespace tw::test
