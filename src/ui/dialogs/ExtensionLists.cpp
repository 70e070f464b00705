#include "ui/dialogs/ExtensionLists.h"

namespace tw::ui {

ExtensionLists& rememberedExtensions() {
    static ExtensionLists lists;
    return lists;
}

void addDefaultExtensions(ExtensionLists& lists) {
    if (!lists.included.isEmpty()) {
        return;
    }
    lists.included << QStringLiteral(".c") << QStringLiteral(".cpp") << QStringLiteral(".h")
                   << QStringLiteral(".hpp") << QStringLiteral(".rc") << QStringLiteral(".java");
    lists.unused << QStringLiteral(".cc") << QStringLiteral(".cxx") << QStringLiteral(".hh")
                 << QStringLiteral(".hxx") << QStringLiteral(".inl") << QStringLiteral(".txt")
                 << QString::fromUtf16(kNoExtension);
}

CustomExtension checkCustomExtension(const QString& typed) {
    CustomExtension check;
    if (typed.isEmpty()) {
        check.status = CustomExtension::Status::Empty;
        return check;
    }
    QString text = typed;
    if (!text.startsWith(QLatin1Char('.'))) {
        text.prepend(QLatin1Char('.'));
    }
    static const QString refused = QStringLiteral("|<>\\^=?/[]\";*.");
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (refused.contains(text.at(i))) {
            check.status = CustomExtension::Status::IllegalCharacter;
            check.illegal = text.at(i);
            return check;
        }
    }
    check.status = CustomExtension::Status::Accepted;
    check.text = text;
    return check;
}

QString customExtensionMessage(const CustomExtension& check) {
    switch (check.status) {
        case CustomExtension::Status::Empty:
            return QStringLiteral("Please enter an extension (may begin with a period).");
        case CustomExtension::Status::IllegalCharacter:
            return QStringLiteral("Illegal character in extension: '%1'").arg(check.illegal);
        case CustomExtension::Status::Accepted:
            break;
    }
    return QString();
}

}  // namespace tw::ui
