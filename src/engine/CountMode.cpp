#include "engine/CountMode.h"

namespace tw {

std::u16string_view countModeName(CountMode mode) {
    switch (mode) {
        case CountMode::TerminatingCharacters:
            return u"Terminating Characters";
        case CountMode::Executable:
            return u"Executable";
        case CountMode::CyclomaticComplexity:
            return u"Cyclomatic Complexity";
        case CountMode::Physical:
            break;
    }
    return u"Physical";
}

bool countModeFromLetter(std::u16string_view letter, CountMode& mode) {
    static constexpr struct {
        std::u16string_view letter;
        CountMode mode;
    } kLetters[] = {{u"p", CountMode::Physical},
                    {u"t", CountMode::TerminatingCharacters},
                    {u"e", CountMode::Executable},
                    {u"c", CountMode::CyclomaticComplexity}};
    for (const auto& entry : kLetters) {
        if (entry.letter == letter) {
            mode = entry.mode;
            return true;
        }
    }
    return false;
}

}  // namespace tw
