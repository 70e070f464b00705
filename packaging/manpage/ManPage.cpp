#include "ManPage.h"

#include <algorithm>
#include <array>
#include <deque>
#include <vector>

namespace tw::manpage {
namespace {

constexpr std::string_view kSpaces = " \t";

/// The sections a manual page lists first, in their order; any other follows them in the order
/// it came, and SEE ALSO comes last.
constexpr std::array<std::string_view, 8> kLeadingSections = {
    "NAME",        "SYNOPSIS",    "DESCRIPTION", "OPTIONS",
    "EXIT STATUS", "ENVIRONMENT", "FILES",       "EXAMPLES"};
constexpr std::string_view kLastSection = "SEE ALSO";

/// Headings of the help text that name a section of the page, by the words they begin with.
struct HeadingSection {
    std::string_view start;
    std::string_view section;
};
constexpr std::array<HeadingSection, 7> kHeadingSections = {{
    {"Options", "OPTIONS"},
    {"Exit codes", "EXIT STATUS"},
    {"Exit status", "EXIT STATUS"},
    {"Examples", "EXAMPLES"},
    {"Environment", "ENVIRONMENT"},
    {"Output files", "FILES"},
    {"Files", "FILES"},
}};

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
}

std::size_t indentOf(std::string_view line) {
    return std::min(line.find_first_not_of(kSpaces), line.size());
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool isUpperWord(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

/// An option list's term: option names in bold, placeholders (FILE, DIR...) in italics.
std::string optionTerm(std::string_view term) {
    std::string result;
    while (!term.empty()) {
        const std::size_t end = std::min(term.find(' '), term.size());
        std::string_view word = term.substr(0, end);
        term.remove_prefix(std::min(end + 1, term.size()));
        if (!result.empty()) {
            result += ' ';
        }
        std::string_view tail;
        if (!word.empty() && word.back() == ',') {
            tail = word.substr(word.size() - 1);
            word.remove_suffix(1);
        }
        std::string_view ellipsis;
        if (word.size() > 3 && word.substr(word.size() - 3) == "...") {
            ellipsis = word.substr(word.size() - 3);
            word.remove_suffix(3);
        }
        if (startsWith(word, "-")) {
            result += "\\fB" + escaped(word) + "\\fR";
        } else if (isUpperWord(word)) {
            result += "\\fI" + escaped(word) + "\\fR";
        } else {
            result += escaped(word);
        }
        result += ellipsis;
        result += tail;
    }
    return result;
}

/// Builds the page's sections while the help text is read line by line.
class PageBuilder {
  public:
    PageBuilder() { select("DESCRIPTION"); }

    void read(const std::vector<std::string_view>& lines) {
        for (std::string_view line : lines) {
            readLine(line);
        }
        endBlock();
    }

    /// Adds hand-written markup, split at its ".SH" lines.
    void addExtra(std::string_view markup) {
        for (std::string_view line : linesOf(markup)) {
            if (startsWith(line, ".SH ")) {
                std::string_view name = trimmed(line.substr(4));
                if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
                    name = name.substr(1, name.size() - 2);
                }
                select(name);
            } else if (current_ != nullptr) {
                current_->body.append(line).append("\n");
            }
        }
    }

    std::string page(std::string_view header) const {
        std::string result(header);
        std::vector<const Section*> ordered;
        for (std::string_view name : kLeadingSections) {
            if (const Section* section = find(name)) {
                ordered.push_back(section);
            }
        }
        for (const Section& section : sections_) {
            const bool leading = std::find(kLeadingSections.begin(), kLeadingSections.end(),
                                           section.name) != kLeadingSections.end();
            if (!leading && section.name != kLastSection) {
                ordered.push_back(&section);
            }
        }
        if (const Section* last = find(kLastSection)) {
            ordered.push_back(last);
        }
        for (const Section* section : ordered) {
            if (section->body.empty()) {
                continue;
            }
            result += ".SH \"" + section->name + "\"\n" + section->body;
        }
        return result;
    }

  private:
    struct Section {
        std::string name;
        std::string body;
    };
    enum class State { BetweenBlocks, Synopsis, Paragraph, Item, Example };

    const Section* find(std::string_view name) const {
        for (const Section& section : sections_) {
            if (section.name == name) {
                return &section;
            }
        }
        return nullptr;
    }

    void select(std::string_view name) {
        for (Section& section : sections_) {
            if (section.name == name) {
                current_ = &section;
                return;
            }
        }
        sections_.push_back(Section{std::string(name), std::string()});
        current_ = &sections_.back();
    }

    void append(std::string_view text) { current_->body.append(text); }

    void endBlock() {
        if (state_ == State::Example) {
            append(".fi\n.RE\n");
        }
        state_ = State::BetweenBlocks;
    }

    void readLine(std::string_view line) {
        if (trimmed(line).empty()) {
            endBlock();
            return;
        }
        const std::size_t indent = indentOf(line);
        const std::string_view text = trimmed(line);
        if (indent == 0 && startsWith(text, "Usage:")) {
            endBlock();
            synopsisLine(trimmed(text.substr(6)));
            state_ = State::Synopsis;
            return;
        }
        if (state_ == State::Synopsis && indent > 0) {
            synopsisLine(text);
            return;
        }
        if (indent == 0 && text.back() == ':' && state_ != State::Paragraph) {
            endBlock();
            heading(text);
            return;
        }
        if (current_->name == "EXAMPLES" && indent > 0) {
            example(line);
            return;
        }
        if (indent == 0) {
            paragraphLine(text);
            return;
        }
        listLine(line, indent);
    }

    void synopsisLine(std::string_view text) {
        Section* previous = current_;
        select("SYNOPSIS");
        if (!current_->body.empty()) {
            append(".br\n");
        }
        const std::size_t space = std::min(text.find(' '), text.size());
        append(".B " + escaped(text.substr(0, space)) + "\n");
        const std::string_view rest = trimmed(text.substr(space));
        if (!rest.empty()) {
            append(escaped(rest) + "\n");
        }
        current_ = previous;
    }

    void heading(std::string_view text) {
        const std::string_view name = text.substr(0, text.size() - 1);
        for (const HeadingSection& known : kHeadingSections) {
            if (startsWith(name, known.start)) {
                select(known.section);
                subsectionOpen_ = false;
                // "Output files, in the output directory, ...": the heading says more than the
                // section's name, so it stays as the section's first sentence.
                if (name != known.start) {
                    paragraphLine(text);
                    state_ = State::BetweenBlocks;
                }
                return;
            }
        }
        select("DESCRIPTION");
        subsectionOpen_ = true;
        append(".SS \"" + escaped(name) + "\"\n");
    }

    void paragraphLine(std::string_view text) {
        if (state_ != State::Paragraph) {
            if (!current_->body.empty()) {
                append(".PP\n");
            }
            state_ = State::Paragraph;
        }
        append(escaped(text) + "\n");
    }

    void example(std::string_view line) {
        if (state_ != State::Example) {
            append(".PP\n.RS 4\n.nf\n");
            state_ = State::Example;
            exampleIndent_ = indentOf(line);
        }
        append(escaped(line.substr(std::min(exampleIndent_, indentOf(line)))) + "\n");
    }

    void listLine(std::string_view line, std::size_t indent) {
        if (state_ == State::Item && indent > itemIndent_) {
            append(escaped(trimmed(line)) + "\n");
            return;
        }
        // A list right below the description, under no heading of its own, is the options.
        if (current_->name == "DESCRIPTION" && !subsectionOpen_) {
            select("OPTIONS");
        }
        const std::string_view text = line.substr(indent);
        const std::size_t gap = text.find("  ");
        const std::string_view term = trimmed(text.substr(0, gap));
        const std::string_view description =
            gap == std::string_view::npos ? std::string_view() : trimmed(text.substr(gap));
        append(".TP\n");
        append((current_->name == "OPTIONS" ? optionTerm(term) : escaped(term)) + "\n");
        if (!description.empty()) {
            append(escaped(description) + "\n");
        }
        state_ = State::Item;
        itemIndent_ = indent;
    }

    std::deque<Section> sections_;  // keeps `current_` valid as sections are added
    Section* current_ = nullptr;
    State state_ = State::BetweenBlocks;
    bool subsectionOpen_ = false;
    std::size_t itemIndent_ = 0;
    std::size_t exampleIndent_ = 0;
};

std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

/// The program's name: the first word of the first "Usage:" line.
std::string programNameOf(const std::vector<std::string_view>& lines) {
    for (std::string_view line : lines) {
        if (startsWith(line, "Usage:")) {
            const std::string_view rest = trimmed(line.substr(6));
            return std::string(rest.substr(0, std::min(rest.find(' '), rest.size())));
        }
    }
    return "program";
}

}  // namespace

std::string escaped(std::string_view text) {
    std::string result;
    if (!text.empty() && (text.front() == '.' || text.front() == '\'')) {
        result += "\\&";
    }
    for (const char c : text) {
        if (c == '\\') {
            result += "\\e";
        } else if (c == '-') {
            result += "\\-";
        } else {
            result += c;
        }
    }
    return result;
}

std::string manPage(const ManPageSource& source) {
    const std::vector<std::string_view> lines = linesOf(source.helpText);
    const std::string name = programNameOf(lines);
    PageBuilder builder;
    builder.read(lines);
    builder.addExtra(source.extraSections);
    const std::vector<std::string_view> versionLines = linesOf(source.versionText);
    const std::string_view version =
        versionLines.empty() ? std::string_view() : trimmed(versionLines.front());
    std::string header =
        ".\\\" Made from the program's --help text at build time: change that text, not this\n"
        ".\\\" file.\n";
    header += ".TH " + upperCase(name) + " 1 \"" + source.date + "\" \"" + std::string(version) +
              "\" \"User Commands\"\n";
    return builder.page(header);
}

}  // namespace tw::manpage
