#include "engine/LogicCounter.h"

#include <gtest/gtest.h>

#include "support/U16.h"

namespace tw {
namespace {

using LogicStage = int (*)(SourceText&, FileCount&, int&);

struct LogicCase {
    const char* text;
    int statements;
    int conditionOperators;
    const char* after;
};

void expectLogic(LogicStage stage, const LogicCase& c) {
    SCOPED_TRACE(c.text);
    SourceText text = SourceText::fromBody(test::u16(c.text));
    FileCount record(u"a.cpp", "/nonexistent");
    int conditionOperators = -1;
    EXPECT_EQ(stage(text, record, conditionOperators), c.statements);
    EXPECT_EQ(conditionOperators, c.conditionOperators);
    if (c.after != nullptr) {
        EXPECT_EQ(test::u8(text.chars.substr(0, text.size() - 1)), c.after);
    }
}

TEST(LogicCounterTest, CountsCppKeywordsAndTheOperatorsOfTheirConditions) {
    const LogicCase cases[] = {
        {"if (a == b) x;", 1, 1, "            x;"},
        {"if (!x)", 1, 1, nullptr},
        {"if ((a) || (b))", 1, 1, nullptr},
        {"else if (x > y)", 1, 1, "               "},
        {"for (i = 0; i < n; i++)", 1, 3, nullptr},
        {"else", 1, 0, "    "},
        {"else {", 1, 0, "     {"},
        {"break;", 1, 0, "     ;"},
        {"continue;", 1, 0, nullptr},
        {"default:", 1, 0, nullptr},
        {"return;", 1, 0, nullptr},
        {"return x;", 1, 0, "       x;"},
        {"goto end;", 1, 0, nullptr},
        {"try", 1, 0, nullptr},
        {"case 0:", 1, 0, "     0:"},
        {"switch (k)", 1, 0, nullptr},
        {"while (x)", 1, 0, nullptr},
        // No blank before the parenthesis: not a condition keyword; x stays for the operators.
        {"if(x)", 0, 0, "if(x)"},
        // 'else' and 'case' have no word end.
        {"elsewhere", 1, 0, "    where"},
        {"cases", 1, 0, nullptr},
        {"do { } while (x);", 1, 0, nullptr},
        {"finally", 0, 0, "finally"},
        // A condition spanning lines keeps its line feeds.
        {"while (a &&\n b)", 1, 1, "           \n   "},
        {"", 0, 0, ""},
    };
    for (const LogicCase& c : cases) {
        expectLogic(countCppLogic, c);
    }
}

TEST(LogicCounterTest, JavaAddsFinallyAndCountsJavaOperators) {
    const LogicCase cases[] = {
        {"finally", 1, 0, "       "},
        {"try", 1, 0, nullptr},
        {"catch", 1, 0, nullptr},
        {"if (a.b)", 1, 1, nullptr},
        {"while (x >>> 0 > 0)", 1, 3, nullptr},
    };
    for (const LogicCase& c : cases) {
        expectLogic(countJavaLogic, c);
    }
}

TEST(LogicCounterTest, AnUnclosedConditionFailsWithEmptyRemarksAtTheKeyword) {
    const LogicStage stages[] = {countCppLogic, countJavaLogic};
    for (const LogicStage stage : stages) {
        SourceText text = SourceText::fromBody(u"x;\nwhile (a\n&& (b)");
        FileCount record(u"a.cpp", "/nonexistent");
        record.remarks = u"stale";
        int conditionOperators = 0;
        EXPECT_EQ(stage(text, record, conditionOperators), -1);
        EXPECT_EQ(record.remarks, u"");
        EXPECT_EQ(record.errorLine, 2);
    }
}

}  // namespace
}  // namespace tw
