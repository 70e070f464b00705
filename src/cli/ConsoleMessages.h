#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace tw {

/// Prints "tallyweaver: TEXT" as one line: why a console run stopped.
void printError(std::ostream& out, std::string_view text);

/// Prints "tallyweaver: warning: TEXT" as one line: something the run ignored or passed over.
void printWarning(std::ostream& out, std::string_view text);

/// `text` between single quotes, as UTF-8 for a message; an escaped byte that is not UTF-8
/// shows as U+FFFD.
std::string quoted(std::u16string_view text);
std::string quoted(std::string_view bytes);

/// The system's words for an `errno` value ("No such file or directory").
std::string systemReason(int error);

}  // namespace tw
