#include "cli/CustomCommandLineInfo.h"

#include <unistd.h>

#include <array>
#include <climits>

#include "cli/ArgumentText.h"
#include "engine/CountSettings.h"

namespace tw {
namespace {

/// The options in the order names are compared; the last two are this program's own.
constexpr std::array<std::u16string_view, 11> kOptionNames = {
    u"out", u"ext", u"dir", u"file", u"list", u"mode", u"nosub", u"report", u"quiet",
    u"save", u"threads"};

/// A thread count from its decimal text; false for anything else.
bool parseThreads(std::u16string_view text, unsigned& threads) {
    if (text.empty() || text.size() > 4) {
        return false;
    }
    unsigned value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - u'0');
    }
    threads = value;
    return true;
}

}  // namespace

bool isOptionName(std::u16string_view name) {
    for (const std::u16string_view option : kOptionNames) {
        if (option == name) {
            return true;
        }
    }
    return false;
}

std::u16string executableDirectory() {
    std::string self(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", self.data(), self.size());
    if (length <= 0) {
        return u"/";
    }
    self.resize(static_cast<std::size_t>(length));
    const std::size_t slash = self.rfind('/');
    return argumentText(slash == std::string::npos ? std::string() : self.substr(0, slash)) +
           u"/";
}

CCustomCommandLineInfo::CCustomCommandLineInfo() : CCustomCommandLineInfo(executableDirectory()) {}

CCustomCommandLineInfo::CCustomCommandLineInfo(std::u16string defaultOutputDirectory)
    : outputDirectory(std::move(defaultOutputDirectory)) {}

void CCustomCommandLineInfo::ParseParam(std::u16string_view param, bool isSwitch,
                                        bool /*isLast*/) {
    if (isSwitch) {
        // Unknown switches are left alone: before the first option there is no framework to
        // hand them to here, and after it they are ignored.
        if (isOptionName(param)) {
            consoleMode = true;
            currentOption = param;
            if (param == u"quiet") {
                quiet = true;
            }
        }
        return;
    }
    if (!consoleMode) {
        return;
    }
    const std::u16string value(param);
    if (currentOption == u"out") {
        outputDirectory = value + u"/";
    } else if (currentOption == u"ext") {
        extensions.push_back(value);
    } else if (currentOption == u"dir") {
        if (value == u"nosub") {
            noSubfoldersPending = true;
        } else if (noSubfoldersPending) {
            directoriesNoSubfolders.push_back(value);
            noSubfoldersPending = false;
        } else {
            directories.push_back(value);
        }
    } else if (currentOption == u"file") {
        files.push_back(value);
    } else if (currentOption == u"list") {
        listFiles.push_back(value);
    } else if (currentOption == u"mode") {
        CountMode mode = countSettings().mode;
        if (countModeFromLetter(value, mode)) {
            countSettings().mode = mode;
        }
    } else if (currentOption == u"report") {
        if (value == u"none") {
            reportFlags = 0;
        } else if (value == u"list") {
            reportFlags = kReportList;
        } else if (value == u"tree") {
            reportFlags = kReportTree;
        } else if (value == u"nodir" && (reportFlags & kReportList) != 0) {
            reportFlags |= kReportNoDirectories;
        } else if (value == u"csv" && (reportFlags & kReportList) != 0) {
            reportFlags |= kReportCsv;
        }
    } else if (currentOption == u"quiet") {
        quiet = true;
    } else if (currentOption == u"save") {
        saveFile = value;
    } else if (currentOption == u"threads") {
        parseThreads(value, threads);
    }
}

void CCustomCommandLineInfo::ParseArguments(const std::vector<std::u16string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string_view argument = arguments[i];
        const bool isLast = i + 1 == arguments.size();
        const bool dashSwitch = !argument.empty() && argument[0] == u'-';
        const bool slashSwitch =
            !argument.empty() && argument[0] == u'/' && isOptionName(argument.substr(1));
        if (dashSwitch || slashSwitch) {
            ParseParam(argument.substr(1), true, isLast);
        } else {
            ParseParam(argument, false, isLast);
        }
    }
}

}  // namespace tw
