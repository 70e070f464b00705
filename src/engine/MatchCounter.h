#pragma once

#include <optional>
#include <string>

#include "engine/CountTrace.h"
#include "engine/Pattern.h"

namespace tw {

/// Counts the matches of `pattern` in `text` and overwrites, in place, the lowest-numbered
/// capturing group of each match: a line feed becomes the newline marker, anything else `fill`.
/// With `extendWhitespace` the blanks on both sides of the group are overwritten too. Each
/// search starts where the previous group ended and treats that position as the start of the
/// text. Returns -1 when a match has no participating group or the pattern engine fails. With
/// `noteAs`, each match is noted to a trace that watches `text`, at the start of its group.
int countMatches(std::u16string& text, const Pattern& pattern, char16_t fill, bool extendWhitespace,
                 std::optional<TraceKind> noteAs = std::nullopt);

/// As above, with a scanner that stands in for the pattern.
int countMatches(std::u16string& text, PatternScanner scan, char16_t fill, bool extendWhitespace,
                 std::optional<TraceKind> noteAs = std::nullopt);

/// Overwrites `text[from, to)`: a line feed becomes the newline marker, anything else `fill`.
void overwriteSpan(std::u16string& text, std::size_t from, std::size_t to, char16_t fill);

/// Overwrites `text[from, to)` with spaces and keeps its line feeds.
void blankKeepingLineFeeds(std::u16string& text, std::size_t from, std::size_t to);

}  // namespace tw
