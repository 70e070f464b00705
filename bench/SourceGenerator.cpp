#include "SourceGenerator.h"

#include <array>
#include <random>
#include <string_view>

namespace tw::bench {
namespace {

constexpr std::array<std::string_view, 16> kNames = {
    "count", "total", "index", "buffer", "length", "offset", "result", "value",
    "item",  "node",  "width", "height", "state",  "config", "entry",  "limit"};
constexpr std::array<std::string_view, 8> kTypes = {"int",  "unsigned", "double", "size_t",
                                                    "bool", "long",     "float",  "char"};
constexpr std::array<std::string_view, 10> kWords = {"the", "value", "is",      "checked", "before",
                                                     "use", "so",    "callers", "never",   "see"};

class Writer {
  public:
    Writer(GeneratedLanguage language, std::uint32_t seed) : language_(language), random_(seed) {}

    std::string run(std::size_t bytes) {
        header();
        while (out_.size() < bytes) {
            function();
        }
        footer();
        return out_;
    }

  private:
    std::size_t pick(std::size_t n) { return random_() % n; }
    std::string_view name() { return kNames[pick(kNames.size())]; }
    std::string_view type() {
        if (java()) {
            static constexpr std::array<std::string_view, 5> kJava = {"int", "long", "double",
                                                                      "boolean", "String"};
            return kJava[pick(kJava.size())];
        }
        return kTypes[pick(kTypes.size())];
    }
    bool java() const { return language_ == GeneratedLanguage::Java; }
    std::string sentence(std::size_t words) {
        std::string text;
        for (std::size_t i = 0; i < words; ++i) {
            if (i > 0) {
                text += ' ';
            }
            text += kWords[pick(kWords.size())];
        }
        return text;
    }
    void line(std::string_view indent, std::string_view text) {
        out_ += indent;
        out_ += text;
        out_ += '\n';
    }

    void header() {
        line("", "/*");
        line("", " * " + sentence(8) + ".");
        line("", " * " + sentence(6) + ".");
        line("", " */");
        line("", "");
        if (java()) {
            line("", "package com.example.generated;");
            line("", "");
            line("", "import java.util.List;");
            line("", "import java.util.ArrayList;");
            line("", "");
            line("", "public class Generated" + std::to_string(pick(1000)) + " {");
        } else if (language_ == GeneratedLanguage::ResourceScript) {
            line("", "#include \"resource.h\"");
            line("", "");
        } else {
            line("", "#include <stdio.h>");
            line("", "#include <string.h>");
            line("", "#define LIMIT(x) ((x) > 100 ? 100 : (x))");
            line("", "");
            line("", "static const int table[4] = { 1, 2, 3, 4 };");
            line("", "");
        }
    }

    void footer() {
        if (java()) {
            line("", "}");
        }
    }

    void function() {
        if (language_ == GeneratedLanguage::ResourceScript) {
            resource();
            return;
        }
        const std::string_view indent = java() ? "    " : "";
        const std::string body = std::string(indent) + "    ";
        line(indent, "// " + std::string(40, '-'));
        line(indent, "// " + sentence(7));
        if (java() && pick(3) == 0) {
            line(indent, "@Override");
        }
        const std::string fn = std::string(name()) + std::to_string(functionNumber_++);
        line(indent, std::string(java() ? "public " : "") + std::string(type()) + " " + fn + "(" +
                         std::string(type()) + " " + std::string(name()) + ", int n)");
        line(indent, "{");
        const std::size_t statements = 4 + pick(10);
        for (std::size_t i = 0; i < statements; ++i) {
            statement(body);
        }
        line(body, "return 0;");
        line(indent, "}");
        line("", "");
    }

    void statement(const std::string& indent) {
        const std::string a(name());
        const std::string b(name());
        switch (pick(12)) {
            case 0:
                line(indent, std::string(type()) + " " + a + " = " + b + " * 2 + 1;");
                break;
            case 1:
                line(indent, "for (int i = 0; i < n; ++i) {");
                line(indent + "    ", a + " += " + b + "[i];");
                line(indent, "}");
                break;
            case 2:
                line(indent, "if (" + a + " > " + b + " && " + a + " != 0) {");
                line(indent + "    ", a + " = " + b + ";");
                line(indent, "} else {");
                line(indent + "    ", a + "--;");
                line(indent, "}");
                break;
            case 3:
                line(indent, java() ? "System.out.println(\"" + sentence(3) + ": \" + " + a + ");"
                                    : "printf(\"" + sentence(3) + ": %d\\n\", " + a + ");");
                break;
            case 4:
                line(indent, "/* " + sentence(5));
                line(indent, "   " + sentence(6) + " */");
                break;
            case 5:
                line("", "");
                break;
            case 6:
                line(indent, a + " = compute(" + b + ", " + a + " + 1); // " + sentence(4));
                break;
            case 7:
                line(indent, "while (" + a + " < n) {");
                line(indent + "    ", a + " = next(" + a + ");");
                line(indent, "}");
                break;
            case 8:
                line(indent, java() ? "int[] " + a + "s = { 1, 2, 3 };"
                                    : "int " + a + "s[3] = { 1, 2, 3 };");
                break;
            case 9:
                line(indent, "switch (" + a + ") {");
                line(indent, "case 1:");
                line(indent + "    ", b + " = 'x';");
                line(indent + "    ", "break;");
                line(indent, "default:");
                line(indent + "    ", "break;");
                line(indent, "}");
                break;
            case 10:
                line(indent, java() ? a + " = " + b + ".size();" : a + " = " + b + "->size;");
                break;
            default:
                line(indent, std::string(type()) + " " + a + ";");
                break;
        }
    }

    void resource() {
        const std::string id = "IDD_DIALOG" + std::to_string(functionNumber_++);
        line("", "// " + sentence(5));
        line("", id + " DIALOGEX 0, 0, 320, 200");
        line("", "CAPTION \"" + sentence(3) + "\"");
        line("", "BEGIN");
        for (std::size_t i = 0; i < 3 + pick(6); ++i) {
            line("    ",
                 "LTEXT \"" + sentence(2) + "\", -1, 10, " + std::to_string(10 * i) + ", 100, 8");
        }
        line("", "END");
        line("", "");
    }

    GeneratedLanguage language_;
    std::mt19937 random_;
    std::string out_;
    std::size_t functionNumber_ = 0;
};

}  // namespace

std::string generateSource(GeneratedLanguage language, std::size_t bytes, std::uint32_t seed) {
    return Writer(language, seed).run(bytes);
}

}  // namespace tw::bench
