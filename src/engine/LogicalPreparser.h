#pragma once

#include <cstddef>
#include <string_view>

#include "engine/CommentWordChars.h"
#include "engine/CountMode.h"
#include "engine/FileCount.h"
#include "engine/SourceText.h"

namespace tw {

/// The fixed patterns of the logical pre-parser, as the counting rules write them.
namespace logicalPreparserPatterns {
inline constexpr std::u16string_view kNumbers =
    u"(([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE](\\+|-)?[0-9]+)?[fFlL]?)";
inline constexpr std::u16string_view kCommentWords = u"\\b\\w+('s)?\\b";
inline constexpr std::u16string_view kCppArrayInitialiser = u"(\\[\\s*\\w*\\s*\\]\\s*)+=\\s*\\{";
inline constexpr std::u16string_view kJavaEmptyBrackets = u"\\[\\s*\\]";
inline constexpr std::u16string_view kJavaInitialiser =
    u"(=\\s*(new\\s+[_a-zA-Z]\\w*\\s*\\[|\\{))|(=\\s*\\{)";
inline constexpr std::u16string_view kJavaImport =
    u"import\\s+(\\s*[_a-zA-Z]\\w*\\s*\\.)+\\s*([_a-zA-Z]\\w*|\\*)\\s*;";
inline constexpr std::u16string_view kJavaPackage =
    u"package\\s+(\\s*[_a-zA-Z]\\w*\\s*\\.)+\\s*[_a-zA-Z]\\w*\\s*;";
inline constexpr std::u16string_view kJavaAnnotationType = u"\\s(@)interface\\s";
inline constexpr std::u16string_view kJavaAnnotation = u"@\\s*[_a-zA-Z]\\w*(\\s*\\()?";
}  // namespace logicalPreparserPatterns

/// Prepares the text for statement counting: numbers become runs of '0', remaining literals
/// are blanked, comments are blanked after their words are counted (in every mode), C/C++
/// directives are blanked (and counted in the Executable mode); in the two statement modes also
/// array initialiser bodies are blanked, and Java imports, packages and annotations blanked or
/// counted (as directives in the Executable mode). The Cyclomatic Complexity mode keeps the
/// numbers as written and notes the conditional directives in `text.conditionals`.
bool preparseLogical(FileCount& record, SourceText& text, CountMode mode);

/// Words in `text[from, to)`: runs of word characters (letters and digits of any script, marks
/// and '_', with a trailing "'s") holding at least one letter or digit, as the comment-words
/// pattern finds them in ASCII text. The range is taken as a whole text; `form` tells how its
/// units stand for characters.
int countCommentWords(std::u16string_view text, std::size_t from, std::size_t to, UnitForm form);

/// Overwrites every number with '0's, as the numbers pattern finds them (the digits of a name
/// included); returns how many there were.
int zeroNumbers(std::u16string& text);
/// The same within `text[from, to)`, taken as a whole text.
int zeroNumbers(std::u16string& text, std::size_t from, std::size_t to);

/// Blanks "[...] = { ... }" initialisers of C/C++ arrays, brackets and '=' included.
bool clearCppArrayInitialisers(SourceText& text, FileCount& record);

/// Blanks Java "[]" pairs and the braces of array initialisers.
bool clearJavaArrayInitialisers(SourceText& text, FileCount& record);

/// Counts and blanks Java imports and packages, counts annotations and blanks their argument
/// lists; -1 after a failure.
int countJavaDirectives(SourceText& text, FileCount& record);

}  // namespace tw
