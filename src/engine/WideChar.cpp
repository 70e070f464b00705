#include "engine/WideChar.h"

#include <locale.h>
#include <wctype.h>

namespace tw {
namespace {

/// A UTF-8 character-type locale made once; the global locale of the process is left alone.
locale_t wideLocale() {
    static const locale_t locale = [] {
        locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        if (made == nullptr) {
            made = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", nullptr);
        }
        return made;
    }();
    return locale;
}

bool isSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace

char16_t toLowerUnit(char16_t unit) {
    if (unit < 0x80) {
        return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + 32) : unit;
    }
    if (isSurrogate(unit) || wideLocale() == nullptr) {
        return unit;
    }
    const wint_t lower = towlower_l(static_cast<wint_t>(unit), wideLocale());
    // A mapping outside the basic plane cannot be held in one code unit.
    return lower <= 0xFFFF ? static_cast<char16_t>(lower) : unit;
}

char16_t toUpperUnit(char16_t unit) {
    if (unit < 0x80) {
        return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - 32) : unit;
    }
    if (isSurrogate(unit) || wideLocale() == nullptr) {
        return unit;
    }
    const wint_t upper = towupper_l(static_cast<wint_t>(unit), wideLocale());
    return upper <= 0xFFFF ? static_cast<char16_t>(upper) : unit;
}

bool isLetterOrDigit(char16_t unit) {
    if (unit < 0x80) {
        return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
               (unit >= u'0' && unit <= u'9');
    }
    if (isSurrogate(unit) || wideLocale() == nullptr) {
        return false;
    }
    return iswalnum_l(static_cast<wint_t>(unit), wideLocale()) != 0;
}

bool isLetterOrDigitCodePoint(char32_t codePoint) {
    if (codePoint < 0x80) {
        return isLetterOrDigit(static_cast<char16_t>(codePoint));
    }
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF ||
        wideLocale() == nullptr) {
        return false;
    }
    return iswalnum_l(static_cast<wint_t>(codePoint), wideLocale()) != 0;
}

}  // namespace tw
