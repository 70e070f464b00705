#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CountSettings.h"
#include "engine/FileExplanation.h"
#include "engine/FileType.h"
#include "engine/FunctionComplexity.h"
#include "engine/SourceFile.h"
#include "engine/TextEncoding.h"

namespace tw {

/// Lets a caller that counts several files at once bound the memory the counts take together:
/// each count asks for room for its file once the file is open and its size known, and gives it
/// back when it ends.
class CountMemoryGate {
  public:
    virtual ~CountMemoryGate() = default;
    /// Waits until a file of `bytes` may be counted.
    virtual void enter(std::uint64_t bytes) = 0;
    /// The count of a file of `bytes` has ended.
    virtual void leave(std::uint64_t bytes) = 0;
};

/// The count record of one file: its path, what kind of file it is, and the results of its last
/// count. The engine fills it (`count()`), the project tree owns and sums it, the project file
/// stores it, reports and views read it.
///
/// `path` is the file's path as the user gave it, case and '/' kept, shown with U+FFFD for
/// bytes that are not UTF-8. Beside it the record keeps the path on disk (`diskPath`, bytes as
/// the file system takes them); every file access uses the disk path.
class FileCount {
  public:
    /// When a new record measures its file (size and byte-order mark).
    enum class Measure {
        /// At construction.
        Now,
        /// When it is first counted, with the same file open: for records made only to be
        /// counted at once, so that measuring runs on the counting threads too.
        AtFirstCount,
    };

    /// A record for `path` whose file lies at `diskPath`; takes the type from the extension,
    /// whatever its case. Measures the file and detects its encoding when it can be opened, at
    /// once or at the first count as `measure` says.
    FileCount(std::u16string_view path, std::string diskPath, Measure measure = Measure::Now);
    /// A record whose disk path is `path` itself.
    explicit FileCount(std::u16string_view path);

    /// Counts the file by `settings`; true when every stage succeeded. On failure the record is
    /// in the Failed state: `remarks` holds the whole error text, `errorLine` the line where
    /// known, every counter is 0, and so it stays until counted again or reset. Never throws: a
    /// file the memory cannot hold fails with "Not enough memory to count the file." With
    /// `gate`, the count waits for room for its file before reading it.
    bool count(const CountSettings& settings, CountMemoryGate* gate = nullptr);

    /// Counts as `count` does and shows how: the file's text, the class of each line and, in
    /// the logical modes, what the count found on each line. For a look at single files.
    bool explain(const CountSettings& settings, FileExplanation& explanation);

    /// `count` and `explain` of the file `held` holds in place of the one at `diskPath`: the
    /// same reading, decoding and stages, as though the file on disk had those bytes; the size
    /// and the encoding (by the byte-order mark) are taken from them. A `held` that names no
    /// bytes fails as a file that cannot be opened, with its error.
    bool countHeld(const HeldFile& held, const CountSettings& settings,
                   CountMemoryGate* gate = nullptr);
    bool explainHeld(const HeldFile& held, const CountSettings& settings,
                     FileExplanation& explanation);

    /// Back to the uncounted state; path, type, encoding and size stay.
    void reset();

    /// The part of `path` after its last '/'.
    std::u16string_view fileName() const;

    /// The derived totals, by the rules of `kCountColumns`.
    std::uint32_t totalComment() const;
    std::uint32_t total() const;

    /// Counted successfully: what reports and views require before showing numbers.
    bool hasCounts() const { return counted && !failed; }

    std::u16string path;
    std::string diskPath;
    std::u16string remarks;
    bool counted = false;
    bool failed = false;
    bool inBlockComment = false;
    std::uint32_t code = 0;
    std::uint32_t declaration = 0;
    std::uint32_t directive = 0;
    std::uint32_t commentOwnLine = 0;
    std::uint32_t commentCodeLine = 0;
    std::uint32_t commentBanner = 0;
    std::uint32_t commentWords = 0;
    std::uint32_t commentBlank = 0;
    std::uint32_t blank = 0;
    FileType fileType = FileType::Undefined;
    TextEncoding encoding = TextEncoding::Ansi;
    std::uint32_t sizeBytes = 0;
    double countSeconds = 0.0;
    std::int32_t errorLine = -1;
    /// Why the last count could not read the file at all (missing, a directory, no permission,
    /// a read error): the `errno` value, or `kNotARegularFile` for a pipe or a device; 0 when
    /// the file was read, whether its count then succeeded or not. Not stored in project files.
    int readError = 0;
    /// In the Cyclomatic Complexity mode, the functions of a C/C++ or Java file in the order
    /// their definitions begin; `code` is the sum of their complexities. Empty in other modes
    /// and after a failed count.
    std::vector<FunctionComplexity> functions;

  private:
    void clearCounters();
    /// The stages of `count()` after its start, in their fixed order.
    /// `held`: the file's bytes in memory; null to read the file at `diskPath`.
    bool countStages(std::chrono::steady_clock::time_point start, const CountSettings& settings,
                     CountMemoryGate* gate, FileExplanation* explanation, const HeldFile* held);
    bool countOrExplain(const CountSettings& settings, CountMemoryGate* gate,
                        FileExplanation* explanation, const HeldFile* held);

    /// The encoding is still to be detected, at the next count.
    bool detectEncodingOnCount_ = false;
};

/// The part of a path after its last '/'; the whole path when it has none.
std::u16string_view fileNameOfPath(std::u16string_view path);

/// The type of the file `name` by its extension (from its last '.' on), whatever its case.
FileType fileTypeOfName(std::u16string_view name);

/// The disk path of a record that has only its shown path: its UTF-8 bytes.
std::string diskPathOfPath(std::u16string_view path);

}  // namespace tw
