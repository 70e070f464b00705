#pragma once

#include <string_view>

#include "engine/Pattern.h"

namespace tw {

/// The scanners of the operator patterns, one each (see `operatorPatterns`).
namespace operatorScanners {
MatchStatus scope(std::u16string_view subject, PatternMatch& match);
MatchStatus memberAccess(std::u16string_view subject, PatternMatch& match);
MatchStatus incrementDecrement(std::u16string_view subject, PatternMatch& match);
MatchStatus booleanLogic(std::u16string_view subject, PatternMatch& match);
MatchStatus addAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus subtractAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus multiplyAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus divideAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus remainderAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus andAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus xorAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus orAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus shiftRightAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus shiftLeftAssign(std::u16string_view subject, PatternMatch& match);
MatchStatus assign(std::u16string_view subject, PatternMatch& match);
MatchStatus add(std::u16string_view subject, PatternMatch& match);
MatchStatus subtract(std::u16string_view subject, PatternMatch& match);
MatchStatus multiply(std::u16string_view subject, PatternMatch& match);
MatchStatus divide(std::u16string_view subject, PatternMatch& match);
MatchStatus remainder(std::u16string_view subject, PatternMatch& match);
MatchStatus bitwise(std::u16string_view subject, PatternMatch& match);
MatchStatus newDelete(std::u16string_view subject, PatternMatch& match);
MatchStatus ternary(std::u16string_view subject, PatternMatch& match);
MatchStatus javaMemberAccess(std::u16string_view subject, PatternMatch& match);
MatchStatus javaBitwise(std::u16string_view subject, PatternMatch& match);
}  // namespace operatorScanners

/// The scanners of the logic patterns (see `logicPatterns`).
namespace logicScanners {
MatchStatus cpp(std::u16string_view subject, PatternMatch& match);
MatchStatus java(std::u16string_view subject, PatternMatch& match);
}  // namespace logicScanners

/// The scanners of the declaration stage's keyword and typedef patterns (see
/// `declarationPatterns`).
namespace declarationScanners {
MatchStatus classOrStruct(std::u16string_view subject, PatternMatch& match);
MatchStatus javaClassKeyword(std::u16string_view subject, PatternMatch& match);
MatchStatus typedefStatement(std::u16string_view subject, PatternMatch& match);
}  // namespace declarationScanners

/// The whole-text scanners of the function patterns (see `functionPatterns`).
namespace functionScanners {
MatchStatus functionName(std::u16string_view piece);
MatchStatus keyword(std::u16string_view piece);
}  // namespace functionScanners

}  // namespace tw
