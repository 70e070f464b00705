#include "ui/dialogs/ExtensionLists.h"

#include "engine/Language.h"

namespace tw::ui {

ExtensionLists& rememberedExtensions() {
    static ExtensionLists lists;
    return lists;
}

void addDefaultExtensions(ExtensionLists& lists) {
    if (!lists.included.isEmpty()) {
        return;
    }
    // The extensions of the program's languages, those it takes by default included; then
    // two that name no language, for files counted by the rules of C.
    for (const Language& language : languages()) {
        if (!language.counted) {
            continue;
        }
        for (const LanguageExtension& entry : language.extensions) {
            (entry.addedByDefault ? lists.included : lists.unused)
                << QString::fromUtf16(entry.extension.data(), entry.extension.size());
        }
    }
    lists.unused << QStringLiteral(".txt") << QString::fromUtf16(kNoExtension);
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
