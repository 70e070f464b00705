#include "engine/CommaPieces.h"

namespace tw {

MatchStatus matchEveryPiece(std::u16string_view text, const Pattern& pattern) {
    MatchStatus result = MatchStatus::Found;
    forEachCommaPiece(text, [&](std::u16string_view piece, std::size_t) {
        result = pattern.fullMatch(piece);
        return result == MatchStatus::Found;
    });
    return result;
}

}  // namespace tw
