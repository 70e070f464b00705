#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// What `SourceFile::error` holds for a path that names neither a file nor a directory (a
/// pipe, a device, a socket); every other failure is the system's `errno` value.
inline constexpr int kNotARegularFile = -1;

/// The bytes of a file that is kept elsewhere than on disk (a blob of a git repository), or why
/// it cannot be had: counted as the file with these bytes would be.
struct HeldFile {
    /// The file's bytes; they must stay while the file is open.
    std::string_view bytes;
    /// Why the file cannot be had: an `errno` value (ENOENT: there is no such file); 0 when
    /// `bytes` are its contents.
    int error = 0;
};

/// A source file opened for reading. Only regular files open: a directory, a pipe or a device
/// named like a source file is refused, so counting it can neither hang nor read endlessly. A
/// file held in memory (`HeldFile`) opens and reads the same way.
class SourceFile {
  public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    /// Opens `diskPath` for reading; false when it is missing, unreadable or not a regular file
    /// (a directory fails with EISDIR).
    bool open(const std::string& diskPath);
    /// Opens the bytes `held` names; false, with its error, when it names none.
    bool open(const HeldFile& held);
    void close();
    bool isOpen() const { return fd_ >= 0 || held_ != nullptr; }

    /// Length in bytes when it was opened, 0xFFFFFFFF when it does not fit in 32 bits.
    std::uint32_t sizeBytes() const;
    /// Length in bytes when it was opened; 0 when not open.
    std::uint64_t byteLength() const { return isOpen() ? length_ : 0; }

    /// Reads up to `count` bytes at `offset` without moving anything; returns how many were read,
    /// 0 on a read error.
    std::size_t readAt(std::uint64_t offset, unsigned char* into, std::size_t count) const;

    /// Reads up to `count` bytes at `offset`, fewer only at the end of the file; returns how
    /// many were read, or -1 on a read error. A short read that reaches `knownEnd` or beyond
    /// is taken as the end of the file without asking again: the file held no more when it
    /// was opened.
    std::int64_t readSome(std::uint64_t offset, unsigned char* into, std::size_t count,
                          std::uint64_t knownEnd = UINT64_MAX) const;

    /// Why the last `open` or read failed: an `errno` value or `kNotARegularFile`; 0 when
    /// nothing failed.
    int error() const { return error_; }

  private:
    int fd_ = -1;
    /// The bytes of a held file that is open; null otherwise.
    const char* held_ = nullptr;
    mutable int error_ = 0;
    /// Taken once at opening: every later question about the length is answered from it.
    std::uint64_t length_ = 0;
};

}  // namespace tw
