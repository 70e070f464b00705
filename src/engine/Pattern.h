#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tw {

/// The address space each matching thread reserves for its pattern-matching stack at its first
/// match, whether it uses it or not.
inline constexpr std::size_t kPatternStackReserve = 16 * 1024 * 1024;

/// Outcome of a search or a full match.
enum class MatchStatus {
    Found,
    NotFound,
    Error,  ///< the engine gave up (match or stack limit); never a silent "no match"
};

/// Where a search matched, relative to the start of the subject.
struct PatternMatch {
    std::size_t begin = 0;  ///< first code unit of the whole match
    std::size_t end = 0;    ///< one past its last code unit
    int group = 0;          ///< lowest-numbered capturing group that took part; 0 when none
    std::size_t groupBegin = 0;
    std::size_t groupEnd = 0;
};

/// A hand-written search that stands in for one fixed pattern: it finds, in `subject` taken as
/// a whole text, the same first match with the same first participating group as the pattern's
/// own search, and fills `match` as that search does. It never fails.
using PatternScanner = MatchStatus (*)(std::u16string_view subject, PatternMatch& match);

/// A hand-written test that stands in for one fixed pattern used as a full match: Found exactly
/// when the whole of `piece` matches. It never fails.
using WholeScanner = MatchStatus (*)(std::u16string_view piece);

/// A fixed regular expression of the engine, compiled once (with JIT) over UTF-16 code units.
/// Keeps the ECMAScript meaning of the engine's patterns: \w, \s and \b are ASCII, '.' matches
/// anything but a line feed, searches are leftmost with Perl-style backtracking. Compiled
/// patterns are shared read-only between threads; match data belongs to the calling thread.
class Pattern {
  public:
    /// Compiles `source`; an invalid pattern is a bug and aborts with the compiler's message.
    explicit Pattern(std::u16string_view source);
    ~Pattern();
    Pattern(const Pattern&) = delete;
    Pattern& operator=(const Pattern&) = delete;

    /// First match in `subject`, which is taken as a whole text: its start is the start of the
    /// text for anchors and word boundaries, with no look-behind before it.
    MatchStatus search(std::u16string_view subject, PatternMatch& match) const;

    /// Whether the whole of `subject` matches.
    MatchStatus fullMatch(std::u16string_view subject) const;

    /// Every group's span after a search (index 0 is the whole match; none for a group that did
    /// not take part). For tests that compare against another engine.
    MatchStatus searchGroups(
        std::u16string_view subject,
        std::vector<std::optional<std::pair<std::size_t, std::size_t>>>& groups) const;

  private:
    int run(std::u16string_view subject, bool whole) const;

    // pcre2_code_16, kept opaque to spare users the PCRE2 header. Full matches use a second
    // compilation anchored at both ends, because anchoring at match time would bypass the JIT.
    void* code_ = nullptr;
    void* wholeCode_ = nullptr;
    int groupCount_ = 0;
};

}  // namespace tw
