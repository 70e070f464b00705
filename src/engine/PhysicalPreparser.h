#pragma once

#include <cstdint>

#include "engine/FileCount.h"
#include "engine/SourceText.h"

namespace tw {

/// Position of the quote that closes the literal opened at `open`, or -1 when the text ends
/// first. A quote closes only after an even run of backslashes; the other quote is ordinary.
std::int64_t findLiteralEnd(const std::u16string& text, std::size_t open, char16_t quote);

/// Position of the line feed that ends the directive whose '#' is at `hash`, or the last
/// position of the text. Steps over comments and blanks literals inside the directive; a line
/// whose last counted character is '\' continues it. -1 after a failure, with `remarks` and
/// `errorLine` (the line of the '#') set.
std::int64_t findDirectiveEnd(SourceText& text, std::size_t hash, FileCount& record);

/// Overwrites `text[from, to]` (both included): a line feed becomes the newline marker, any
/// other character '_'.
void blankLiteral(std::u16string& text, std::size_t from, std::size_t to);

/// Blanks every string and character literal, stepping over comments and directives. Fails on
/// a literal or block comment that never closes.
bool preparsePhysical(SourceText& text, FileCount& record);

}  // namespace tw
