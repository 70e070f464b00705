#pragma once

#include <string_view>

#include "engine/FileCount.h"
#include "engine/SourceText.h"

namespace tw {

/// True when every character is a space, tab, carriage return or line feed (or there is none).
bool isBlank(std::u16string_view text);

/// The logical count of a resource script in every logical mode: `code` becomes its number of
/// non-blank lines. Never fails and never changes the text.
bool parseResourceScriptLogical(const SourceText& text, FileCount& record);

}  // namespace tw
