#pragma once

#include <string>
#include <string_view>

#include "engine/TextConversion.h"

namespace tw::test {

/// UTF-16 from a UTF-8 literal, for tables of cases written as plain strings.
inline std::u16string u16(std::string_view utf8) {
    return utf16FromUtf8(utf8);
}

/// UTF-8 from UTF-16, for readable failure messages.
inline std::string u8(std::u16string_view text) {
    return utf8FromUtf16(text);
}

}  // namespace tw::test
