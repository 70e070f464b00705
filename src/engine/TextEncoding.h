#pragma once

#include <cstdint>
#include <string_view>

namespace tw {

/// Encoding of a source file, detected from its byte-order mark when its record is made.
enum class TextEncoding : std::int32_t {
    Ansi = 0,
    Utf8 = 1,
    Utf16LE = 2,
    Utf16BE = 3,
    Utf32LE = 4,
    Utf32BE = 5,
};

/// "ANSI", "UTF-8", ...; any value outside the enumeration reads "Unknown".
std::u16string_view textEncodingName(TextEncoding encoding);

}  // namespace tw
