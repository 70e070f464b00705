#pragma once

#include "engine/FileCount.h"
#include "engine/SourceFile.h"
#include "engine/SourceText.h"
#include "engine/TextEncoding.h"

#include <string_view>

namespace tw {

/// Encoding named by the byte-order mark of the file's first three bytes; `Ansi` without one.
TextEncoding detectEncoding(const SourceFile& file);

/// Decodes file bytes by `encoding` into a source text: the code units up to the first U+0000
/// or U+FFFF, without carriage returns, then the end mark; line feeds indexed.
void decodeSourceText(std::string_view bytes, TextEncoding encoding, SourceText& text);

/// Fills `text` from the record's file, decoded by the record's stored encoding. On failure
/// `remarks` is "Invalid input file." and the result false.
bool readSourceText(FileCount& record, SourceText& text);

/// The same from a file the caller has already opened.
bool readSourceText(FileCount& record, const SourceFile& file, SourceText& text);

}  // namespace tw
