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

FileType fileTypeOfExtension(std::u16string_view extension) {
    // Table order decides: the first listed extension that equals the given one wins.
    static constexpr struct {
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
    for (const auto& entry : kExtensions) {
        if (entry.extension == extension) {
            return entry.type;
        }
    }
    return FileType::Undefined;
}

}  // namespace tw
