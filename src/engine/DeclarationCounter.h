#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/FileCount.h"
#include "engine/Pattern.h"

namespace tw {

/// The fixed patterns of the declaration stages: as the counting rules write them, and the
/// forms the engine runs where the written ones backtrack without end or split long white
/// space in many ways (same texts accepted; only whole-text matches are asked of them).
namespace declarationPatterns {
inline constexpr std::u16string_view kTemplateList =
    u"<\\s*([_a-zA-Z]\\w*\\s+)*\\s*[_a-zA-Z]\\w*[&*\\s]*"
    u"(,(\\s*[_a-zA-Z]\\w*\\s+)*\\s*[_a-zA-Z]\\w*[&*\\s]*)*\\s*>";
/// One element (words separated by blanks, then '&', '*' and blanks) repeated after commas.
inline constexpr std::u16string_view kTemplateListRunning =
    u"<\\s*+[_a-zA-Z]\\w*+(?:\\s++[_a-zA-Z]\\w*+)*+[&*\\s]*+"
    u"(?:,\\s*+[_a-zA-Z]\\w*+(?:\\s++[_a-zA-Z]\\w*+)*+[&*\\s]*+)*+>";
inline constexpr std::u16string_view kStatement = u"([_a-zA-Z]\\w*[&*]*\\s+.*;)";
inline constexpr std::u16string_view kFirstDeclarator =
    u"([_a-zA-Z]\\w*[&*]*\\s+)+(\\s*[&*]*\\s*[_a-zA-Z@]+\\w*\\s*(=[^,;]*)?)";
/// Each type word keeps all the blanks after it, so blanks are not shared out between the
/// type words and the declarator in every possible way.
inline constexpr std::u16string_view kFirstDeclaratorRunning =
    u"(?>[_a-zA-Z]\\w*[&*]*\\s+)+\\s*+[&*]*+\\s*+[_a-zA-Z@]++\\w*+\\s*+(?:=[^,;]*+)?";
inline constexpr std::u16string_view kFurtherDeclarator =
    u"(\\s*[&*]*\\s*[_a-zA-Z@]+\\w*\\s*(=[^,;]*)?)";
inline constexpr std::u16string_view kFurtherDeclaratorRunning =
    u"\\s*+[&*]*+\\s*+[_a-zA-Z@]++\\w*+\\s*+(?:=[^,;]*+)?";
inline constexpr std::u16string_view kInitialisedByFunction = u"=\\s*@";
inline constexpr std::u16string_view kTypedef = u"(\\btypedef\\s+[^;]*;)";
inline constexpr std::u16string_view kClassOrStruct = u"(class |struct )";

inline constexpr std::u16string_view kJavaTemplateList =
    u"<\\s*([_a-zA-Z]\\w*\\s+)*\\s*[_a-zA-Z]\\w*\\s*"
    u"(,(\\s*[_a-zA-Z]\\w*\\s+)*\\s*[_a-zA-Z]\\w*\\s*)*\\s*>";
inline constexpr std::u16string_view kJavaTemplateListRunning =
    u"<\\s*+[_a-zA-Z]\\w*+(?:\\s++[_a-zA-Z]\\w*+)*+\\s*+"
    u"(?:,\\s*+[_a-zA-Z]\\w*+(?:\\s++[_a-zA-Z]\\w*+)*+\\s*+)*+>";
inline constexpr std::u16string_view kJavaStatement = u"([_a-zA-Z]\\w*\\s+.*;)";
inline constexpr std::u16string_view kJavaFirstDeclarator =
    u"([_a-zA-Z]\\w*\\s+)+(\\s*[_a-zA-Z@]+\\w*\\s*(=[^,;]*)?)";
inline constexpr std::u16string_view kJavaFirstDeclaratorRunning =
    u"(?>[_a-zA-Z]\\w*\\s+)+\\s*+[_a-zA-Z@]++\\w*+\\s*+(?:=[^,;]*+)?";
inline constexpr std::u16string_view kJavaFurtherDeclarator =
    u"(\\s*[_a-zA-Z@]+\\w*\\s*(=[^,;]*)?)";
inline constexpr std::u16string_view kJavaFurtherDeclaratorRunning =
    u"\\s*+[_a-zA-Z@]++\\w*+\\s*+(?:=[^,;]*+)?";
inline constexpr std::u16string_view kJavaClassKeyword = u"(class |struct |interface )";
}  // namespace declarationPatterns

/// What stage 3 found besides its declaration count.
struct DeclarationTally {
    int initialisers = 0;  ///< '=' characters of accepted declarations
    /// Accepted declarators whose '@' is not an initialiser, whoever wrote the '@'. The chain
    /// takes back only those whose '@' the function stage wrote (`declaratorMarkers`).
    int functionDeclarators = 0;
    /// Where the '@' of each counted function declarator stands, in text order.
    std::vector<std::size_t> declaratorMarkers;
};

/// Stage 3 of the Executable chain for C/C++: glues template argument lists into words, then
/// counts and blanks declaration statements (every declarator counts; initialisers and
/// function declarators are reported for `code`), typedefs that are left, and the keywords
/// class and struct. -1 after a failure, with `remarks` set.
int countCppDeclarations(std::u16string& text, FileCount& record, DeclarationTally& tally);

/// The same with the outputs the counting rules name.
int countCppDeclarations(std::u16string& text, FileCount& record, int& initialisers,
                         int& functionDeclarators);

/// Stage 3 for Java: the same phases with the Java patterns and no typedefs. Fails only when
/// the pattern engine gives up (`remarks` set).
int countJavaDeclarations(std::u16string& text, FileCount& record, DeclarationTally& tally);

/// The same with the outputs the counting rules name.
int countJavaDeclarations(std::u16string& text, FileCount& record, int& initialisers,
                          int& functionDeclarators);

/// The first match of the declaration statement pattern (`java` selects the Java one) in
/// `text` from `from`, taken as the start of the text. Lines that hold no ';' where the
/// statement's rest would begin are stepped over without trying every start on them, so a long
/// line without ';' costs one pass rather than one pass per word. Positions in `match` are
/// absolute.
MatchStatus findDeclarationStatement(std::u16string_view text, std::size_t from, bool java,
                                     PatternMatch& match);

}  // namespace tw
