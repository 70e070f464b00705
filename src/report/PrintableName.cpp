#include "report/PrintableName.h"

#include <algorithm>

namespace tw {
namespace {

bool isControl(char16_t unit) {
    return unit < u' ';
}

}  // namespace

bool hasControlCharacter(std::u16string_view name) {
    return std::any_of(name.begin(), name.end(), isControl);
}

std::u16string printableName(std::u16string_view name) {
    std::u16string shown(name);
    std::replace_if(shown.begin(), shown.end(), isControl, u'?');
    return shown;
}

}  // namespace tw
