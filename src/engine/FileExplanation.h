#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/LineType.h"

namespace tw {

/// A file as one count saw it, line by line: for a user who wants to know why the figures are
/// what they are.
struct FileExplanation {
    struct Line {
        std::size_t start;   ///< in `text`
        std::size_t length;  ///< without its line feed
        /// The line's class as the physical rules see it: Code, CommentOwnLine,
        /// CommentCodeLine, CommentBanner, CommentBlank or Blank.
        LineType kind = LineType::Code;
        /// In the logical modes, what the count found on the line.
        std::int32_t statements = 0;
        std::int32_t declarations = 0;
        std::int32_t directives = 0;
    };

    /// The file's text as read: decoded, without carriage returns.
    std::u16string text;
    /// Its lines; after a failed count, those classified before the failure.
    std::vector<Line> lines;
};

}  // namespace tw
