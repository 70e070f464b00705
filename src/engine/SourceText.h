#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/TextScan.h"

namespace tw {

/// The end mark that closes every source text.
inline constexpr char16_t kEndMark = u'\uFFFF';
/// Stands for a character the text cannot hold as it is.
inline constexpr char16_t kReplacementCharacter = u'\uFFFD';
/// Stands for a line feed inside a span a stage has overwritten.
inline constexpr char16_t kNewlineMarker = u'1';

/// A conditional directive of a C/C++ text, kept where the complexity count needs it: the
/// directive itself is blanked, but which branch of an #if the code stands in decides how its
/// braces pair up.
struct ConditionalDirective {
    enum class Kind : std::uint8_t { If, Elif, Else, Endif };
    std::uint32_t position;  ///< of the '#'
    Kind kind;
};

/// The decoded text of one file on which every stage of a count works: the file's characters
/// without carriage returns, then the end mark. Stages change it only by replacing characters
/// in place, so a position names the same character in every stage. The positions of the line
/// feeds as read are kept beside it for the line numbers of error texts.
struct SourceText {
    std::u16string chars;
    std::vector<std::uint32_t> lineFeeds;
    /// The line feeds inside literals (raw strings, text blocks, strings continued by
    /// backslashes), in order. Blanking keeps them, so that each line of such a literal stays a
    /// line for the line classifier; the logical pre-parser then turns them into newline
    /// markers, making the literal one piece of text for statement counting. Filled by the
    /// physical pre-parser.
    std::vector<std::uint32_t> literalLineFeeds;
    /// The #if, #ifdef, #ifndef, #elif, #else and #endif directives of a C/C++ text, in order;
    /// filled by the logical pre-parser in the Cyclomatic Complexity mode alone.
    std::vector<ConditionalDirective> conditionals;

    /// A text of `body` (no end mark, no carriage returns expected) plus the end mark.
    static SourceText fromBody(std::u16string_view body);

    /// Records the line feeds `chars` holds now; called once, when the text is read.
    void indexLineFeeds();

    std::size_t size() const { return chars.size(); }
    char16_t operator[](std::size_t i) const { return chars[i]; }
    char16_t& operator[](std::size_t i) { return chars[i]; }
};

/// Buffers reused from file to file keep the size of the largest file they held; past this
/// size they are given back after use, so that a large file does not pin its memory for good
/// on every counting thread (which would defeat the budget of counts in progress). Source files
/// are rarely larger; reallocating for those that are costs little beside counting them.
inline constexpr std::size_t kLargestKeptBuffer = 4 * 1024 * 1024;

template <typename Buffer>
void releaseIfHuge(Buffer& buffer) {
    if (buffer.capacity() * sizeof(typename Buffer::value_type) > kLargestKeptBuffer) {
        Buffer().swap(buffer);
    }
}

/// 1-based line of a position: 1 plus the line feeds the text held, as read, at positions up to
/// and including it; 1 for a negative position.
int lineOfPosition(const SourceText& text, std::int64_t position);

/// Calls `visit(lineStart, lineLength)` for each line of the text (up to the end mark); a
/// final line feed is not followed by an empty line.
template <typename Visit>
void forEachLine(std::u16string_view chars, Visit&& visit) {
    std::size_t end = chars.size();
    if (end > 0 && chars[end - 1] == kEndMark) {
        --end;
    }
    std::size_t start = 0;
    while (start < end) {
        const std::size_t stop = findUnit(chars.data(), start, end, u'\n');
        visit(start, stop - start);
        start = stop + 1;
    }
}

/// The same over a source text, faster: its line feeds are found through the index of those it
/// held as read. A stage may have turned some into newline markers since; those no longer end
/// a line.
template <typename Visit>
void forEachLine(const SourceText& text, Visit&& visit) {
    const std::u16string& chars = text.chars;
    std::size_t end = chars.size();
    if (end > 0 && chars[end - 1] == kEndMark) {
        --end;
    }
    std::size_t start = 0;
    for (const std::uint32_t lineFeed : text.lineFeeds) {
        if (lineFeed >= end) {
            break;
        }
        if (chars[lineFeed] == u'\n') {
            visit(start, lineFeed - start);
            start = lineFeed + 1;
        }
    }
    if (start < end) {
        visit(start, end - start);
    }
}

}  // namespace tw
