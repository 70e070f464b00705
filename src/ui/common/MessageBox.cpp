#include "ui/common/MessageBox.h"

#include "report/PrintableName.h"

namespace tw::ui {
namespace {

MessageBox::Handler& handler() {
    static MessageBox::Handler installed;
    return installed;
}

}  // namespace

QMessageBox::StandardButton MessageBox::show(QWidget* parent, const QString& text,
                                             const QString& title,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::Icon icon) {
    const QString caption = title.isEmpty() ? QStringLiteral("Tallyweaver") : title;
    if (handler()) {
        return handler()(Request{parent, caption, text, buttons, icon});
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::setHandler(Handler replacement) {
    handler() = std::move(replacement);
}

void MessageBox::resetHandler() {
    handler() = nullptr;
}

QString printableInMessage(const QString& name) {
    return QString::fromStdU16String(printableName(name.toStdU16String()));
}

}  // namespace tw::ui
