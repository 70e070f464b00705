#pragma once

#include <QAbstractButton>
#include <QList>
#include <QObject>
#include <QtGlobal>

#include <utility>
#include <vector>

#include "ui/common/MessageBox.h"
#include "ui/common/Shell.h"

namespace tw::test {

/// The child of `parent` named `name`; stops the test program when there is none, since every
/// test below relies on the dialogs' object names.
template <typename T>
T* child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no child named %s", name);
    }
    return found;
}

/// Answers every message box with the next of `answers`, or OK once they are used up, while
/// it lives, and keeps what each one said.
class MessageRecorder {
  public:
    MessageRecorder() {
        ui::MessageBox::setHandler([this](const ui::MessageBox::Request& request) {
            shown.append(request);
            return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
        });
    }
    ~MessageRecorder() { ui::MessageBox::resetHandler(); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QList<ui::MessageBox::Request> shown;
    QList<QMessageBox::StandardButton> answers;
};

/// Records what would have been handed to other programs.
class ShellRecorder {
  public:
    ShellRecorder() {
        ui::Shell::setHandler([this](ui::Shell::Action action, const QString& target) {
            requests.emplace_back(action, target);
            return succeeds;
        });
    }
    ~ShellRecorder() { ui::Shell::resetHandler(); }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    QStringList targets(ui::Shell::Action action) const {
        QStringList result;
        for (const auto& [kind, target] : requests) {
            if (kind == action) {
                result.append(target);
            }
        }
        return result;
    }

    std::vector<std::pair<ui::Shell::Action, QString>> requests;
    /// What the recorded launches answer: false stands for a desktop without the program.
    bool succeeds = true;
};

}  // namespace tw::test
