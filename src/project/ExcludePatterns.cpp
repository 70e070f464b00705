#include "project/ExcludePatterns.h"

#include "engine/TextConversion.h"

namespace tw {
namespace {

constexpr std::u32string_view kAnyDepth = U"**";

/// The characters of `bytes`; a byte that is not UTF-8 stays apart as U+DC00 + byte, so it
/// matches only itself.
std::u32string charactersOf(std::string_view bytes) {
    const std::u16string units = utf16FromUtf8(bytes, InvalidUtf8::Escape);
    std::u32string characters;
    characters.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            characters.push_back(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            characters.push_back(unit);
        }
    }
    return characters;
}

/// The components of a '/' separated path, empty ones dropped.
std::vector<std::u32string> componentsOf(std::string_view path) {
    std::vector<std::u32string> components;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view component = path.substr(0, slash);
        if (!component.empty()) {
            components.push_back(charactersOf(component));
        }
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return components;
}

/// Whether the set that starts at `pattern[at]` == '[' holds `c`. `end` is set past its ']';
/// false with `end` == `at` when there is no closing ']', so the '[' is a plain character.
bool inSet(std::u32string_view pattern, std::size_t at, char32_t c, std::size_t& end) {
    std::size_t i = at + 1;
    const bool negated = i < pattern.size() && (pattern[i] == U'!' || pattern[i] == U'^');
    if (negated) {
        ++i;
    }
    bool found = false;
    bool first = true;
    while (i < pattern.size() && (first || pattern[i] != U']')) {
        first = false;
        char32_t low = pattern[i];
        if (low == U'\\' && i + 1 < pattern.size()) {
            low = pattern[++i];
        }
        ++i;
        char32_t high = low;
        if (i + 1 < pattern.size() && pattern[i] == U'-' && pattern[i + 1] != U']') {
            high = pattern[i + 1];
            if (high == U'\\' && i + 2 < pattern.size()) {
                high = pattern[i + 2];
                ++i;
            }
            i += 2;
        }
        found = found || (low <= c && c <= high);
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
bool matchesOne(std::u32string_view pattern, std::size_t at, char32_t c, std::size_t& next) {
    const char32_t p = pattern[at];
    if (p == U'?') {
        next = at + 1;
        return true;
    }
    if (p == U'[') {
        std::size_t end = at;
        const bool in = inSet(pattern, at, c, end);
        if (end != at) {
            next = end;
            return in;
        }
    }
    if (p == U'\\' && at + 1 < pattern.size()) {
        next = at + 2;
        return pattern[at + 1] == c;
    }
    next = at + 1;
    return p == c;
}

/// Whether one component matches one pattern component. A '*' that fails is retried one
/// character further along only from the last '*' seen, so the time stays in proportion to the
/// product of the two lengths, whatever the pattern.
bool componentMatches(std::u32string_view pattern, std::u32string_view text) {
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starP = std::u32string_view::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
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
        if (starP == std::u32string_view::npos) {
            return false;
        }
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

/// Whether the path components match the pattern components, "**" standing for any number of
/// path components. Table of suffixes: `tail[i][j]` says whether pattern components from `i`
/// on match path components from `j` on.
bool pathMatches(const std::vector<std::u32string>& pattern,
                 const std::vector<std::u32string>& path) {
    const std::size_t width = path.size() + 1;
    std::vector<char> tail((pattern.size() + 1) * width, 0);
    tail[pattern.size() * width + path.size()] = 1;
    for (std::size_t i = pattern.size(); i-- > 0;) {
        for (std::size_t j = path.size() + 1; j-- > 0;) {
            bool match = false;
            if (pattern[i] == kAnyDepth) {
                match = tail[(i + 1) * width + j] != 0 ||
                        (j < path.size() && tail[i * width + j + 1] != 0);
            } else if (j < path.size()) {
                match = tail[(i + 1) * width + j + 1] != 0 && componentMatches(pattern[i], path[j]);
            }
            tail[i * width + j] = match ? 1 : 0;
        }
    }
    return tail[0] != 0;
}

}  // namespace

ExcludePatterns::ExcludePatterns(const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns) {
        add(pattern);
    }
}

bool ExcludePatterns::add(std::string_view text) {
    Pattern pattern;
    pattern.pathOnly = !text.empty() && text.front() == '/';
    pattern.directoriesOnly = !text.empty() && text.back() == '/';
    pattern.components = componentsOf(text);
    if (pattern.components.empty()) {
        return false;
    }
    patterns_.push_back(std::move(pattern));
    return true;
}

bool ExcludePatterns::matches(std::string_view relativePath, bool isDirectory) const {
    if (patterns_.empty()) {
        return false;
    }
    const std::vector<std::u32string> path = componentsOf(relativePath);
    if (path.empty()) {
        return false;
    }
    const std::vector<std::u32string> name{path.back()};
    for (const Pattern& pattern : patterns_) {
        if (pattern.directoriesOnly && !isDirectory) {
            continue;
        }
        // A name has no '/': only a pattern of one component can match it.
        if ((!pattern.pathOnly && pattern.components.size() == 1 &&
             pathMatches(pattern.components, name)) ||
            pathMatches(pattern.components, path)) {
            return true;
        }
    }
    return false;
}

}  // namespace tw
