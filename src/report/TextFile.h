#pragma once

#include <string>
#include <string_view>

namespace tw {

/// The bytes of a text file for people: UTF-8, every line feed written as CR LF, a code unit
/// UTF-8 cannot hold (a lone surrogate) written as '?'. Carriage returns already in the text
/// are dropped first, so "\r\n" and "\n" both end up as one CR LF.
std::string textFileBytes(std::u16string_view text);

/// The bytes of a CSV report: UTF-8 as the writer made it, a lone surrogate written as '?'. Its
/// rows end in CR LF already, and a quoted field keeps the carriage returns and line feeds of a
/// name as they are, so that the name reads back byte for byte.
std::string csvFileBytes(std::u16string_view text);

/// The same text for standard output, where other programs read it: UTF-8, lines ending in a
/// line feed alone (a CR LF becomes LF), a lone surrogate written as '?'.
std::string lineFeedTextBytes(std::u16string_view text);

}  // namespace tw
