#include "ui/NaturalOrder.h"

#include <QLocale>

namespace tw::ui {

namespace {

/// The C locale compares code units and would ignore the numeric mode: a user without a
/// language gets the English order instead.
QLocale collationLocale() {
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English) : locale;
}

}  // namespace

NaturalOrder::NaturalOrder() : collator_(collationLocale()) {
    collator_.setNumericMode(true);
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

}  // namespace tw::ui
