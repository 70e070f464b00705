#include "engine/LineClassifier.h"

#include <algorithm>
#include <array>

#include "engine/CountSettings.h"
#include "engine/TextScan.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

constexpr std::array<LineShape, 12> kShapes = {
    LineShape::CommentClosed,       LineShape::LineComment,        LineShape::MixedClosed,
    LineShape::CodeWithLineComment, LineShape::BlankShape,         LineShape::CodeOnly,
    LineShape::CommentOpened,       LineShape::MixedOpened,        LineShape::CommentClosing,
    LineShape::ClosingThenCode,     LineShape::ClosingCodeOpening, LineShape::Undetermined,
};

constexpr std::size_t indexOf(LineShape shape) {
    switch (shape) {
        case LineShape::CommentClosed:
            return 0;
        case LineShape::LineComment:
            return 1;
        case LineShape::MixedClosed:
            return 2;
        case LineShape::CodeWithLineComment:
            return 3;
        case LineShape::BlankShape:
            return 4;
        case LineShape::CodeOnly:
            return 5;
        case LineShape::CommentOpened:
            return 6;
        case LineShape::MixedOpened:
            return 7;
        case LineShape::CommentClosing:
            return 8;
        case LineShape::ClosingThenCode:
            return 9;
        case LineShape::ClosingCodeOpening:
            return 10;
        case LineShape::Undetermined:
            break;
    }
    return 11;
}

constexpr bool indexesFollowTheTable() {
    for (std::size_t i = 0; i < kShapes.size(); ++i) {
        if (indexOf(kShapes[i]) != i) {
            return false;
        }
    }
    return true;
}
static_assert(indexesFollowTheTable());

/// A mapping of the shape of a line's rest onto the shape of the whole line.
using ShapeMap = std::array<LineShape, 12>;

/// Builds a map from its non-Undetermined entries; every other shape maps to Undetermined.
constexpr ShapeMap makeMap(std::initializer_list<std::pair<LineShape, LineShape>> entries) {
    ShapeMap map{};
    map.fill(LineShape::Undetermined);
    for (const auto& [from, to] : entries) {
        map[indexOf(from)] = to;
    }
    return map;
}

using S = LineShape;

/// classifyLine inside a comment, for the rest after the "*/" it found.
constexpr ShapeMap kAfterCloseInComment = makeMap({
    {S::CommentClosed, S::CommentClosing},
    {S::LineComment, S::CommentClosing},
    {S::BlankShape, S::CommentClosing},
    {S::MixedClosed, S::ClosingThenCode},
    {S::CodeWithLineComment, S::ClosingThenCode},
    {S::CodeOnly, S::ClosingThenCode},
    {S::CommentOpened, S::CommentOpened},
    {S::MixedOpened, S::ClosingCodeOpening},
});

/// classifyLine outside a comment, for what afterCommentOpen gives after code.
constexpr ShapeMap kOpenAfterCode = makeMap({
    {S::CommentClosed, S::MixedClosed},
    {S::MixedClosed, S::MixedClosed},
    {S::CommentOpened, S::MixedOpened},
    {S::MixedOpened, S::MixedOpened},
});

/// afterCommentOpen, for the rest after the "*/" that closes its comment.
constexpr ShapeMap kAfterOpenedComment = makeMap({
    {S::CommentClosed, S::CommentClosed},
    {S::LineComment, S::CommentClosed},
    {S::BlankShape, S::CommentClosed},
    {S::MixedClosed, S::MixedClosed},
    {S::CodeWithLineComment, S::MixedClosed},
    {S::CodeOnly, S::MixedClosed},
    {S::CommentOpened, S::CommentOpened},
    {S::MixedOpened, S::MixedOpened},
});

/// afterCommentClose, for the rest after a "*/" at the line's first non-blank character.
constexpr ShapeMap kAfterLeadingClose = makeMap({
    {S::CommentClosed, S::CommentClosing},
    {S::LineComment, S::CommentClosing},
    {S::BlankShape, S::CommentClosing},
    {S::MixedClosed, S::ClosingThenCode},
    {S::CodeOnly, S::ClosingThenCode},
    {S::CodeWithLineComment, S::MixedClosed},
    {S::CommentOpened, S::CodeOnly},
    {S::MixedOpened, S::CodeOnly},
});

/// Whether the line at `start` is an empty line inside a raw string or text block. Blanking
/// left every other line of such a literal non-blank; this one is text of the literal too,
/// and so code, not a blank line.
bool isEmptyLineOfLiteral(const SourceText& text, std::size_t start, std::size_t length) {
    return length == 0 && start > 0 && !text.literalLineFeeds.empty() &&
           std::binary_search(text.literalLineFeeds.begin(), text.literalLineFeeds.end(),
                              static_cast<std::uint32_t>(start - 1));
}

/// The three steps of the classification; each either ends it or hands the rest of the line
/// to the next step together with the map that turns the rest's shape into the line's.
enum class Step { ClassifyLine, AfterCommentOpen, AfterCommentClose };

}  // namespace

LineShape classifyLine(bool inBlockComment, std::u16string_view line) {
    // The maps met on the way compose into one, applied to the shape of the innermost rest.
    // Most lines meet none.
    ShapeMap composed;
    bool composing = false;
    const auto handOn = [&](const ShapeMap& map) {
        if (!composing) {
            composed = map;
            composing = true;
            return;
        }
        ShapeMap next;
        for (std::size_t i = 0; i < kShapes.size(); ++i) {
            next[i] = composed[indexOf(map[i])];
        }
        composed = next;
    };
    const auto finish = [&](LineShape shape) {
        return composing ? composed[indexOf(shape)] : shape;
    };

    // Outside a comment, a line without '/' holds no comment marker: it is code or blank.
    // Most lines are such lines.
    if (!inBlockComment && findUnit(line.data(), 0, line.size(), u'/') == line.size()) {
        for (const char16_t unit : line) {
            if (!isBlankChar(unit)) {
                return LineShape::CodeOnly;
            }
        }
        return LineShape::BlankShape;
    }

    Step step = Step::ClassifyLine;
    std::u16string_view rest = line;
    for (;;) {
        switch (step) {
            case Step::ClassifyLine: {
                std::size_t p = 0;
                while (p < rest.size() && isBlankChar(rest[p])) {
                    ++p;
                }
                if (p == rest.size()) {
                    return finish(LineShape::BlankShape);
                }
                const std::u16string_view head = rest.substr(p, 2);
                if (head == u"/*") {
                    step = Step::AfterCommentOpen;
                    rest = rest.substr(p + 2);
                    continue;
                }
                if (head == u"*/") {
                    step = Step::AfterCommentClose;
                    rest = rest.substr(p + 2);
                    continue;
                }
                if (head == u"//") {
                    return finish(LineShape::LineComment);
                }
                if (inBlockComment) {
                    const std::size_t close = findCommentClose(rest.data(), p, rest.size());
                    if (close >= rest.size()) {
                        return finish(LineShape::CodeOnly);
                    }
                    if (close + 2 == rest.size()) {
                        return finish(LineShape::CommentClosing);
                    }
                    handOn(kAfterCloseInComment);
                    inBlockComment = false;
                    rest = rest.substr(close + 2);
                    continue;
                }
                // The first "/*" or "//", whichever comes first; one scan keeps a line of
                // many comments linear.
                std::size_t marker = findUnit(rest.data(), p, rest.size(), u'/');
                while (marker + 1 < rest.size() && rest[marker + 1] != u'*' &&
                       rest[marker + 1] != u'/') {
                    marker = findUnit(rest.data(), marker + 1, rest.size(), u'/');
                }
                if (marker + 1 >= rest.size()) {
                    return finish(LineShape::CodeOnly);
                }
                if (rest[marker + 1] == u'*') {
                    handOn(kOpenAfterCode);
                    step = Step::AfterCommentOpen;
                    rest = rest.substr(marker + 2);
                    continue;
                }
                return finish(LineShape::CodeWithLineComment);
            }
            case Step::AfterCommentOpen: {
                const std::size_t close = findCommentClose(rest.data(), 0, rest.size());
                if (close >= rest.size()) {
                    return finish(LineShape::CommentOpened);
                }
                if (close + 2 == rest.size()) {
                    return finish(LineShape::CommentClosed);
                }
                handOn(kAfterOpenedComment);
                inBlockComment = false;
                step = Step::ClassifyLine;
                rest = rest.substr(close + 2);
                continue;
            }
            case Step::AfterCommentClose: {
                handOn(kAfterLeadingClose);
                inBlockComment = false;
                step = Step::ClassifyLine;
                continue;
            }
        }
    }
}

LineShape classifyLine(const FileCount& record, std::u16string_view line) {
    return classifyLine(record.inBlockComment, line);
}

bool isBanner(std::u16string_view line) {
    if (line.empty()) {
        return false;
    }
    for (const char16_t c : line) {
        if (isWordChar(c)) {
            return false;
        }
    }
    return true;
}

bool classifyPhysicalLines(const SourceText& text, FileCount& record, CountMode mode) {
    const bool physical = mode == CountMode::Physical;
    record.inBlockComment = false;
    const std::u16string_view chars = text.chars;
    bool ok = true;
    forEachLine(text, [&](std::size_t start, std::size_t length) {
        if (!ok) {
            return;
        }
        const std::u16string_view line = chars.substr(start, length);
        const bool inside = record.inBlockComment;
        const auto banner = [&] {
            ++(isBanner(line) ? record.commentBanner : record.commentOwnLine);
        };
        const auto fail = [&](const char16_t* message) {
            record.remarks = message;
            record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(start));
            ok = false;
        };
        switch (isEmptyLineOfLiteral(text, start, length) ? LineShape::CodeOnly
                                                          : classifyLine(inside, line)) {
            case LineShape::CommentClosed:
                banner();
                record.inBlockComment = false;
                break;
            case LineShape::LineComment:
                banner();
                break;
            case LineShape::MixedClosed:
                ++record.commentCodeLine;
                record.inBlockComment = false;
                break;
            case LineShape::CodeWithLineComment:
                ++(inside ? record.commentOwnLine : record.commentCodeLine);
                break;
            case LineShape::BlankShape:
                ++(inside ? record.commentBlank : record.blank);
                break;
            case LineShape::CodeOnly:
                if (inside) {
                    ++record.commentOwnLine;
                } else if (physical) {
                    ++record.code;
                }
                break;
            case LineShape::CommentOpened:
                banner();
                record.inBlockComment = true;
                break;
            case LineShape::MixedOpened:
                ++(inside ? record.commentOwnLine : record.commentCodeLine);
                record.inBlockComment = true;
                break;
            case LineShape::CommentClosing:
                if (!inside) {
                    fail(u"Illegal end of comment");
                    return;
                }
                banner();
                record.inBlockComment = false;
                break;
            case LineShape::ClosingThenCode:
                ++record.commentCodeLine;
                record.inBlockComment = false;
                break;
            case LineShape::ClosingCodeOpening:
                ++record.commentCodeLine;
                break;
            case LineShape::Undetermined:
                fail(u"Unable to determine line type");
                return;
        }
    });
    return ok;
}

}  // namespace tw
