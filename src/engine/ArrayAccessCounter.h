#pragma once

#include <string_view>

#include "engine/FileCount.h"
#include "engine/SourceText.h"

namespace tw {

/// The fixed pattern of the Java array-access stage: the text in front of a '[' that creates
/// an array rather than indexing one.
namespace arrayAccessPatterns {
inline constexpr std::u16string_view kJavaArrayCreation = u"new\\s+[_a-zA-Z]\\w*\\s*";
}  // namespace arrayAccessPatterns

/// Stage 2 of the Executable chain for C/C++: each ']' closes the nearest '[' before it; the
/// pair counts 1, the operators of the bracket text (brackets included) go to
/// `bracketOperators`, and the pair with its contents is overwritten with '_'. -1 after a
/// failure: a ']' with no '[' before it ("Invalid array access operator", the line of that
/// ']'), or a failed operator count.
int countCppArrayAccess(SourceText& text, FileCount& record, int& bracketOperators);

/// Stage 2 for Java: as the C/C++ stage, except that a pair behind "new Type" (an array
/// creation, also its further dimensions) is overwritten without being counted, and the
/// bracket operators are Java ones.
int countJavaArrayAccess(SourceText& text, FileCount& record, int& bracketOperators);

}  // namespace tw
