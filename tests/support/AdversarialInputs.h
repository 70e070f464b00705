#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
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
    inputs.push_back(
        {"deep_parentheses.cpp", repeat("(", 10000) + "x" + repeat(")", 10000) + ";\n"});
    inputs.push_back({"deep_calls.cpp", repeat("f(", 10000) + "x" + repeat(")", 10000) + ";\n"});
    inputs.push_back(
        {"deep_brackets.java", "x = " + repeat("a[", 10000) + "i" + repeat("]", 10000) + ";\n"});
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
    // What the complexity count keeps track of: scopes, #if branches, names, Java's classes.
    inputs.push_back({"nested_conditionals.c", repeat("#if A\nint f(void) {\n#else\n", 20000) +
                                                   repeat("}\n#endif\n", 20000)});
    inputs.push_back(
        {"unbalanced_branches.c",
         "int f(void) {\n" + repeat("#ifdef A\n{ if (a) {\n#else\n}\n#endif\n", 20000)});
    inputs.push_back({"deep_classes.cpp", repeat("struct s { ", 50000) + repeat("}; ", 50000)});
    inputs.push_back({"deep_functions.cpp", repeat("void f() { struct l { ", 20000)});
    inputs.push_back({"long_qualified_name.cpp",
                      "int " + repeat("a::", 300000) + "f() { return b ? 1 : 2; }\n"});
    inputs.push_back({"operator_run.cpp", "int operator" + repeat("<", 500000) + "(int a) { }\n"});
    inputs.push_back({"open_angles.cpp", "template" + repeat("<", 500000) + " void f() { }\n"});
    inputs.push_back(
        {"decisions.cpp", "int f() {\n" + repeat("a && b || c ? d : e; if (x) ", 100000)});
    inputs.push_back({"anonymous_classes.java",
                      "class A { Object o = " + repeat("new B() { void f() { g(", 5000) + "\n"});
    inputs.push_back({"long_whitespace.cpp",
                      "int" + repeat(" ", 1000000) + "x" + repeat("\t", 100000) + "= 1;\n"});
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

/// The files and trees that once took memory out of all proportion to their size, each with the
/// bound that now holds for it (S: the input's size in bytes). `tw_adversarial_bench` measures
/// them; the tests check them at smaller sizes.
///
/// | input | bound |
/// |---|---|
/// | `adversarialProjectFile`: records at the end of folder chains of their own | loading takes 64
/// MiB + 16 × S, under 1 s per MiB; refused as "Unexpected file format." | | `deepChainPaths`: a
/// tree report of folder chains 2,047 deep, indentation 100 | the report streams: 64 MiB; a line
/// holds at most 1,024 + name + values characters | | `lineFeedsOnly`: a source of nothing but line
/// feeds | counting takes 8 × S | | `ordinarySource`: ordinary C++ | counting takes 64 MiB + 4 × S
/// | | `nulBytes` / `emptyLines` as a list file | reading the list takes 64 MiB + 1 KiB per entry |
/// | `linkGraph`: each level of folders linking twice to the next | each folder is scanned once |

/// `count` line feeds: a file of nothing but empty lines.
inline std::string lineFeedsOnly(std::size_t count) {
    return std::string(count, '\n');
}

/// Ordinary C++ of about `size` bytes: declarations, calls, control statements, comments.
inline std::string ordinarySource(std::size_t size) {
    const std::string piece =
        "// Keeps the totals of one module.\n#include <map>\n\n"
        "static const int kLimits[] = {1, 2, 4, 8};\n\n"
        "int addAll(Totals& totals, const char* names[], int count) {\n"
        "    int added = 0;\n    for (int i = 0; i < count; ++i) {\n"
        "        if (names[i] == nullptr) { continue; }  /* skip */\n"
        "        totals.sum = totals.sum + kLimits[i % 4] * 2;\n        ++added;\n    }\n"
        "    printf(\"added %d\\n\", added);\n    return added;\n}\n\n";
    std::string text;
    text.reserve(size + piece.size());
    while (text.size() < size) {
        text += piece;
    }
    return text;
}

/// `size` NUL bytes: one line far longer than any path.
inline std::string nulBytes(std::size_t size) {
    return std::string(size, '\0');
}

/// `count` empty lines.
inline std::string emptyLines(std::size_t count) {
    return std::string(count, '\n');
}

/// Paths of `files` files, each at the end of the same chain of folders as deep as a tree
/// allows: a tree report of it indents by thousands of levels.
inline std::vector<std::string> deepChainPaths(std::size_t files, std::size_t depth) {
    std::string chain;
    for (std::size_t level = 0; level < depth; ++level) {
        chain += "d/";
    }
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < files; ++i) {
        paths.push_back(chain + "f" + std::to_string(i) + ".c");
    }
    return paths;
}

/// Below `directory` (which must exist), `levels` folders l0 ... l<levels-1>, each holding a
/// file and two symbolic links to the next: a walk that follows links without remembering
/// where it has been visits 2^levels folders.
inline void linkGraph(const std::string& directory, int levels) {
    namespace fs = std::filesystem;
    for (int level = 0; level < levels; ++level) {
        const fs::path folder = fs::path(directory) / ("l" + std::to_string(level));
        fs::create_directories(folder);
        std::ofstream(folder / "x.c") << "int x;\n";
        if (level + 1 < levels) {
            const fs::path next = fs::path(directory) / ("l" + std::to_string(level + 1));
            fs::create_directory_symlink(next, folder / "a");
            fs::create_directory_symlink(next, folder / "b");
        }
    }
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
        std::string bytes =
            "\xFF\xFE\xFF\xFF\xFF\xFF" + le32(static_cast<std::uint32_t>(text.size()));
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
    std::string file =
        le32(static_cast<std::uint32_t>(paths.size())) + std::string(16, '\0') + records;
    if (withDiskPaths) {
        file += "TWDISK01" + le32(static_cast<std::uint32_t>(paths.size()));
        for (const std::string& path : paths) {
            file += wide(path);
        }
    }
    return file;
}

}  // namespace tw::test
