#pragma once

#include <array>
#include <string_view>

namespace tw {

/// The line categories a record counts, in the order reports and views show them.
enum class LineType {
    Code,
    Declaration,
    Directive,
    CommentOwnLine,
    CommentCodeLine,
    CommentBanner,
    CommentBlank,
    Blank,
};

/// Every line type in display order.
inline constexpr std::array<LineType, 8> kLineTypes = {
    LineType::Code,           LineType::Declaration,     LineType::Directive,
    LineType::CommentOwnLine, LineType::CommentCodeLine, LineType::CommentBanner,
    LineType::CommentBlank,   LineType::Blank,
};

/// "Code", "Comment/Own Line", ...
std::u16string_view lineTypeName(LineType type);

/// Names of the derived columns and of the words column.
inline constexpr std::u16string_view kTotalCommentName = u"(Total Comment)";
inline constexpr std::u16string_view kTotalName = u"(Total)";
inline constexpr std::u16string_view kCommentWordsName = u"Comment Words";

}  // namespace tw
