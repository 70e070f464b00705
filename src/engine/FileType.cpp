#include "engine/FileType.h"

namespace tw {

std::u16string_view fileTypeName(FileType type) {
    switch (type) {
        case FileType::CppHeader:
            return u"C/C++ Header";
        case FileType::CppSource:
            return u"C/C++ Source";
        case FileType::ResourceScript:
            return u"C/C++ Resource Script";
        case FileType::JavaSource:
            return u"Java Source";
        default:
            return u"Undefined";
    }
}

namespace {

/// Table order decides: the first listed extension that equals the given one wins.
constexpr struct {
    std::u16string_view extension;
    FileType type;
} kExtensions[] = {
    {u".h", FileType::CppHeader},       {u".hpp", FileType::CppHeader},
    {u".hxx", FileType::CppHeader},     {u".c", FileType::CppSource},
    {u".cpp", FileType::CppSource},     {u".cc", FileType::CppSource},
    {u".cxx", FileType::CppSource},     {u".inl", FileType::CppSource},
    {u".rc", FileType::ResourceScript}, {u".java", FileType::JavaSource},
    {u".cs", FileType::CSharpSource},
};

}  // namespace

FileType fileTypeOfExtension(std::u16string_view extension) {
    for (const auto& entry : kExtensions) {
        if (entry.extension == extension) {
            return entry.type;
        }
    }
    return FileType::Undefined;
}

std::vector<std::u16string_view> languageExtensions() {
    std::vector<std::u16string_view> extensions;
    for (const auto& entry : kExtensions) {
        if (isCountedLanguage(entry.type)) {
            extensions.push_back(entry.extension);
        }
    }
    return extensions;
}

}  // namespace tw
