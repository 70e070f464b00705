#include "report/PrintableName.h"

#include <algorithm>

namespace tw {
namespace {

bool isControl(char16_t unit) {
    return unit < u' ' || (unit >= 0x80 && unit <= 0x9F) || unit == 0x2028 || unit == 0x2029;
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
