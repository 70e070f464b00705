#pragma once

#include <QAbstractButton>
#include <QList>
#include <QObject>
#include <QtGlobal>

#include "ui/common/MessageBox.h"

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

/// Answers every message box with OK while it lives and keeps what each one said.
class MessageRecorder {
  public:
    MessageRecorder() {
        ui::MessageBox::setHandler([this](const ui::MessageBox::Request& request) {
            shown.append(request);
            return QMessageBox::Ok;
        });
    }
    ~MessageRecorder() { ui::MessageBox::resetHandler(); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QList<ui::MessageBox::Request> shown;
};

}  // namespace tw::test
