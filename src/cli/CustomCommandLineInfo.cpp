#include "cli/CustomCommandLineInfo.h"

#include "cli/ArgumentText.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleOptions.h"
#include "engine/CountSettings.h"
#include "engine/Language.h"
#include "engine/TextConversion.h"
#include "engine/WideChar.h"
#include "project/ExcludePatterns.h"
#include "report/ReportFormat.h"

namespace tw {
namespace {

/// A number of at most `digits` decimal digits from its text; false for anything else.
template <typename Number>
bool parseDecimal(std::u16string_view text, std::size_t digits, Number& number) {
    if (text.empty() || text.size() > digits) {
        return false;
    }
    Number value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        value = static_cast<Number>(value * 10 + static_cast<Number>(c - u'0'));
    }
    number = value;
    return true;
}

}  // namespace

bool isOptionName(std::u16string_view name) {
    return findConsoleOption(name) != nullptr;
}

void CCustomCommandLineInfo::ParseParam(std::u16string_view param, bool isSwitch, bool isLast) {
    if (isSwitch) {
        endUnknownOption();
        noteMissingValue();
        if (const ConsoleOption* option = findConsoleOption(param)) {
            awaitingValue_ = option->needsValue;
            consoleMode = true;
            currentOption = param;
            if (param == u"quiet") {
                quiet = true;
            } else if (param == u"git") {
                git = true;
            } else if (param == u"explain") {
                explain = true;
            } else if (param == u"nosub") {
                noSubfolders = true;
            } else if (param == u"ext") {
                extensionsGiven = true;
            }
        } else {
            // Before the first option there is no framework to hand it to here; after it, it is
            // ignored. Either way what follows it is its values, a typo's as much as its own:
            // none of them is taken as a file.
            unknownOption_ = u"-" + std::u16string(param);
        }
    } else if (!unknownOption_.empty()) {
        unknownValues_.emplace_back(param);
    } else if (!consoleMode) {
        // "/name" was a switch where the program comes from; here it is a path.
        const bool slashOption =
            param.size() > 1 && param[0] == u'/' && isOptionName(param.substr(1));
        warnings.push_back(quoted(param) + " ignored: it comes before any option" +
                           (slashOption ? " (options begin with '-')" : ""));
    } else {
        awaitingValue_ = false;
        applyValue(std::u16string(param));
    }
    if (isLast) {
        endUnknownOption();
        noteMissingValue();
    }
}

void CCustomCommandLineInfo::noteMissingValue() {
    // An -ext without any extension at all stops the run, which says why itself.
    if (awaitingValue_ && !(currentOption == u"ext" && extensions.empty())) {
        warnings.push_back("-" + utf8FromUtf16(currentOption) + ": no value follows; ignored");
        awaitingValue_ = false;
    }
}

void CCustomCommandLineInfo::applyValue(const std::u16string& value) {
    const auto ignored = [this, &value](std::string_view why) {
        warnings.push_back("-" + utf8FromUtf16(currentOption) + ": " + quoted(value) +
                           " ignored: " + std::string(why));
    };
    if (currentOption == u"out") {
        outputDirectory = value;
        outputDirectoryGiven = true;
    } else if (currentOption == u"ext") {
        applyExtension(value);
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
            modeGiven = true;
        } else {
            ignored("not a mode (p, t, e or c)");
        }
    } else if (currentOption == u"report") {
        applyReportWord(value);
    } else if (currentOption == u"quiet") {
        quiet = true;
        ignored("-quiet takes no values");
    } else if (currentOption == u"nosub") {
        ignored("-nosub takes no values; use -dir nosub DIR");
    } else if (currentOption == u"save") {
        saveFile = value;
    } else if (currentOption == u"threads") {
        if (!parseDecimal(value, 4, threads)) {
            ignored("not a number from 0 to 9999");
        }
    } else if (currentOption == u"max-complexity") {
        std::uint32_t limit = 0;
        if (parseDecimal(value, 9, limit)) {
            maxComplexity = limit;
        } else {
            ignored("not a number from 0 to 999999999");
        }
    } else if (currentOption == u"git") {
        ignored("-git takes no values");
    } else if (currentOption == u"rev" || currentOption == u"history") {
        std::u16string& taken = currentOption == u"rev" ? revision : history;
        if (taken.empty()) {
            taken = value;
        } else {
            ignored("it takes one value, and " + quoted(taken) + " came first");
        }
    } else if (currentOption == u"diff") {
        if (diffVersions.size() < 2) {
            diffVersions.push_back(value);
        } else {
            ignored("-diff compares two versions, OLD and NEW");
        }
    } else if (currentOption == u"exclude") {
        if (ExcludePatterns().add(diskBytes(value))) {
            excludePatterns.push_back(value);
        } else {
            ignored("the pattern names nothing");
        }
    }
}

std::string CCustomCommandLineInfo::complexityNeededBy() const {
    if (maxComplexity) {
        return "-max-complexity";
    }
    if (report && report->format == ReportFormatId::Functions) {
        return "-report functions";
    }
    return {};
}

void CCustomCommandLineInfo::applyReportWord(const std::u16string& word) {
    const auto warn = [this, &word](const std::string& why) {
        warnings.push_back("-report: " + quoted(word) + " " + why);
    };
    const ReportWord* row = findReportWord(word);
    if (row == nullptr) {
        std::string choices;
        std::string changes;
        std::string_view after;
        for (const ReportWord& known : reportWords()) {
            if (known.after.empty()) {
                choices += (choices.empty() ? "" : ", ") + std::string(known.word);
            } else {
                changes += (changes.empty() ? "" : " and ") + std::string(known.word);
                after = known.after;
            }
        }
        warn("ignored: not a report word (" + choices +
             (changes.empty() ? "" : "; " + changes + " after " + std::string(after)) + ")");
        return;
    }
    if (!row->after.empty()) {
        if (!report || reportChoice_ != row->after) {
            warn("ignored: it applies only after " + std::string(row->after));
            return;
        }
        row->apply(report);
        reportWords_ += u" " + word;
        return;
    }
    // A run writes one report: a second word that chooses one takes the place of the first.
    std::optional<ReportLayout> chosen;
    row->apply(chosen);
    if (report) {
        warn((chosen ? "replaces the earlier " : "cancels the earlier ") + quoted(reportWords_) +
             ": a run writes one report");
    }
    report = chosen;
    reportChoice_ = chosen ? row->word : std::string_view();
    reportWords_ = chosen ? word : u"";
}

void CCustomCommandLineInfo::applyExtension(const std::u16string& extension) {
    extensions.push_back(extension);
    std::u16string dotted =
        extension.empty() || extension.front() != u'.' ? u"." + extension : extension;
    std::u16string lower = dotted;
    for (char16_t& unit : lower) {
        unit = toLowerUnit(unit);
    }
    if (lower != dotted) {
        warnings.push_back("-ext: " + quoted(extension) + " is taken as " + quoted(lower) +
                           ": extensions match in any letter case");
    }
    if (!languageOf(fileTypeOfExtension(lower)).counted) {
        warnings.push_back("-ext: " + quoted(lower) +
                           " is not an extension of a language the program knows; its files "
                           "are counted with the rules of C");
    }
}

void CCustomCommandLineInfo::endUnknownOption() {
    if (unknownOption_.empty()) {
        return;
    }
    std::string warning = "unknown option " + quoted(unknownOption_) + " ignored";
    if (!unknownValues_.empty()) {
        warning +=
            unknownValues_.size() == 1 ? ", and the value after it:" : ", and the values after it:";
        for (const std::u16string& value : unknownValues_) {
            warning += " " + quoted(value);
        }
    }
    warnings.push_back(warning);
    unknownOption_.clear();
    unknownValues_.clear();
}

void CCustomCommandLineInfo::ParseArguments(const std::vector<std::u16string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string_view argument = arguments[i];
        const bool isLast = i + 1 == arguments.size();
        if (isSwitchArgument(argument)) {
            ParseParam(argument.substr(1), true, isLast);
        } else {
            ParseParam(argument, false, isLast);
        }
    }
}

bool isSwitchArgument(std::u16string_view argument) {
    return argument.size() > 1 && argument[0] == u'-';
}

}  // namespace tw
