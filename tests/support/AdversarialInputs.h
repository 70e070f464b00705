#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tw::test {

/// One hostile source file: its name (the extension picks the file type) and its bytes.
struct AdversarialInput {
    std::string name;
    std::string bytes;
};

/// Files that have broken line counters: huge lines, deep nesting, endless directives,
/// comments and literals that never close, text in other encodings and binary junk. Each must
/// count or fail with a message, quickly, whatever the mode. The same list every time.
inline std::vector<AdversarialInput> adversarialInputs() {
    std::vector<AdversarialInput> inputs;
    const auto repeat = [](const std::string& piece, std::size_t times) {
        std::string text;
        text.reserve(piece.size() * times);
        for (std::size_t i = 0; i < times; ++i) {
            text += piece;
        }
        return text;
    };
    inputs.push_back({"empty.c", ""});
    inputs.push_back({"bom_only.cpp", "\xEF\xBB\xBF"});
    inputs.push_back({"long_line.cpp", repeat("x = f(a[i] + b, c) * 2; ", 4 * 1024 * 1024 / 24)});
    inputs.push_back({"short_lines.c", repeat("x++;\n", 200000)});
    inputs.push_back({"deep_parentheses.cpp", repeat("(", 10000) + "x" + repeat(")", 10000) + ";\n"});
    inputs.push_back({"deep_calls.cpp", repeat("f(", 10000) + "x" + repeat(")", 10000) + ";\n"});
    inputs.push_back({"deep_brackets.java", "x = " + repeat("a[", 10000) + "i" + repeat("]", 10000) + ";\n"});
    inputs.push_back({"unbalanced_close.cpp", repeat(")]", 20000) + "\n"});
    inputs.push_back({"unbalanced_open.cpp", repeat("([", 20000) + "\n"});
    inputs.push_back({"many_closing_parentheses.c", "f(x);\n" + repeat(")", 100000)});
    inputs.push_back({"templates.cpp", "vector" + repeat("<", 5000) + "int" + repeat(">", 5000) +
                                           " v;\nf" + repeat("<a", 5000) + "(x);\n"});
    inputs.push_back({"continued_directives.h", repeat("#define X \\\n", 50000) + "int x;\n"});
    inputs.push_back({"unclosed_comment.c", "int x;\n/* " + repeat("text ", 100000)});
    inputs.push_back({"unclosed_string.cpp", "s = \"" + repeat("a", 100000)});
    inputs.push_back({"unclosed_char.java", "class A { char c = '" + repeat("b", 1000)});
    inputs.push_back({"comment_openers.c", repeat("/* ", 10000) + "*/\n"});
    inputs.push_back({"comment_pairs.c", repeat("/* c */ x; ", 100000) + "\n"});
    inputs.push_back({"annotations_only.java", repeat("@A(x = (1))\n@B\n", 20000)});
    inputs.push_back({"unclosed_annotation.java", "@A(" + repeat("x", 10000)});
    inputs.push_back({"blank_initialiser.cpp",
                      "int crc[256] = {" + repeat("0x00000000, ", 20000) + "};\nint y = 1;\n"});
    inputs.push_back({"long_whitespace.cpp", "int" + repeat(" ", 1000000) + "x" +
                                                 repeat("\t", 100000) + "= 1;\n"});
    std::string utf16le = "\xFF\xFE";
    std::string utf16be = "\xFE\xFF";
    std::string utf16plain;
    for (const char c : std::string("int main() { return 0; } // done\n")) {
        utf16le += c;
        utf16le += '\0';
        utf16be += '\0';
        utf16be += c;
        utf16plain += c;
        utf16plain += '\0';
    }
    inputs.push_back({"utf16le_bom.cpp", utf16le});
    inputs.push_back({"utf16be_bom.java", utf16be});
    inputs.push_back({"utf16le_without_bom.cpp", utf16plain});
    inputs.push_back({"utf16_odd_length.cpp", utf16le + "x"});
    std::mt19937 random(20261210);
    std::string junk(256 * 1024, '\0');
    for (char& byte : junk) {
        byte = static_cast<char>(random() % 4 == 0 ? 0 : random());
    }
    inputs.push_back({"random_with_nul.cpp", junk});
    std::string printable(256 * 1024, ' ');
    const std::string alphabet = "(){}[]<>;,=+-*/%!&|^~?:'\"#@\\\n\t abcXYZ_019.";
    for (char& byte : printable) {
        byte = alphabet[random() % alphabet.size()];
    }
    inputs.push_back({"random_punctuation.cpp", printable});
    inputs.push_back({"random_punctuation.java", printable});
    inputs.push_back({"random_punctuation.rc", printable});
    return inputs;
}

/// The bytes of a project file of about `size` bytes whose records each lie at the end of a
/// folder chain of their own, as deep as the tree allows: few bytes that would make millions of
/// folders. `withDiskPaths` adds the section of disk paths after the records.
inline std::string adversarialProjectFile(std::size_t size, bool withDiskPaths) {
    const auto le32 = [](std::uint32_t value) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i) {
            bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return bytes;
    };
    const auto wide = [&le32](const std::string& text) {
        std::string bytes = "\xFF\xFE\xFF\xFF\xFF\xFF" + le32(static_cast<std::uint32_t>(text.size()));
        for (const char c : text) {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    };
    std::vector<std::string> paths;
    std::string records;
    for (std::uint32_t n = 0; records.size() * (withDiskPaths ? 2 : 1) < size; ++n) {
        std::string path = "r" + std::to_string(n);
        for (int level = 0; level < 2040; ++level) {
            path += "/d";
        }
        path += "/a.c";
        records += wide(path) + le32(1) + le32(0) + le32(0) + std::string(8, '\0') +
                   std::string(36, '\0') + wide("") + le32(0) + le32(0);
        paths.push_back(path);
    }
    std::string file = le32(static_cast<std::uint32_t>(paths.size())) + std::string(16, '\0') + records;
    if (withDiskPaths) {
        file += "TWDISK01" + le32(static_cast<std::uint32_t>(paths.size()));
        for (const std::string& path : paths) {
            file += wide(path);
        }
    }
    return file;
}

}  // namespace tw::test
