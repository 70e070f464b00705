#pragma once

#include <string>
#include <string_view>

#include "project/ByteReader.h"
#include "project/ByteWriter.h"

namespace tw {

/// How reading a value from a project file ended.
enum class ReadStatus {
    Ok,
    EndOfData,  ///< the bytes ended before the value did
    Invalid,    ///< the bytes cannot be a value, such as a length beyond 31 bits
};

/// Writes `text` as a wide string of the project file: the tag bytes FF FE FF, the length in
/// code units (one byte below 255; else FF and 16 bits below 0xFFFE; else FF FF FF and 32 bits
/// below 0xFFFFFFFF; else those, FF FF FF FF and 64 bits), then the code units, little-endian.
void writeArchiveString(ByteWriter& out, std::u16string_view text);

/// Reads a string of the project file. Without the wide tag the string is single-byte,
/// decoded as Windows-1252. A length that does not fit in 31 bits is `Invalid`; one longer
/// than the bytes left is `EndOfData`, found before anything is allocated for it.
ReadStatus readArchiveString(ByteReader& in, std::u16string& text);

/// The UTF-16 code unit of a Windows-1252 byte; the five bytes that code page leaves unassigned
/// keep their own value.
char16_t windows1252ToUtf16(unsigned char byte);

}  // namespace tw
