#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace tw::shell {

// One component of a shell pattern matched against one name: `*` any run of characters, `?`
// any one character, `[...]` one character of a set or range (`[!...]` or `[^...]` one not in
// it; a ']' first in the set is one of its characters; a '[' without its ']' is a plain '['),
// `\` makes the next character plain. Characters are compared as unsigned code units, so the
// same code serves names as bytes and as code points.

template <typename Char>
std::uint32_t unitOf(Char c) {
    return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

/// Whether the set that starts at `pattern[at]` == '[' holds `c`. `end` is set past its ']';
/// false with `end` == `at` when there is no closing ']', so the '[' is a plain character.
template <typename Char>
bool inSet(std::basic_string_view<Char> pattern, std::size_t at, Char c, std::size_t& end) {
    std::size_t i = at + 1;
    const bool negated = i < pattern.size() && (pattern[i] == Char('!') || pattern[i] == Char('^'));
    if (negated) {
        ++i;
    }
    bool found = false;
    bool first = true;
    while (i < pattern.size() && (first || pattern[i] != Char(']'))) {
        first = false;
        Char low = pattern[i];
        if (low == Char('\\') && i + 1 < pattern.size()) {
            low = pattern[++i];
        }
        ++i;
        Char high = low;
        if (i + 1 < pattern.size() && pattern[i] == Char('-') && pattern[i + 1] != Char(']')) {
            high = pattern[i + 1];
            if (high == Char('\\') && i + 2 < pattern.size()) {
                high = pattern[i + 2];
                ++i;
            }
            i += 2;
        }
        found = found || (unitOf(low) <= unitOf(c) && unitOf(c) <= unitOf(high));
    }
    if (i >= pattern.size()) {
        end = at;
        return false;
    }
    end = i + 1;
    return found != negated;
}

/// Whether the one character at `pattern[at]` ('?', a set, an escaped or plain character)
/// matches `c`; `next` is set past it.
template <typename Char>
bool matchesOne(std::basic_string_view<Char> pattern, std::size_t at, Char c, std::size_t& next) {
    const Char p = pattern[at];
    if (p == Char('?')) {
        next = at + 1;
        return true;
    }
    if (p == Char('[')) {
        std::size_t end = at;
        const bool in = inSet(pattern, at, c, end);
        if (end != at) {
            next = end;
            return in;
        }
    }
    if (p == Char('\\') && at + 1 < pattern.size()) {
        next = at + 2;
        return pattern[at + 1] == c;
    }
    next = at + 1;
    return p == c;
}

/// Whether one name matches one pattern component. A '*' that fails is retried one character
/// further along only from the last '*' seen, so the time stays in proportion to the product
/// of the two lengths, whatever the pattern: no run of stars can make it explode.
template <typename Char>
bool componentMatches(std::basic_string_view<Char> pattern, std::basic_string_view<Char> text) {
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starP = std::basic_string_view<Char>::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == Char('*')) {
            starP = ++p;
            starT = t;
            continue;
        }
        std::size_t next = p;
        if (p < pattern.size() && matchesOne(pattern, p, text[t], next)) {
            p = next;
            ++t;
            continue;
        }
        if (starP == std::basic_string_view<Char>::npos) {
            return false;
        }
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == Char('*')) {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace tw::shell
