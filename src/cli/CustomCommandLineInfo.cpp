#include "cli/CustomCommandLineInfo.h"

#include <array>

#include "cli/ArgumentText.h"
#include "cli/ConsoleMessages.h"
#include "engine/CountSettings.h"
#include "engine/TextConversion.h"
#include "project/ExcludePatterns.h"

namespace tw {
namespace {

/// The options in the order names are compared; those after "quiet" are this program's own.
constexpr std::array<std::u16string_view, 14> kOptionNames = {
    u"out",    u"ext",   u"dir",  u"file",    u"list", u"mode",    u"nosub",
    u"report", u"quiet", u"save", u"threads", u"git",  u"exclude", u"explain"};

/// The options that do nothing without a value after them.
constexpr std::array<std::u16string_view, 10> kOptionsWithValues = {
    u"out", u"ext", u"dir", u"file", u"list", u"mode", u"report", u"save", u"threads", u"exclude"};

bool takesValues(std::u16string_view option) {
    for (const std::u16string_view name : kOptionsWithValues) {
        if (name == option) {
            return true;
        }
    }
    return false;
}

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

void CCustomCommandLineInfo::ParseParam(std::u16string_view param, bool isSwitch, bool isLast) {
    handleParam(param, isSwitch);
    if (isLast) {
        noteMissingValue();
    }
}

void CCustomCommandLineInfo::noteMissingValue() {
    if (awaitingValue_) {
        warnings.push_back("-" + utf8FromUtf16(currentOption) + ": no value follows; ignored");
        awaitingValue_ = false;
    }
}

void CCustomCommandLineInfo::handleParam(std::u16string_view param, bool isSwitch) {
    if (isSwitch) {
        // Unknown switches are left alone: before the first option there is no framework to
        // hand them to here, and after it they are ignored.
        if (isOptionName(param)) {
            noteMissingValue();
            awaitingValue_ = takesValues(param);
            consoleMode = true;
            currentOption = param;
            if (param == u"quiet") {
                quiet = true;
            } else if (param == u"git") {
                git = true;
            } else if (param == u"explain") {
                explain = true;
            }
        } else {
            warnings.push_back("unknown option " + quoted(u"-" + std::u16string(param)) +
                               " ignored");
        }
        return;
    }
    if (!consoleMode) {
        warnings.push_back(quoted(param) + " ignored: it comes before any option");
        return;
    }
    awaitingValue_ = false;
    const std::u16string value(param);
    const auto ignored = [this, &value](std::string_view why) {
        warnings.push_back("-" + utf8FromUtf16(currentOption) + ": " + quoted(value) +
                           " ignored: " + std::string(why));
    };
    if (currentOption == u"out") {
        outputDirectory = value;
        outputDirectoryGiven = true;
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
    } else if (currentOption == u"file" || currentOption == u"explain") {
        files.push_back(value);
    } else if (currentOption == u"list") {
        listFiles.push_back(value);
    } else if (currentOption == u"mode") {
        CountMode mode = countSettings().mode;
        if (countModeFromLetter(value, mode)) {
            countSettings().mode = mode;
        } else {
            ignored("not a mode (p, t, e or c)");
        }
    } else if (currentOption == u"report") {
        if (value == u"none") {
            reportFlags = 0;
        } else if (value == u"list") {
            reportFlags = kReportList;
        } else if (value == u"tree") {
            reportFlags = kReportTree;
        } else if (value == u"json") {
            reportFlags = kReportJson;
        } else if (value == u"nodir" || value == u"csv") {
            if ((reportFlags & kReportList) != 0) {
                reportFlags |= value == u"csv" ? kReportCsv : kReportNoDirectories;
            } else {
                ignored("it applies only after list");
            }
        } else {
            ignored("not a report word (none, list, tree, json; nodir and csv after list)");
        }
    } else if (currentOption == u"quiet") {
        quiet = true;
        ignored("-quiet takes no values");
    } else if (currentOption == u"nosub") {
        ignored("-nosub takes no values; use -dir nosub DIR");
    } else if (currentOption == u"save") {
        saveFile = value;
    } else if (currentOption == u"threads") {
        if (!parseThreads(value, threads)) {
            ignored("not a number from 0 to 9999");
        }
    } else if (currentOption == u"git") {
        ignored("-git takes no values");
    } else if (currentOption == u"exclude") {
        if (ExcludePatterns().add(diskBytes(value))) {
            excludePatterns.push_back(value);
        } else {
            ignored("the pattern names nothing");
        }
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
