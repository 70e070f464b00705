// The Cyclomatic Complexity mode through FileCount::count(): the functions of small texts, of
// the fixtures (tests/fixtures/complexity/sources, their tables beside them in expected/), and
// pmccabe's figures for the C fixtures in tests/fixtures/complexity/pmccabe.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/FileCount.h"
#include "engine/TextConversion.h"
#include "support/Process.h"
#include "support/SettingsWith.h"
#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(TW_FIXTURES_DIR) + "/complexity";

/// A function as the tables write it: "name line firstLine lastLine complexity".
std::string describe(const FunctionComplexity& function) {
    return utf8FromUtf16(function.name) + " " + std::to_string(function.line) + " " +
           std::to_string(function.firstLine) + " " + std::to_string(function.lastLine) + " " +
           std::to_string(function.complexity);
}

std::vector<std::string> describeAll(const FileCount& record) {
    std::vector<std::string> described;
    for (const FunctionComplexity& function : record.functions) {
        described.push_back(describe(function));
    }
    return described;
}

FileCount countedFile(const std::string& name, const std::string& path) {
    FileCount record(test::u16(name), path);
    EXPECT_TRUE(record.count(test::settingsWith(CountMode::CyclomaticComplexity)))
        << test::u8(record.remarks);
    std::uint32_t sum = 0;
    for (const FunctionComplexity& function : record.functions) {
        sum += function.complexity;
    }
    EXPECT_EQ(record.code, sum);
    return record;
}

TEST(FunctionFinderTest, FindsTheFunctionsOfSmallTexts) {
    const struct {
        const char* what;
        const char* file;
        std::string source;
        std::vector<std::string> functions;
    } cases[] = {
        {"C has and, or, class and new as plain names",
         "names.c",
         "int f(int and, int or, struct c *class)\n{\n\treturn and && or && class->new;\n}\n",
         {"f 1 1 4 3"}},
        {"C++ reads and and or as operators only between operands",
         "alt.cpp",
         "bool f(bool a, bool b) { return a and b or not a; }\n"
         "int g() { int and_ = 1; return and_; }\n",
         {"f 1 1 1 3", "g 2 2 2 1"}},
        {"a macro call before the declaration is not its name",
         "macro.c",
         "EXPORT_ME(x)\nstatic int\nreal(void)\n{\n\treturn x ? 1 : 2;\n}\n",
         {"real 3 2 6 2"}},
        {"old-style parameter declarations; a prototype with attributes before",
         "kr.c",
         "int f(void) noinline notrace;\nstatic int x;\n\nkr(a, b)\nint a; char *b;\n{\n"
         "\tif (a) return 1;\n\treturn 0;\n}\n",
         {"kr 4 4 9 2"}},
        {"an initialiser that a macro closes, then a function",
         "machine.c",
         "MACHINE_START(x, \"y\")\n\t.init = f,\nMACHINE_END\n\nstatic void __init h(void)\n{\n"
         "\tif (a) b();\n}\nint v = foo(bar);\n",
         {"h 5 2 8 2"}},
        {"a backslash that joins two lines is a blank",
         "join.c",
         "int f(int a)\n{\n\treturn a && \\\n\t\t(a > 1 || a < -1);\n}\n",
         {"f 1 1 5 3"}},
        {"lock annotations after the parameters keep the function's name",
         "lock.c",
         "int locked(struct s *s) __acquires(s->lock) __releases(s->lock)\n{\n"
         "\treturn s->n > 0;\n}\n",
         {"locked 1 1 4 1"}},
        {"a function returning a struct pointer is no struct",
         "ret.c",
         "struct node *first(struct list *l)\n{\n\treturn l ? l->head : 0;\n}\n"
         "struct node { int v; };\n",
         {"first 1 1 4 2"}},
        {"GNU C label addresses are no decisions",
         "labels.c",
         "void f(int i)\n{\n\tvoid *t[] = { &&a, &&b };\n\tgoto *t[i];\na: return;\nb: "
         "return;\n}\n",
         {"f 1 1 7 1"}},
        {"a declaration split over #if branches: the first branch's line",
         "split.c",
         "#ifdef WIDE\nlong f(long a)\n#else\nint f(int a)\n#endif\n{\n\treturn a ? a : 1;\n}\n",
         {"f 2 2 8 2"}},
        {"braces closed differently in two branches: the first branch's count",
         "close.c",
         "int f(int a)\n{\n\tif (a) {\n\t\ta++;\n#ifdef X\n\t} else if (a > 2) {\n\t\ta--;\n"
         "\t}\n#else\n\t}\n#endif\n\treturn a;\n}\nint g(void) { return 1; }\n",
         {"f 1 1 13 3", "g 14 14 14 1"}},
        {"a function opened in both branches",
         "open.c",
         "#ifdef X\nint f(int a) {\n#else\nint f(long a) {\n#endif\n\treturn a && 1;\n}\n",
         {"f 2 2 7 2"}},
        {"a body that never closes ends with the file",
         "open_end.cpp",
         "int f(int a) {\n  if (a) {\n    return 1;\n",
         {"f 1 1 3 2"}},
        {"braces that close nothing are passed over",
         "stray.cpp",
         "}\n} int f() { return 0; }\n",
         {"f 2 2 2 1"}},
        {"qualified names as written, classes around in-class definitions",
         "names.cpp",
         "int ns::Reader::next() { return 0; }\nstruct Outer { struct Inner {\n"
         "  ~Inner() {}\n  operator int() const { return 1; } }; };\n"
         "template <class T> bool operator==(const T& a, const T& b) { return &a == &b; }\n",
         {"ns::Reader::next 1 1 1 1", "Outer::Inner::~Inner 3 3 3 1",
          "Outer::Inner::operator int 4 4 4 1", "operator== 5 5 5 1"}},
        {"Java: class literals, field lambdas and initialiser blocks are no functions",
         "Fields.java",
         "class Fields {\n  static { if (DEBUG) log(Fields.class); }\n"
         "  Runnable r = () -> { if (a) b(); };\n"
         "  Object o = wrap(new Object() { int h() { return a ? 1 : 2; } });\n"
         "  interface Shape { default int sides() { return 0; } }\n}\n",
         {"Fields.new Object.h 4 4 4 2", "Fields.Shape.sides 5 5 5 1"}},
        {"Java: a method named record, a generic method",
         "Records.java",
         "class A {\n  void record(int x) { if (x > 0) y(); }\n"
         "  <T> java.util.List<T> of(T t) { return t == null ? null : List.of(t); }\n}\n",
         {"A.record 2 2 2 2", "A.of 3 3 3 2"}},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const FileCount record = countedFile(c.file, dir.write(c.file, c.source));
        EXPECT_EQ(describeAll(record), c.functions);
    }
}

TEST(FunctionFinderTest, FixturesHaveTheFunctionsOfTheirTables) {
    std::size_t fixtures = 0;
    for (const auto& entry : fs::directory_iterator(kFixtures + "/sources")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::ifstream table(kFixtures + "/expected/" + name + ".tsv");
        ASSERT_TRUE(table) << "no table beside the fixture";
        std::vector<std::string> expected;
        for (std::string line; std::getline(table, line);) {
            if (line.empty() || line[0] == '#') {
                continue;
            }
            // name, line, first line, last line, complexity: tabs between them
            std::string described;
            std::istringstream fields(line);
            for (std::string field; std::getline(fields, field, '\t');) {
                described += (described.empty() ? "" : " ") + field;
            }
            expected.push_back(described);
        }
        const FileCount record = countedFile(name, entry.path().string());
        EXPECT_EQ(describeAll(record), expected);
        ++fixtures;
    }
    EXPECT_GE(fixtures, 9u);
}

TEST(FunctionFinderTest, HasTheFunctionsAndNumbersPmccabeReports) {
    if (test::runProgram("/bin/sh", {"-c", "command -v pmccabe"}, ".").exitCode != 0) {
        GTEST_SKIP() << "pmccabe is not installed (apt-get install pmccabe): no comparison";
    }
    std::size_t compared = 0;
    for (const auto& entry : fs::directory_iterator(kFixtures + "/pmccabe")) {
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        const test::ProcessResult run = test::runProgram("/bin/sh", {"-c", "pmccabe " + path}, ".");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const FileCount record = countedFile(entry.path().filename().string(), path);
        // Each line: modified, traditional, statements, first line, lines, "file(line): name".
        std::istringstream lines(run.out);
        std::size_t theirs = 0;
        for (std::string line; std::getline(lines, line);) {
            unsigned modified = 0;
            unsigned traditional = 0;
            unsigned definition = 0;
            const std::size_t open = line.rfind('(');
            if (open == std::string::npos ||
                std::sscanf(line.c_str(), "%u %u", &modified, &traditional) != 2 ||
                std::sscanf(line.c_str() + open, "(%u)", &definition) != 1) {
                continue;
            }
            ++theirs;
            const std::string name = line.substr(line.find("): ", open) + 3);
            bool found = false;
            for (const FunctionComplexity& function : record.functions) {
                if (function.line == definition) {
                    found = true;
                    EXPECT_EQ(function.complexity, traditional) << name;
                    EXPECT_EQ(utf8FromUtf16(function.name), name);
                }
            }
            EXPECT_TRUE(found) << name << " at line " << definition;
        }
        EXPECT_EQ(record.functions.size(), theirs);
        compared += theirs;
    }
    EXPECT_GE(compared, 9u);
}

}  // namespace
}  // namespace tw
