#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/FileExplanation.h"

namespace tw {

/// One file as a count saw it, with the record that count filled.
struct ExplainedFile {
    const FileCount* record;
    const FileExplanation* explanation;
};

/// One line of a file as read, as UTF-8 for people and JSON readers: in a file read byte by
/// byte, units that form UTF-8 stay as they are and any other byte is its Latin-1 character;
/// a UTF-16 file's units are converted. With `keepTabs` false tabs, and always every other
/// control character, become '?'.
std::string explainedLineText(std::u16string_view units, TextEncoding encoding, bool keepTabs);

/// A file line by line for people: a heading with its path and the mode; each line behind a
/// fixed-width prefix of its number, its class as the physical rules see it and, in the
/// logical modes, what was counted on it (statements; declarations and directives in the
/// Executable mode); then the file's figures, or its failure. Line feeds end the lines.
std::string explainText(const ExplainedFile& file, CountMode mode);

/// The same for several files as one JSON document: the mode and options, and per file its
/// path, outcome, figures and `lines`.
std::string explainJson(const std::vector<ExplainedFile>& files, const CountSettings& settings);

}  // namespace tw
