#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/FileCount.h"
#include "engine/Pattern.h"
#include "engine/SourceText.h"

namespace tw {

/// The fixed patterns of function recognition: as the counting rules write them, and the forms
/// the engine runs where the written ones backtrack without end (same texts accepted; only
/// whole-text matches are asked of them).
namespace functionPatterns {
inline constexpr std::u16string_view kCast =
    u"\\(\\s*([_a-zA-Z]+\\w*\\s+)*[_a-zA-Z]+\\w*[&*\\s]*\\)";
/// One letter and then word characters instead of letters-then-word-characters (which splits a
/// word in every way), and no giving back inside runs that can only end one way.
inline constexpr std::u16string_view kCastRunning =
    u"\\(\\s*+(?:[_a-zA-Z]\\w*+\\s++)*[_a-zA-Z]\\w*+[&*\\s]*+\\)";
inline constexpr std::u16string_view kTemplateArgument =
    u"(\\s*(class|typename)\\s*)?(\\s*\\w+\\s*::)*(\\s*\\w+\\s*)+"
    u"(=(\\s*\\w+\\s*::)*(\\s*\\w+\\s*)+)?";
/// A run of words and blanks holding at least one word character is `\s*\w[\w\s]*`.
inline constexpr std::u16string_view kTemplateArgumentRunning =
    u"(?:\\s*+(?:class|typename)\\s*+)?(?:\\s*+\\w++\\s*+::)*+\\s*+\\w[\\w\\s]*+"
    u"(?:=(?:\\s*+\\w++\\s*+::)*+\\s*+\\w[\\w\\s]*+)?";
inline constexpr std::u16string_view kFunctionName = u"[a-zA-Z_]\\w*\\s*";
inline constexpr std::u16string_view kKeyword = u"(for|while|if|switch|return|case|sizeof)\\s*";
}  // namespace functionPatterns

/// What stage 1 found besides its count.
struct FunctionTally {
    int allCapsFunctions = 0;   ///< recognised functions whose name is all upper case
    int argumentOperators = 0;  ///< operators counted inside their argument lists
    /// Where each recognised function's '@' marker was written, in the order written, and
    /// whether that function's name is all upper case.
    struct Marker {
        std::uint32_t position;  // a text holds fewer than 2^31 code units
        bool allCaps;
    };
    std::vector<Marker> markers;
};

/// Stage 1 of the Executable chain, for every file type: at each ')' decides whether the group
/// it closes is a cast (counted, blanked) or a function call or definition (counted, its
/// argument-list operators counted, overwritten with '@' and '_'), innermost groups first.
/// Returns casts plus functions, or -1 after a failure with `remarks` and `errorLine` set.
int countFunctions(SourceText& text, FileCount& record, FunctionTally& tally);

/// The same with the outputs the counting rules name.
int countFunctions(SourceText& text, FileCount& record, int& allCapsFunctions,
                   int& argumentOperators);

/// The text from the start of the callee's name through the ')' at `close`: the last name before
/// the parenthesis, with a template argument list between them, or from the start of the text
/// when only blanks (or such a list) come before. Empty when a character that cannot belong to
/// a template list stands between '<' and '>'. False, with "Unable to find opening parenthesis."
/// and the line of `close`, when the ')' has no '('.
bool captureCallText(const SourceText& text, FileCount& record, std::size_t close,
                     std::u16string& capture);

/// Whether the first parenthesised group at or after `start` is a cast: it matches the cast
/// pattern and is followed (after blanks) by an identifier or '('. Error when the pattern
/// engine gave up.
MatchStatus isCast(std::u16string_view text, std::size_t start);

/// Verdict on a captured call text.
enum class FunctionVerdict { NotFunction, Function, Failed };

/// Whether `capture` is a function call or definition: its template argument lists (innermost
/// first) hold only template arguments, a name stands before the '(' and is no keyword. For a
/// function, `operators` gets the operator count of the argument list (C/C++ operators, for
/// every file type) and `allCaps` tells whether the name is only the letters A to Z. Failed,
/// with `remarks` set, when pattern matching or operator counting failed.
FunctionVerdict parseFunction(std::u16string_view capture, FileCount& record, int& operators,
                              bool& allCaps);

}  // namespace tw
