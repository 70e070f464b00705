#pragma once

#include <string>
#include <string_view>

namespace tw {

// Command-line values and names read from the file system are kept as UTF-16 in which every
// byte that is not valid UTF-8 is held as the lone surrogate U+DC00 + byte. The file can still
// be opened with the exact bytes, while the project shows U+FFFD in their place.

/// The escaped UTF-16 form of bytes from the command line, a list file or a directory.
std::u16string argumentText(std::string_view bytes);

/// The bytes to open on disk for an escaped text.
std::string diskBytes(std::u16string_view text);

/// The text to show: every escaped byte replaced by U+FFFD.
std::u16string displayText(std::u16string_view text);

/// Drops a double or single quote at the start and, independently, one at the end: how
/// directory values and list-file lines are unquoted.
std::u16string stripQuotes(std::u16string text);

}  // namespace tw
