#include "cli/ConsoleMessages.h"

#include <cstring>
#include <ostream>

#include "cli/ArgumentText.h"
#include "engine/TextConversion.h"
#include "report/PrintableName.h"

namespace tw {

void printError(std::ostream& out, std::string_view text) {
    out << "tallyweaver: " << text << '\n' << std::flush;
}

void printWarning(std::ostream& out, std::string_view text) {
    out << "tallyweaver: warning: " << text << '\n' << std::flush;
}

std::string quoted(std::u16string_view text) {
    return "'" + utf8FromUtf16(printableName(displayText(text))) + "'";
}

std::string quoted(std::string_view bytes) {
    return quoted(argumentText(bytes));
}

std::string systemReason(int error) {
    return std::strerror(error);
}

}  // namespace tw
