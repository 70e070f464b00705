#pragma once

#include "engine/FileCount.h"
#include "engine/SourceFile.h"
#include "engine/SourceText.h"
#include "engine/TextEncoding.h"

#include <cstdint>
#include <string_view>

namespace tw {

/// Encoding named by the byte-order mark of the file's first three bytes; `Ansi` without one.
TextEncoding detectEncoding(const SourceFile& file);

/// The same from the first `count` bytes of a file (all of them when it is shorter than three).
TextEncoding encodingOfByteOrderMark(const unsigned char* bytes, std::size_t count);

/// Decodes file bytes by `encoding` into a source text: every code unit but carriage returns
/// (U+FFFF, which would pose as the end mark, as U+FFFD), then the end mark; line feeds
/// indexed.
void decodeSourceText(std::string_view bytes, TextEncoding encoding, SourceText& text);

/// Files larger than this are not read: positions in the text stay below 2^31 and the memory
/// a count needs stays bounded. Such a file fails with "File too large to count."
inline constexpr std::uint64_t kLargestSourceFile = (std::uint64_t{1} << 31) - 1;

/// Fills `text` from the record's file, decoded by the record's stored encoding. On failure
/// `remarks` is "Invalid input file." (or the too-large text) and the result false.
bool readSourceText(FileCount& record, SourceText& text);

/// How `readSourceText` takes the encoding.
enum class EncodingSource {
    /// The record's stored encoding.
    Record,
    /// The file's byte-order mark, found in the first bytes read and stored in the record: the
    /// file is read once for both.
    ByteOrderMark,
};

/// The same from a file the caller has already opened.
bool readSourceText(FileCount& record, const SourceFile& file, SourceText& text,
                    EncodingSource encodingSource = EncodingSource::Record);

}  // namespace tw
