#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/FileType.h"

namespace tw {

class FileCount;
struct DeclarationTally;
struct SourceText;
enum class CodeLanguage : std::uint8_t;

/// The C/C++ or Java versions of the Executable stages 2 to 5 (array access, declarations,
/// logic, operators); stage 1, the functions, is the same for every language.
struct LogicalStages {
    int (*arrayAccess)(SourceText&, FileCount&, int& bracketOperators);
    int (*declarations)(std::u16string&, FileCount&, DeclarationTally&);
    int (*logic)(SourceText&, FileCount&, int& conditionOperators);
    int (*operators)(std::u16string&, FileCount&);
};

/// How the logical modes count a language's code.
enum class LogicalCount : std::uint8_t {
    /// The Terminating Characters count or the Executable chain, with the language's stages.
    Statements,
    /// Every non-blank line is one statement, in every logical mode (resource scripts).
    NonBlankLines,
};

/// One extension of a language: lower case, with its '.'.
struct LanguageExtension {
    std::u16string_view extension;
    /// The Add Folder dialog takes it at first; the others start in its unused list.
    bool addedByDefault = false;
};

/// Everything the program knows of one file type: what it is called, which files are of it,
/// and the rules by which its text is read and counted. Every stage reads these fields rather
/// than testing the type, so a language is one row of `kLanguages` (Language.cpp) and its
/// fixtures.
struct Language {
    FileType type = FileType::Undefined;
    /// The name the views, reports and summaries show ("C/C++ Header").
    std::u16string_view name;
    std::span<const LanguageExtension> extensions{};
    /// One of the languages the program counts by rules of its own. The others are counted by
    /// the rules of C without its directives, literal forms or later stages.
    bool counted = false;
    /// How the help texts name the language in their list of the program's languages; rows
    /// that share one (the C/C++ headers and sources) are named once.
    std::string_view helpName{};

    // ---- Reading the text -------------------------------------------------------------
    /// A backslash that ends a line joins the next line to it before comments are recognised
    /// (the C preprocessor's reading), so a line comment ending in a backslash goes on.
    bool splicesLines = false;
    /// R"delim( ... )delim" raw strings.
    bool rawStrings = false;
    /// A quote between digits separates them (1'000) and opens no literal.
    bool digitSeparators = false;
    /// """ ... """ text blocks.
    bool textBlocks = false;

    // ---- The logical modes --------------------------------------------------------------
    LogicalCount logicalCount = LogicalCount::Statements;
    /// The character that begins a directive line, which the logical pre-parser blanks and
    /// the Executable mode counts as one directive; 0 for none.
    char16_t directiveCharacter = 0;
    /// Blanks the bodies of array initialisers before statements are counted; null for none.
    bool (*clearArrayInitialisers)(SourceText&, FileCount&) = nullptr;
    /// Counts and blanks the statements that are directives of the language (Java's imports,
    /// packages and annotations), -1 after a failure; null for none.
    int (*countDirectiveStatements)(SourceText&, FileCount&) = nullptr;
    /// Stages 2 to 5 of the Executable chain; null to run stage 1 alone.
    const LogicalStages* stages = nullptr;
    /// The keywords the Cyclomatic Complexity mode reads functions by; none for a language
    /// without functions. A C/C++ file named *.c is read with C's keywords.
    bool hasFunctions = false;
    CodeLanguage functionSyntax{};
};

/// The row of `type`; a value no row has (read from a damaged project file) gives the row of
/// `FileType::Undefined`.
const Language& languageOf(FileType type);

/// Every row, in the order of the file types.
std::span<const Language> languages();

/// "C/C++ Header", ...; the name of the row of `type`.
inline std::u16string_view fileTypeName(FileType type) {
    return languageOf(type).name;
}

/// The type of a lower-case extension (dot included, ".cpp"); `Undefined` when none matches.
FileType fileTypeOfExtension(std::u16string_view extension);

/// The extensions of the languages the program counts, lower case with their '.', in the order
/// of the table.
std::vector<std::u16string_view> languageExtensions();

/// The help texts' list of the languages the program counts, in the order of the table:
/// "C and C++ sources and headers, resource scripts, Java".
std::string languageSummary();

}  // namespace tw
