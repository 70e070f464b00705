#pragma once

#include <string>
#include <string_view>

namespace tw {

/// What to do with bytes that are not valid UTF-8.
enum class InvalidUtf8 {
    Replace,  ///< each undecodable byte becomes U+FFFD (names shown to the user)
    Escape,   ///< each undecodable byte b becomes the lone surrogate U+DC00 + b (lossless)
};

/// Decodes UTF-8 bytes into UTF-16 code units.
std::u16string utf16FromUtf8(std::string_view bytes, InvalidUtf8 invalid = InvalidUtf8::Replace);

/// What to do with lone surrogates when encoding UTF-8.
enum class LoneSurrogate {
    Question,  ///< written as '?' (text files for people)
    Unescape,  ///< U+DC80..U+DCFF give back the byte they escape, others '?' (disk paths)
};

/// Encodes UTF-16 code units as UTF-8.
std::string utf8FromUtf16(std::u16string_view text, LoneSurrogate lone = LoneSurrogate::Question);

}  // namespace tw
