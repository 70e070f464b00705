#include "engine/LogicalParser.h"

#include "engine/CountSettings.h"

namespace tw {

bool parseLogical(SourceText& text, FileCount& record) {
    switch (countSettings().mode) {
        case CountMode::TerminatingCharacters:
            for (const char16_t c : text.chars) {
                if (c == u';') {
                    ++record.code;
                }
            }
            return true;
        case CountMode::Executable:
            // The stage chain of the Executable mode comes with the statement stages; until
            // then this mode leaves `code` as the earlier stages left it.
            return true;
        case CountMode::CyclomaticComplexity:
        case CountMode::Physical:
            break;
    }
    return true;
}

}  // namespace tw
