#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tw {

class FileCount;
struct FunctionComplexity;

/// Prints "tallyweaver: TEXT" as one line: why a console run stopped.
void printError(std::ostream& out, std::string_view text);

/// Prints "tallyweaver: warning: TEXT" as one line: something the run ignored or passed over.
void printWarning(std::ostream& out, std::string_view text);

/// Prints "tallyweaver: TEXT" as one line: something the run did on its own that the user
/// should know of (a folder made, a default taken).
void printNotice(std::ostream& out, std::string_view text);

/// The line that reports a file whose count failed, in the form compilers use: "PATH: error:
/// REASON" for a file that could not be read at all (the system's reason), else
/// "PATH:LINE: warning: TEXT" with the record's failure text ("PATH: warning: TEXT" without a
/// line). No line end.
std::string countFailureLine(const FileCount& record);

/// The line of -max-complexity for a function of `record` above `limit`, in the form compilers
/// use: "PATH:LINE: warning: function 'NAME' has cyclomatic complexity M (limit N)". No line end.
std::string complexityWarningLine(const FileCount& record, const FunctionComplexity& function,
                                  std::uint32_t limit);

/// Why a run that wrote every output ends with code 7: `count` functions are above `limit`.
std::string complexityLimitError(std::size_t count, std::uint32_t limit);

/// The warning for a path that names a file met before under `earlier`: it makes no record.
std::string sameFileWarning(std::u16string_view path, std::u16string_view earlier);

/// Why a run that wrote every output ends with code 8: `count` files could not be read.
std::string unreadableFilesError(std::size_t count);

/// `text` between single quotes, as UTF-8 for a message; an escaped byte that is not UTF-8
/// shows as U+FFFD.
std::string quoted(std::u16string_view text);
std::string quoted(std::string_view bytes);

/// The system's words for an `errno` value ("No such file or directory"); for
/// `kNotARegularFile`, "Not a regular file".
std::string systemReason(int error);

}  // namespace tw
