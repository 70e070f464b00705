#include "report/TextFile.h"

#include "engine/TextConversion.h"

namespace tw {

std::string textFileBytes(std::u16string_view text) {
    const std::string utf8 = utf8FromUtf16(text, LoneSurrogate::Question);
    std::string bytes;
    bytes.reserve(utf8.size() + utf8.size() / 16);
    for (const char c : utf8) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            bytes += '\r';
        }
        bytes += c;
    }
    return bytes;
}

std::string csvFileBytes(std::u16string_view text) {
    return utf8FromUtf16(text, LoneSurrogate::Question);
}

std::string lineFeedTextBytes(std::u16string_view text) {
    std::string bytes = utf8FromUtf16(text, LoneSurrogate::Question);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            bytes[kept++] = bytes[i];
        }
    }
    bytes.resize(kept);
    return bytes;
}

}  // namespace tw
