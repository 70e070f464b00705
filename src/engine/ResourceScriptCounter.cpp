#include "engine/ResourceScriptCounter.h"

#include "engine/CountTrace.h"
#include "engine/WideChar.h"

namespace tw {

bool isBlank(std::u16string_view text) {
    for (const char16_t c : text) {
        if (!isWhiteSpaceChar(c)) {
            return false;
        }
    }
    return true;
}

bool parseResourceScriptLogical(const SourceText& text, FileCount& record) {
    record.code = 0;
    std::u16string_view chars = text.chars;
    if (!chars.empty() && chars.back() == kEndMark) {
        chars.remove_suffix(1);
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t lineFeed = chars.find(u'\n', start);
        const std::size_t stop = lineFeed == std::u16string_view::npos ? chars.size() : lineFeed;
        if (!isBlank(chars.substr(start, stop - start))) {
            ++record.code;
            CountTrace::note(text.chars, start, TraceKind::Statement);
        }
        if (lineFeed == std::u16string_view::npos) {
            return true;
        }
        start = lineFeed + 1;
    }
}

}  // namespace tw
