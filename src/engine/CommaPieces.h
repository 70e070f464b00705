#pragma once

#include <string_view>

#include "engine/Pattern.h"

namespace tw {

/// Calls `visit(piece, offset)` for each piece of `text` split at ',': the texts between
/// commas, where an empty text after the last comma is no piece (so an empty text has none).
/// Stops and returns false as soon as `visit` returns false.
template <typename Visit>
bool forEachCommaPiece(std::u16string_view text, Visit&& visit) {
    std::size_t start = 0;
    for (std::size_t comma = text.find(u','); comma != std::u16string_view::npos;
         comma = text.find(u',', start)) {
        if (!visit(text.substr(start, comma - start), start)) {
            return false;
        }
        start = comma + 1;
    }
    return start >= text.size() || visit(text.substr(start), start);
}

/// Found when every comma piece of `text` matches `pattern` in full; Error when the pattern
/// engine gave up on one.
MatchStatus matchEveryPiece(std::u16string_view text, const Pattern& pattern);

}  // namespace tw
