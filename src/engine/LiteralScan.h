#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/FileType.h"

namespace tw {

/// What a quote character opens. Besides the quoted literals of every file type, C/C++ files
/// have raw strings (R"delim( ... )delim") and Java files text blocks (""" ... """); in a C/C++
/// number a quote is a digit separator (1'000) and opens nothing.
enum class LiteralForm { DigitSeparator, Quoted, RawString, TextBlock };

/// The literal that a quote opens: its form and the position of its last character (the
/// closing quote), or -1 when the text ends first. A digit separator ends where it stands.
struct Literal {
    LiteralForm form;
    std::int64_t end;
};

/// Position of the quote that closes the literal opened at `open`, or -1 when the text ends
/// first. A quote closes only after an even run of backslashes; the other quote is ordinary.
std::int64_t findLiteralEnd(const std::u16string& text, std::size_t open, char16_t quote);

/// Position of the line feed that ends the line on which `from` lies (a line comment, the
/// text of a directive), or `size` when the text ends first. With `spliced` (see
/// `Language::splicesLines`), a line feed right after a backslash does not end it.
std::size_t findLineEnd(const char16_t* text, std::size_t from, std::size_t size, bool spliced);

/// The literal that the quote (double quote or apostrophe) at `quote` opens in a file of
/// `type`. The text before `quote` must be scanned already: the prefix of a raw string and the
/// digits before a separator are read there. A form the text does not complete (a raw string
/// delimiter that is too long or holds a character no delimiter may hold, three double quotes
/// not followed by a line break) is read as a quoted literal.
Literal literalAt(const std::u16string& text, std::size_t quote, FileType type);

}  // namespace tw
