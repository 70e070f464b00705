#pragma once

#include <string_view>
#include <vector>

#include "engine/CommentWordChars.h"
#include "engine/CountMode.h"
#include "engine/FileCount.h"
#include "engine/LineType.h"
#include "engine/SourceText.h"

namespace tw {

/// What one physical line holds, as far as comments are concerned. The values combine flags:
/// 8 code beside a block comment, 128 a block comment left open, 256 a comment closed that was
/// open when the line began.
enum class LineShape : int {
    CommentClosed = 0,
    LineComment = 4,
    MixedClosed = 8,
    CodeWithLineComment = 16,
    BlankShape = 32,
    CodeOnly = 64,
    CommentOpened = 128,
    MixedOpened = 136,
    CommentClosing = 256,
    ClosingThenCode = 264,
    ClosingCodeOpening = 392,
    Undetermined = -1,
};

/// Shape of `line` for a line that begins inside a block comment or not (the record's
/// `inBlockComment`, which this never changes). Whatever follows a closing "*/" is classified
/// as lying outside any comment. Works in one pass without recursion, however many comments
/// the line holds.
LineShape classifyLine(const FileCount& record, std::u16string_view line);
LineShape classifyLine(bool inBlockComment, std::u16string_view line);

/// True when the whole line consists of characters that are not word characters (letters and
/// digits of any script, and '_'): a comment line of dashes, stars or slashes only. `form`
/// tells how the line's units stand for characters.
bool isBanner(std::u16string_view line, UnitForm form);

/// Gives every line of the text one category and adds it to the record's line counters, and
/// to `kinds` when given. Fails on a line that closes a comment never opened or cannot be
/// classified.
bool classifyPhysicalLines(const SourceText& text, FileCount& record, CountMode mode,
                           std::vector<LineType>* kinds = nullptr);

}  // namespace tw
