#pragma once

#include <cstdint>

#include "engine/FileCount.h"
#include "engine/LiteralScan.h"
#include "engine/SourceText.h"

namespace tw {

/// Position of the line feed that ends the directive whose '#' is at `hash`, or the last
/// position of the text. Steps over comments and blanks literals inside the directive; a line
/// whose last counted character is '\' continues it. -1 after a failure, with `remarks` and
/// `errorLine` (the line of the '#') set.
std::int64_t findDirectiveEnd(SourceText& text, std::size_t hash, FileCount& record);

/// Overwrites `text[from, to]` (both included): a line feed becomes the newline marker, any
/// other character '_'.
void blankLiteral(std::u16string& text, std::size_t from, std::size_t to);

/// Blanks every string and character literal, stepping over comments and directives. Fails on
/// a literal or block comment that never closes. Raw strings and text blocks keep their line
/// feeds, listed in the text's `literalLineFeeds`.
bool preparsePhysical(SourceText& text, FileCount& record);

}  // namespace tw
