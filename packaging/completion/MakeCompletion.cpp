// Writes the bash completion from the program's option table, at build time:
//   tw_make_completion TEMPLATE OUTPUT
// TEMPLATE holds the script with @TW_CONSOLE_OPTIONS@, @TW_PROGRAM_OPTIONS@ and
// @TW_OPTION_CASES@ where the option names and the cases for their values go.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/ConsoleOptions.h"

namespace {

/// The names joined by spaces, sorted, wrapped to lines that fit the script's width.
std::string nameList(std::vector<std::string> names, std::size_t indent) {
    std::sort(names.begin(), names.end());
    std::string text;
    std::size_t column = indent;
    for (const std::string& name : names) {
        if (!text.empty() && column + 1 + name.size() > 96) {
            text += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (!text.empty()) {
            text += ' ';
            ++column;
        }
        text += name;
        column += name.size();
    }
    return text;
}

std::string joinedWords(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

/// The case for one option's values; empty where the default case, which offers nothing, does.
std::string optionCase(const tw::ConsoleOption& option) {
    if (!option.console && option.offers == tw::OptionValues::None) {
        return {};  // --help and --version: nothing follows them
    }
    const std::string head = "        " + option.name + ")\n";
    const std::string words = joinedWords(option.words);
    const std::string fileNames = "            compopt -o filenames 2>/dev/null\n";
    const std::string end = "            ;;\n";
    switch (option.offers) {
        case tw::OptionValues::None:
            return head + "            # No values: the next word is another option.\n" +
                   "            mapfile -t COMPREPLY < <(compgen -W \"$words\" -- \"$cur\")\n" +
                   end;
        case tw::OptionValues::Words:
            return head + "            mapfile -t COMPREPLY < <(compgen -W \"" + words +
                   "\" -- \"$cur\")\n" + end;
        case tw::OptionValues::Directories:
            return head + fileNames + "            mapfile -t COMPREPLY < <(" +
                   (words.empty() ? "" : "compgen -W \"" + words + "\" -- \"$cur\"; ") +
                   "compgen -d -- \"$cur\")\n" + end;
        case tw::OptionValues::Files:
            return head + fileNames +
                   "            mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n" + end;
        case tw::OptionValues::ProjectFile:
            return head + "            # One project file, right after the option.\n" +
                   "            if ((i == COMP_CWORD - 1)); then\n    " + fileNames +
                   "                mapfile -t COMPREPLY < <(compgen -f -X '!*.[tT][yY][xX]' -- "
                   "\"$cur\"\n" +
                   "                                         compgen -d -- \"$cur\")\n" +
                   "            fi\n" + end;
        case tw::OptionValues::Text:
            break;
    }
    return {};
}

bool replace(std::string& text, const std::string& placeholder, const std::string& value) {
    const std::size_t at = text.find(placeholder);
    if (at == std::string::npos) {
        return false;
    }
    text.replace(at, placeholder.size(), value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: tw_make_completion TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string script(std::istreambuf_iterator<char>(in), {});
    if (!in && !in.eof()) {
        std::fprintf(stderr, "tw_make_completion: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> consoleNames;
    std::vector<std::string> programNames;
    std::string cases;
    for (const tw::ConsoleOption& option : tw::consoleOptions()) {
        (option.console ? consoleNames : programNames).push_back(option.name);
        cases += optionCase(option);
    }
    if (!cases.empty() && cases.back() == '\n') {
        cases.pop_back();
    }
    if (!replace(script, "@TW_CONSOLE_OPTIONS@", nameList(consoleNames, 19)) ||
        !replace(script, "@TW_PROGRAM_OPTIONS@", nameList(programNames, 19)) ||
        !replace(script, "@TW_OPTION_CASES@", cases)) {
        std::fprintf(stderr, "tw_make_completion: %s lacks a placeholder\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << script;
    out.close();
    if (!out) {
        std::fprintf(stderr, "tw_make_completion: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
