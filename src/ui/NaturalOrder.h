#pragma once

#include <QCollator>
#include <QString>

namespace tw::ui {

/// The order people expect of names: numbers by their value ("_2.c" before "_10.c"), letter
/// case ignored, letters as the user's language orders them (the default `QLocale`).
class NaturalOrder {
  public:
    NaturalOrder();

    /// Negative, zero or positive as `a` goes before, with or after `b`.
    int compare(const QString& a, const QString& b) const { return collator_.compare(a, b); }
    bool less(const QString& a, const QString& b) const { return compare(a, b) < 0; }

  private:
    QCollator collator_;
};

}  // namespace tw::ui
