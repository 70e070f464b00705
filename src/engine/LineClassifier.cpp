#include "engine/LineClassifier.h"

#include <algorithm>
#include <array>

#include "engine/CountSettings.h"
#include "engine/Language.h"
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

/// Whether `line` ends inside a line comment, for a line that begins inside a block comment or
/// not: where a backslash at its end carries the comment over to the next line.
bool endsInLineComment(bool inBlockComment, std::u16string_view line) {
    for (std::size_t i = 0; i + 1 < line.size();) {
        if (inBlockComment) {
            const std::size_t close = findCommentClose(line.data(), i, line.size());
            if (close >= line.size()) {
                return false;
            }
            inBlockComment = false;
            i = close + 2;
        } else if (line[i] == u'/' && line[i + 1] == u'/') {
            return true;
        } else if (line[i] == u'/' && line[i + 1] == u'*') {
            inBlockComment = true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}

bool isWhiteSpaceLine(std::u16string_view line) {
    for (const char16_t unit : line) {
        if (!isWhiteSpaceChar(unit)) {
            return false;
        }
    }
    return true;
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
        return isWhiteSpaceLine(line) ? LineShape::BlankShape : LineShape::CodeOnly;
    }

    Step step = Step::ClassifyLine;
    std::u16string_view rest = line;
    for (;;) {
        switch (step) {
            case Step::ClassifyLine: {
                std::size_t p = 0;
                while (p < rest.size() && isWhiteSpaceChar(rest[p])) {
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
                // Inside a block comment "//" is text like any other.
                if (head == u"//" && !inBlockComment) {
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

bool isBanner(std::u16string_view line, UnitForm form) {
    if (line.empty()) {
        return false;
    }
    for (std::size_t i = 0; i < line.size();) {
        const CommentChar c = commentCharAt(line, i, line.size(), form);
        if (c.word) {
            return false;
        }
        i += c.length;
    }
    return true;
}

bool classifyPhysicalLines(const SourceText& text, FileCount& record, CountMode mode,
                           std::vector<LineType>* kinds) {
    const bool physical = mode == CountMode::Physical;
    const bool spliced = languageOf(record.fileType).splicesLines;
    const UnitForm form = unitFormOf(record.encoding);
    record.inBlockComment = false;
    // The line goes on a line comment whose line ended in a backslash.
    bool continuedComment = false;
    const std::u16string_view chars = text.chars;
    bool ok = true;
    forEachLine(text, [&](std::size_t start, std::size_t length) {
        if (!ok) {
            return;
        }
        const std::u16string_view line = chars.substr(start, length);
        const bool inside = record.inBlockComment;
        const bool endsInBackslash = spliced && !line.empty() && line.back() == u'\\';
        // Counts the line as `kind`; code lines count here only in the physical mode, where
        // the logical stages do not fill `code`.
        const auto add = [&](LineType kind) {
            switch (kind) {
                case LineType::Code:
                    record.code += physical ? 1 : 0;
                    break;
                case LineType::CommentOwnLine:
                    ++record.commentOwnLine;
                    break;
                case LineType::CommentCodeLine:
                    ++record.commentCodeLine;
                    break;
                case LineType::CommentBanner:
                    ++record.commentBanner;
                    break;
                case LineType::CommentBlank:
                    ++record.commentBlank;
                    break;
                default:
                    ++record.blank;
                    break;
            }
            if (kinds != nullptr) {
                kinds->push_back(kind);
            }
        };
        const auto banner = [&] {
            add(isBanner(line, form) ? LineType::CommentBanner : LineType::CommentOwnLine);
        };
        const auto commentOr = [&](LineType outside) {
            add(inside ? LineType::CommentOwnLine : outside);
        };
        if (continuedComment) {
            // Comment throughout: the backslash joined it to the comment above.
            if (isWhiteSpaceLine(line)) {
                add(LineType::CommentBlank);
            } else {
                banner();
            }
            continuedComment = endsInBackslash;
            return;
        }
        continuedComment = endsInBackslash && endsInLineComment(inside, line);
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
                add(LineType::CommentCodeLine);
                record.inBlockComment = false;
                break;
            case LineShape::CodeWithLineComment:
                commentOr(LineType::CommentCodeLine);
                break;
            case LineShape::BlankShape:
                add(inside ? LineType::CommentBlank : LineType::Blank);
                break;
            case LineShape::CodeOnly:
                commentOr(LineType::Code);
                break;
            case LineShape::CommentOpened:
                banner();
                record.inBlockComment = true;
                break;
            case LineShape::MixedOpened:
                commentOr(LineType::CommentCodeLine);
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
                add(LineType::CommentCodeLine);
                record.inBlockComment = false;
                break;
            case LineShape::ClosingCodeOpening:
                add(LineType::CommentCodeLine);
                break;
            case LineShape::Undetermined:
                fail(u"Unable to determine line type");
                return;
        }
    });
    return ok;
}

}  // namespace tw
