#pragma once

#include <cstddef>
#include <string_view>

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

/// Prepares the text for statement counting in every mode: numbers become runs of '0',
/// remaining literals are blanked, comments are blanked after their words are counted, C/C++
/// directives are blanked (and counted in the Executable mode), array initialiser bodies are
/// blanked, and Java imports, packages and annotations are counted as directives.
bool preparseLogical(FileCount& record, SourceText& text, CountMode mode);

/// Words in `text[from, to)` as the comment-words pattern finds them: runs of word characters
/// (with a trailing "'s") holding at least one letter or digit. The range is taken as a whole
/// text.
int countCommentWords(std::u16string_view text, std::size_t from, std::size_t to);

/// Overwrites every number with '0's, as the numbers pattern finds them (the digits of a name
/// included); returns how many there were.
int zeroNumbers(std::u16string& text);

/// Blanks "[...] = { ... }" initialisers of C/C++ arrays, brackets and '=' included.
bool clearCppArrayInitialisers(SourceText& text, FileCount& record);

/// Blanks Java "[]" pairs and the braces of array initialisers.
bool clearJavaArrayInitialisers(SourceText& text, FileCount& record);

/// Counts and blanks Java imports and packages, counts annotations and blanks their argument
/// lists; -1 after a failure.
int countJavaDirectives(SourceText& text, FileCount& record);

}  // namespace tw
