#include "project/ExtensionFilter.h"

#include <algorithm>

#include "engine/TextConversion.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

std::u16string lowerCased(std::u16string text) {
    for (char16_t& unit : text) {
        unit = toLowerUnit(unit);
    }
    return text;
}

}  // namespace

ExtensionFilter::ExtensionFilter(const std::vector<std::u16string>& extensions) {
    for (const std::u16string& extension : extensions) {
        extensions_.push_back(lowerCased(extension));
    }
}

bool ExtensionFilter::takes(std::string_view name) const {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::u16string extension =
        lowerCased(utf16FromUtf8(name.substr(dot), InvalidUtf8::Escape));
    return std::find(extensions_.begin(), extensions_.end(), extension) != extensions_.end();
}

}  // namespace tw
