#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include "project/ScanRequest.h"

namespace tw::ui {

/// The extensions of the Add Folder dialog, kept for the rest of the process so the dialog
/// reopens with the user's last choice. Never saved to disk.
struct ExtensionLists {
    QStringList included;
    QStringList unused;
};

/// The process-wide lists.
ExtensionLists& rememberedExtensions();

/// When `lists.included` is empty, appends the default included and unused extensions, from the
/// language table (the unused ones are appended even when the unused list already holds them).
void addDefaultExtensions(ExtensionLists& lists);

/// The outcome of checking a typed custom extension.
struct CustomExtension {
    enum class Status { Accepted, Empty, IllegalCharacter };
    Status status = Status::Empty;
    /// The extension as it is stored: the typed text with a period put in front when it had
    /// none. Set when accepted.
    QString text;
    /// The first refused character after the leading period.
    QChar illegal;
};

/// Checks the text typed as a custom extension: it must not be empty, and after its leading
/// period it must hold none of | < > \ ^ = ? / [ ] " ; * and no second period.
CustomExtension checkCustomExtension(const QString& typed);

/// The message that tells the user why `check` was refused; empty when it was accepted.
QString customExtensionMessage(const CustomExtension& check);

}  // namespace tw::ui
