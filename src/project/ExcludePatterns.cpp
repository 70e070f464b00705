#include "project/ExcludePatterns.h"

#include "engine/TextConversion.h"
#include "project/ShellPattern.h"

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
                match = tail[(i + 1) * width + j + 1] != 0 &&
                        shell::componentMatches<char32_t>(pattern[i], path[j]);
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
