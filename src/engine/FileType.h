#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tw {

/// Kind of source file, fixed at construction of its record from the path's extension.
enum class FileType : std::int32_t {
    CppHeader = 0,
    CppSource = 1,
    ResourceScript = 2,
    JavaSource = 3,
    CSharpSource = 4,
    Undefined = 5,
};

/// "C/C++ Header", ...; every value outside 0 to 3 reads "Undefined".
std::u16string_view fileTypeName(FileType type);

/// The type of a lower-case extension (dot included, ".cpp"); `Undefined` when none matches.
FileType fileTypeOfExtension(std::u16string_view extension);

/// Whether `type` is one of the languages the program counts by their own rules: C/C++
/// headers and sources, resource scripts, Java. C# files are recognised but shown as
/// "Undefined" and, like any other file, counted by the C rules.
inline bool isCountedLanguage(FileType type) {
    return type == FileType::CppHeader || type == FileType::CppSource ||
           type == FileType::ResourceScript || type == FileType::JavaSource;
}

/// The extensions of the languages the program counts, lower case with their '.', in the order
/// the extension table lists them.
std::vector<std::u16string_view> languageExtensions();

/// True for the two C/C++ types whose directives and array initialisers the engine handles.
inline bool isCppFile(FileType type) {
    return type == FileType::CppHeader || type == FileType::CppSource;
}

/// True for the types the C preprocessor reads: there a backslash that ends a line joins the
/// next line to it before comments are recognised, so a line comment ending in a backslash
/// goes on over the next line. Java has no such joining.
inline bool splicesLines(FileType type) {
    return isCppFile(type) || type == FileType::ResourceScript;
}

}  // namespace tw
