#include "engine/LogicCounter.h"

#include <cstdint>
#include <string>

#include "engine/CountTrace.h"
#include "engine/MatchCounter.h"
#include "engine/OperatorCounter.h"
#include "engine/PatternScanners.h"

namespace tw {
namespace {

using OperatorCounter = int (*)(std::u16string&, FileCount&);

int countLogic(SourceText& text, FileCount& record, int& conditionOperators, PatternScanner scan,
               OperatorCounter countOperators) {
    conditionOperators = 0;
    std::u16string& chars = text.chars;
    std::u16string condition;
    PatternMatch match;
    int count = 0;
    std::size_t position = 0;
    while (position < chars.size()) {
        const MatchStatus status = scan(std::u16string_view(chars).substr(position), match);
        if (status == MatchStatus::NotFound) {
            break;
        }
        if (status == MatchStatus::Error) {
            record.remarks = u"Failed to match logic statements.";
            return -1;
        }
        const std::size_t begin = position + match.begin;
        std::size_t end = position + match.end - 1;
        if (chars[end] == u'(') {
            // The condition: everything up to the ')' that closes this '('.
            std::size_t close = end + 1;
            for (int depth = 1; close < chars.size(); ++close) {
                if (chars[close] == u'(') {
                    ++depth;
                } else if (chars[close] == u')' && --depth == 0) {
                    break;
                }
            }
            if (close >= chars.size()) {
                record.remarks.clear();
                record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(begin));
                return -1;
            }
            condition.assign(chars, end + 1, close - end - 1);
            const int operators = countOperators(condition, record);
            if (operators < 0) {
                return -1;
            }
            conditionOperators += operators;
            CountTrace::note(chars, begin, TraceKind::ConditionOperators, operators);
            end = close;
        }
        ++count;
        CountTrace::note(chars, begin, TraceKind::Statement);
        blankKeepingLineFeeds(chars, begin, end + 1);
        position = end + 1;
    }
    return count;
}

}  // namespace

int countCppLogic(SourceText& text, FileCount& record, int& conditionOperators) {
    return countLogic(text, record, conditionOperators, logicScanners::cpp, countCppOperators);
}

int countJavaLogic(SourceText& text, FileCount& record, int& conditionOperators) {
    return countLogic(text, record, conditionOperators, logicScanners::java, countJavaOperators);
}

}  // namespace tw
