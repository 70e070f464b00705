#include "engine/Language.h"

#include <array>

#include "engine/ArrayAccessCounter.h"
#include "engine/CodeToken.h"
#include "engine/DeclarationCounter.h"
#include "engine/LogicCounter.h"
#include "engine/LogicalPreparser.h"
#include "engine/OperatorCounter.h"

namespace tw {
namespace {

constexpr LogicalStages kCppStages{countCppArrayAccess, countCppDeclarations, countCppLogic,
                                   countCppOperators};
constexpr LogicalStages kJavaStages{countJavaArrayAccess, countJavaDeclarations, countJavaLogic,
                                    countJavaOperators};

constexpr LanguageExtension kHeaderExtensions[] = {
    {u".h", true}, {u".hpp", true}, {u".hxx", true}, {u".hh", true}};
constexpr LanguageExtension kSourceExtensions[] = {
    {u".c", true}, {u".cpp", true}, {u".cc", true}, {u".cxx", true}, {u".inl", true}};
constexpr LanguageExtension kResourceExtensions[] = {{u".rc", true}};
constexpr LanguageExtension kJavaExtensions[] = {{u".java", true}};
constexpr LanguageExtension kCSharpExtensions[] = {{u".cs"}};

constexpr Language cppLanguage(FileType type, std::u16string_view name,
                               std::span<const LanguageExtension> extensions) {
    return {.type = type,
            .name = name,
            .extensions = extensions,
            .counted = true,
            .helpName = "C and C++ sources and headers",
            .splicesLines = true,
            .rawStrings = true,
            .digitSeparators = true,
            .directiveCharacter = u'#',
            .clearArrayInitialisers = clearCppArrayInitialisers,
            .stages = &kCppStages,
            .hasFunctions = true,
            .functionSyntax = CodeLanguage::Cpp};
}

/// One row per file type, in the order of their values.
constexpr std::array<Language, 6> kLanguages = {{
    cppLanguage(FileType::CppHeader, u"C/C++ Header", kHeaderExtensions),
    cppLanguage(FileType::CppSource, u"C/C++ Source", kSourceExtensions),
    {.type = FileType::ResourceScript,
     .name = u"C/C++ Resource Script",
     .extensions = kResourceExtensions,
     .counted = true,
     .helpName = "resource scripts",
     .splicesLines = true,
     .logicalCount = LogicalCount::NonBlankLines},
    {.type = FileType::JavaSource,
     .name = u"Java Source",
     .extensions = kJavaExtensions,
     .counted = true,
     .helpName = "Java",
     .textBlocks = true,
     .clearArrayInitialisers = clearJavaArrayInitialisers,
     .countDirectiveStatements = countJavaDirectives,
     .stages = &kJavaStages,
     .hasFunctions = true,
     .functionSyntax = CodeLanguage::Java},
    // C# files have a type of their own, which project files store, but the program has no
    // rules for C#: they are shown as "Undefined" and counted as any file of an unknown
    // extension. The row keeps the stored value meaning what it meant.
    {.type = FileType::CSharpSource, .name = u"Undefined", .extensions = kCSharpExtensions},
    {.type = FileType::Undefined, .name = u"Undefined"},
}};

constexpr bool rowsFollowTheTypes() {
    for (std::size_t i = 0; i < kLanguages.size(); ++i) {
        if (static_cast<std::size_t>(kLanguages[i].type) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rowsFollowTheTypes(), "kLanguages[i] is the row of the file type of value i");

}  // namespace

const Language& languageOf(FileType type) {
    const auto index = static_cast<std::size_t>(type);
    return index < kLanguages.size() ? kLanguages[index]
                                     : kLanguages[static_cast<std::size_t>(FileType::Undefined)];
}

std::span<const Language> languages() {
    return kLanguages;
}

FileType fileTypeOfExtension(std::u16string_view extension) {
    for (const Language& language : kLanguages) {
        for (const LanguageExtension& entry : language.extensions) {
            if (entry.extension == extension) {
                return language.type;
            }
        }
    }
    return FileType::Undefined;
}

std::vector<std::u16string_view> languageExtensions() {
    std::vector<std::u16string_view> extensions;
    for (const Language& language : kLanguages) {
        if (language.counted) {
            for (const LanguageExtension& entry : language.extensions) {
                extensions.push_back(entry.extension);
            }
        }
    }
    return extensions;
}

std::string languageSummary() {
    std::string summary;
    std::string_view previous;
    for (const Language& language : kLanguages) {
        if (language.counted && language.helpName != previous) {
            summary += (summary.empty() ? "" : ", ") + std::string(language.helpName);
            previous = language.helpName;
        }
    }
    return summary;
}

}  // namespace tw
