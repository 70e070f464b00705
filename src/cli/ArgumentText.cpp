#include "cli/ArgumentText.h"

#include "engine/TextConversion.h"

namespace tw {

std::u16string argumentText(std::string_view bytes) {
    return utf16FromUtf8(bytes, InvalidUtf8::Escape);
}

std::string diskBytes(std::u16string_view text) {
    return utf8FromUtf16(text, LoneSurrogate::Unescape);
}

std::u16string displayText(std::u16string_view text) {
    std::u16string shown(text);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const char16_t unit = shown[i];
        const bool pairedLow = i > 0 && shown[i - 1] >= 0xD800 && shown[i - 1] <= 0xDBFF;
        if (unit >= 0xDC80 && unit <= 0xDCFF && !pairedLow) {
            shown[i] = u'\uFFFD';
        }
    }
    return shown;
}

std::u16string stripQuotes(std::u16string text) {
    const auto isQuote = [](char16_t c) { return c == u'"' || c == u'\''; };
    if (!text.empty() && isQuote(text.front())) {
        text.erase(0, 1);
    }
    if (!text.empty() && isQuote(text.back())) {
        text.pop_back();
    }
    return text;
}

}  // namespace tw
