#pragma once

#include <string>
#include <string_view>

namespace tw {

/// A file or folder name as text for people: each control character (below U+0020: line feed,
/// tab, carriage return and the others) shown as '?', so that no name can break a line or a
/// column. Files are still reached by their true names.
std::u16string printableName(std::u16string_view name);

/// Whether `name` holds a character that `printableName` replaces.
bool hasControlCharacter(std::u16string_view name);

}  // namespace tw
