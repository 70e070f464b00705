#include "engine/TextEncoding.h"

namespace tw {

std::u16string_view textEncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ansi:
            return u"ANSI";
        case TextEncoding::Utf8:
            return u"UTF-8";
        case TextEncoding::Utf16LE:
            return u"UTF-16LE";
        case TextEncoding::Utf16BE:
            return u"UTF-16BE";
        case TextEncoding::Utf32LE:
            return u"UTF-32LE";
        case TextEncoding::Utf32BE:
            return u"UTF-32BE";
    }
    return u"Unknown";
}

}  // namespace tw
