#pragma once

#include <string>
#include <string_view>

#include "engine/FileCount.h"

namespace tw {

/// The fixed patterns of the operator stage, as the counting rules write them.
namespace operatorPatterns {
inline constexpr std::u16string_view kScope = u"(::)";
inline constexpr std::u16string_view kMemberAccess = u"(->|\\.)";
inline constexpr std::u16string_view kIncrementDecrement = u"(\\+\\+)|(--)";
inline constexpr std::u16string_view kBooleanLogic =
    u"(==)|(!=)|(!)[^!]|(>=)|(>)[^>]|(<=)|(<)[^<]|(&&)|(\\|\\|)";
inline constexpr std::u16string_view kAddAssign = u"(\\+=)";
inline constexpr std::u16string_view kSubtractAssign = u"(-=)";
inline constexpr std::u16string_view kMultiplyAssign = u"(\\*=)";
inline constexpr std::u16string_view kDivideAssign = u"(/=)";
inline constexpr std::u16string_view kRemainderAssign = u"(%=)";
inline constexpr std::u16string_view kAndAssign = u"(&=)";
inline constexpr std::u16string_view kXorAssign = u"(\\^=)";
inline constexpr std::u16string_view kOrAssign = u"(\\|=)";
inline constexpr std::u16string_view kShiftRightAssign = u"(>>=)";
inline constexpr std::u16string_view kShiftLeftAssign = u"(<<=)";
inline constexpr std::u16string_view kAssign = u"(=)[^=]";
inline constexpr std::u16string_view kAdd = u"(\\+)";
inline constexpr std::u16string_view kSubtract = u"(-)";
inline constexpr std::u16string_view kMultiply = u"(\\*+)";
inline constexpr std::u16string_view kDivide = u"(/)";
inline constexpr std::u16string_view kRemainder = u"(%)";
inline constexpr std::u16string_view kBitwise = u"(&)|(\\|)|(~)|(\\^)|(<<)|(>>)";
inline constexpr std::u16string_view kNewDelete = u"\\b(new|delete)\\b";
inline constexpr std::u16string_view kTernary = u"(\\?)";
inline constexpr std::u16string_view kJavaMemberAccess = u"(\\.)";
inline constexpr std::u16string_view kJavaBitwise = u"(&)|(\\|)|(~)|(\\^)|(<<)|(>>)|(<<<)|(>>>)";
}  // namespace operatorPatterns

/// Counts the C/C++ operators of `text` and overwrites them, in the order that decides how a
/// run of characters is read: scope (overwritten, not counted), member access, increment and
/// decrement, boolean logic, assignment, math, bitwise, new and delete, ternary. -1 after a
/// failure, with the failing step's message in `remarks`. Runs on the working text and on
/// copies (bracket contents, conditions, argument lists).
int countCppOperators(std::u16string& text, FileCount& record);

/// The Java operators: as the C/C++ ones without the scope step, with member access "." counted
/// and the Java bitwise set.
int countJavaOperators(std::u16string& text, FileCount& record);

/// Counts and glues over the eleven assignment operators, compound ones first; -1 on failure.
int countAssignmentOperators(std::u16string& text);

/// Counts and glues over '+', '-', runs of '*', '/' and '%'; -1 on failure.
int countMathOperators(std::u16string& text);

}  // namespace tw
