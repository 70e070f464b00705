#pragma once

#include <string_view>

#include "engine/FileCount.h"
#include "engine/SourceText.h"

namespace tw {

/// The fixed patterns of the logic stages.
namespace logicPatterns {
inline constexpr std::u16string_view kCppLogic =
    u"\\b(if\\s+\\(|else\\s+if\\s+\\(|else|while\\s+\\(|for\\s+\\(|case|switch\\s+\\(|"
    u"continue\\b|break\\b|default\\b|return\\b|goto\\b|try\\b|catch\\b)";
inline constexpr std::u16string_view kJavaLogic =
    u"\\b(if\\s+\\(|else\\s+if\\s+\\(|else|while\\s+\\(|for\\s+\\(|case|switch\\s+\\(|"
    u"continue\\b|break\\b|default\\b|return\\b|goto\\b|try\\b|catch\\b|finally\\b)";
}  // namespace logicPatterns

/// Stage 4 of the Executable chain for C/C++: counts control-flow keywords, one statement each,
/// and blanks them; a keyword followed by a parenthesised condition is blanked with it, and the
/// condition's operators go to `conditionOperators`. -1 after a failure: a condition whose
/// parentheses never close leaves `remarks` empty and `errorLine` at the keyword.
int countCppLogic(SourceText& text, FileCount& record, int& conditionOperators);

/// Stage 4 for Java: as the C/C++ stage, with 'finally' and Java operators in conditions.
int countJavaLogic(SourceText& text, FileCount& record, int& conditionOperators);

}  // namespace tw
