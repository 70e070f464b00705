#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// List files larger than this are refused (a list of a million long paths is far smaller).
inline constexpr std::size_t kLargestListFile = std::size_t{1} << 30;

/// Lines longer than this are no path the system would take (PATH_MAX), and are refused.
inline constexpr std::size_t kLongestListLine = 4096;

/// Turns the bytes of a list file, given in pieces of any size, into one path per line:
/// UTF-8 (bytes that are not are kept escaped), quotes at either end stripped. A line ends at a
/// line feed, a carriage return, or both together. Empty lines name no file; one of them is
/// kept, as an empty path that the project tree refuses, so a list of nothing but empty lines
/// is still a list that named something. A line longer than `kLongestListLine` bytes is not
/// kept; `onLongLine` hears of it with its number.
class ListFileLines {
  public:
    ListFileLines(std::vector<std::u16string>& files,
                  std::function<void(std::size_t line)> onLongLine = {})
        : files_(files), onLongLine_(std::move(onLongLine)) {}

    /// Takes the next bytes of the file.
    void feed(std::string_view bytes);
    /// Ends the file: its last line needs no line end.
    void finish();

  private:
    void endLine();

    std::vector<std::u16string>& files_;
    std::function<void(std::size_t line)> onLongLine_;
    std::string line_;
    std::size_t lineNumber_ = 1;
    bool tooLong_ = false;
    bool afterCarriageReturn_ = false;
    bool keptEmpty_ = false;
};

/// All the lines of `bytes` as `ListFileLines` reads them.
void appendListLines(std::string_view bytes, std::vector<std::u16string>& files);

/// Reads the list file at `path` (escaped text) into `files`, as a stream: a regular file or a
/// pipe. Returns 0, or the `errno` that says why it cannot be opened or read as one: missing
/// (ENOENT), a directory (EISDIR), a device (ENODEV), larger than `kLargestListFile` (EFBIG,
/// known before reading for a regular file), more than the memory can hold (ENOMEM).
int readListFile(const std::u16string& path, std::vector<std::u16string>& files,
                 const std::function<void(std::size_t line)>& onLongLine = {});

}  // namespace tw
