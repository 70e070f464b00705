#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace tw::ui {

/// Every message box of the desktop program goes through here, so a test can answer it
/// without a window: it installs a handler that records the box and returns the button.
class MessageBox {
  public:
    /// What a test's handler is given.
    struct Request {
        QWidget* parent = nullptr;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    using Handler = std::function<QMessageBox::StandardButton(const Request&)>;

    /// Shows a modal box (or asks the test handler) and returns the button pressed. The title
    /// is "Tallyweaver" when none is given.
    static QMessageBox::StandardButton show(QWidget* parent, const QString& text,
                                            const QString& title = QString(),
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                            QMessageBox::Icon icon = QMessageBox::NoIcon);

    /// Replaces the real boxes with `handler` until `resetHandler`; for tests.
    static void setHandler(Handler handler);
    static void resetHandler();
};

/// A file or folder name for the text of a box: control characters shown as '?', so that a
/// name cannot break the message's lines.
QString printableInMessage(const QString& name);

}  // namespace tw::ui
