#include "project/GitIgnoreList.h"

#include "project/ShellPattern.h"

namespace tw {
namespace {

constexpr std::string_view kAnyDepth = "**";

/// The components of a '/' separated path or pattern; empty ones are kept, since a pattern
/// holding "//" matches no path.
std::vector<std::string_view> componentsOf(std::string_view path) {
    std::vector<std::string_view> components;
    while (true) {
        const std::size_t slash = path.find('/');
        components.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos) {
            return components;
        }
        path.remove_prefix(slash + 1);
    }
}

/// Whether the path components match the pattern components. A "**" component stands for any
/// number of path components, except the last of the pattern, which stands for one or more:
/// "a/**" is what lies inside a, not a itself. Table of suffixes: `tail[i][j]` says whether
/// pattern components from `i` on match path components from `j` on.
bool pathMatches(const std::vector<std::string>& pattern,
                 const std::vector<std::string_view>& path) {
    const std::size_t width = path.size() + 1;
    std::vector<char> tail((pattern.size() + 1) * width, 0);
    tail[pattern.size() * width + path.size()] = 1;
    for (std::size_t i = pattern.size(); i-- > 0;) {
        const bool last = i + 1 == pattern.size();
        for (std::size_t j = path.size() + 1; j-- > 0;) {
            bool match = false;
            if (pattern[i] == kAnyDepth) {
                match = (!last && tail[(i + 1) * width + j] != 0) ||
                        (j < path.size() &&
                         (tail[i * width + j + 1] != 0 || tail[(i + 1) * width + j + 1] != 0));
            } else if (j < path.size()) {
                match = tail[(i + 1) * width + j + 1] != 0 &&
                        shell::componentMatches<char>(pattern[i], path[j]);
            }
            tail[i * width + j] = match ? 1 : 0;
        }
    }
    return tail[0] != 0;
}

/// `line` without its trailing spaces, unless a backslash escapes them.
std::string_view withoutTrailingSpaces(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && line[end - 1] == ' ') {
        std::size_t backslashes = 0;
        while (backslashes < end - 1 && line[end - 2 - backslashes] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 1) {
            break;  // an escaped space stays, and so does everything before it
        }
        --end;
    }
    return line.substr(0, end);
}

}  // namespace

GitIgnoreList::GitIgnoreList(std::string_view text, std::string base) : base_(std::move(base)) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        add(line);
    }
}

void GitIgnoreList::add(std::string_view line) {
    if (line.empty() || line.front() == '#') {
        return;
    }
    line = withoutTrailingSpaces(line);
    Pattern pattern;
    if (!line.empty() && line.front() == '!') {
        pattern.negated = true;
        line.remove_prefix(1);
    }
    if (!line.empty() && line.back() == '/') {
        pattern.directoriesOnly = true;
        line.remove_suffix(1);
    }
    if (line.empty()) {
        return;
    }
    pattern.nameOnly = line.find('/') == std::string_view::npos;
    if (line.front() == '/') {
        line.remove_prefix(1);
    }
    for (const std::string_view component : componentsOf(line)) {
        pattern.components.emplace_back(component);
    }
    patterns_.push_back(std::move(pattern));
}

GitIgnoreList::Verdict GitIgnoreList::verdict(std::string_view path, bool isDirectory) const {
    if (patterns_.empty() || !path.starts_with(base_) || path.size() == base_.size()) {
        return Verdict::NoMatch;
    }
    const std::vector<std::string_view> below = componentsOf(path.substr(base_.size()));
    for (auto pattern = patterns_.rbegin(); pattern != patterns_.rend(); ++pattern) {
        if (pattern->directoriesOnly && !isDirectory) {
            continue;
        }
        const bool matched = pattern->nameOnly ? shell::componentMatches<char>(
                                                     pattern->components.front(), below.back())
                                               : pathMatches(pattern->components, below);
        if (matched) {
            return pattern->negated ? Verdict::Kept : Verdict::Ignored;
        }
    }
    return Verdict::NoMatch;
}

}  // namespace tw
