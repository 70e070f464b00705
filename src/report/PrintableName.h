#pragma once

#include <string>
#include <string_view>

namespace tw {

/// A file or folder name as text for people: each control character (below U+0020: line feed,
/// tab, carriage return and the others; U+0080 to U+009F, next line among them) and each line or
/// paragraph separator (U+2028, U+2029) shown as '?', so that no name can break a line or a
/// column, whichever characters a reader splits lines at. Files are still reached by their true
/// names.
std::u16string printableName(std::u16string_view name);

/// Whether `name` holds a character that `printableName` replaces.
bool hasControlCharacter(std::u16string_view name);

}  // namespace tw
