#include "engine/LogicalParser.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/ArrayAccessCounter.h"
#include "engine/CountSettings.h"
#include "engine/CountTrace.h"
#include "engine/DeclarationCounter.h"
#include "engine/FunctionCounter.h"
#include "engine/FunctionFinder.h"
#include "engine/Language.h"

namespace tw {
namespace {

/// What the Executable chain carries from one step to the next.
struct Chain {
    const CountSettings& settings;
    const LogicalStages* stages = nullptr;  ///< stages 2 to 5; none for stage 1 alone
    std::int64_t codeAdded = 0;  ///< by the current step, added to the record's `code` after it
    FunctionTally functions;
    DeclarationTally declarations;
};

bool runFunctions(SourceText& text, FileCount& record, Chain& chain) {
    const int found = countFunctions(text, record, chain.functions);
    if (found < 0) {
        return false;
    }
    chain.codeAdded += found + chain.functions.argumentOperators;
    return true;
}

bool runArrayAccess(SourceText& text, FileCount& record, Chain& chain) {
    if (chain.stages == nullptr) {
        return true;
    }
    int bracketOperators = 0;
    const int found = chain.stages->arrayAccess(text, record, bracketOperators);
    if (found < 0) {
        return false;
    }
    chain.codeAdded += found + bracketOperators;
    return true;
}

/// Where stage 1 wrote an '@' that is still its marker, and whether that function's name is
/// all upper case (the last function written at a position wins).
std::unordered_map<std::size_t, bool> markerNames(const FunctionTally& functions) {
    std::unordered_map<std::size_t, bool> names;
    names.reserve(functions.markers.size());
    for (const FunctionTally::Marker& marker : functions.markers) {
        names[marker.position] = marker.allCaps;
    }
    return names;
}

bool runDeclarations(SourceText& text, FileCount& record, Chain& chain) {
    if (chain.stages == nullptr) {
        return true;
    }
    const int found = chain.stages->declarations(text.chars, record, chain.declarations);
    if (found < 0) {
        record.declaration = static_cast<std::uint32_t>(-1);
        return false;
    }
    record.declaration = static_cast<std::uint32_t>(found);
    // A function declarator takes back the function that stage 1 counted for its '@'. Only an
    // '@' that stage 1 wrote stands for such a function; one from the source takes nothing.
    const auto names = markerNames(chain.functions);
    std::int64_t takenBack = 0;
    for (const std::size_t marker : chain.declarations.declaratorMarkers) {
        const std::size_t found = names.count(marker);
        takenBack += found;
        CountTrace::note(text.chars, marker, TraceKind::Statement, -static_cast<int>(found));
    }
    chain.codeAdded += chain.declarations.initialisers - takenBack;
    return true;
}

/// Treating all-caps functions as macros takes them back out of `code`, except those the
/// declaration stage has already taken back as function declarators (taking one back twice
/// would leave `code` below zero).
bool takeBackAllCapsFunctions(SourceText& text, FileCount&, Chain& chain) {
    const CountSettings& settings = chain.settings;
    if (!settings.allCapsFunctionsAsMacros || settings.macrosAsStatements) {
        return true;
    }
    const auto names = markerNames(chain.functions);
    std::int64_t declarators = 0;
    for (const std::size_t marker : chain.declarations.declaratorMarkers) {
        const auto found = names.find(marker);
        if (found != names.end() && found->second) {
            ++declarators;
            CountTrace::note(text.chars, marker, TraceKind::Statement);
        }
    }
    for (const FunctionTally::Marker& marker : chain.functions.markers) {
        if (marker.allCaps) {
            CountTrace::note(text.chars, marker.position, TraceKind::Statement, -1);
        }
    }
    chain.codeAdded -= chain.functions.allCapsFunctions - declarators;
    return true;
}

bool runLogic(SourceText& text, FileCount& record, Chain& chain) {
    if (chain.stages == nullptr) {
        return true;
    }
    int conditionOperators = 0;
    const int found = chain.stages->logic(text, record, conditionOperators);
    if (found < 0) {
        return false;
    }
    chain.codeAdded += found;
    if (!chain.settings.logicAsSingleStatement) {
        chain.codeAdded += conditionOperators;
    }
    return true;
}

bool runOperators(SourceText& text, FileCount& record, Chain& chain) {
    if (chain.stages == nullptr) {
        return true;
    }
    const int found = chain.stages->operators(text.chars, record);
    if (found < 0) {
        return false;
    }
    chain.codeAdded += found;
    return true;
}

/// One step of the Executable chain and the prefix its failure message gets.
struct ChainStep {
    std::u16string_view failurePrefix;
    bool (*run)(SourceText&, FileCount&, Chain&);
};

/// The Executable chain, in the order that is part of the counting rules: each stage overwrites
/// what it counted, so later stages no longer see it.
constexpr ChainStep kExecutableChain[] = {
    {u"Error identifying function(s): ", runFunctions},
    {u"Error parsing array access operators: ", runArrayAccess},
    {u"Error parsing declarations: ", runDeclarations},
    {u"", takeBackAllCapsFunctions},
    {u"Error parsing logic statement: ", runLogic},
    {u"Error parsing operators: ", runOperators},
};

/// The Cyclomatic Complexity mode: `code` is the sum of the complexities of the functions of a
/// file whose language has functions, kept in the record; other types have none.
void measureComplexity(const SourceText& text, FileCount& record) {
    const Language& row = languageOf(record.fileType);
    if (!row.hasFunctions) {
        return;
    }
    CodeLanguage language = row.functionSyntax;
    if (language == CodeLanguage::Cpp) {
        const std::u16string_view name = record.fileName();
        const std::size_t dot = name.rfind(u'.');
        if (dot != std::u16string_view::npos && dot + 2 == name.size() &&
            (name[dot + 1] == u'c' || name[dot + 1] == u'C')) {
            language = CodeLanguage::C;
        }
    }
    record.functions = findFunctions(text, language);
    std::uint64_t sum = 0;
    for (const FunctionComplexity& function : record.functions) {
        sum += function.complexity;
    }
    record.code = static_cast<std::uint32_t>(std::min<std::uint64_t>(sum, 0xFFFFFFFFu));
}

bool parseExecutable(SourceText& text, FileCount& record, const CountSettings& settings) {
    Chain chain{settings, nullptr, 0, {}, {}};
    chain.stages = languageOf(record.fileType).stages;
    for (const ChainStep& step : kExecutableChain) {
        chain.codeAdded = 0;
        const bool succeeded = step.run(text, record, chain);
        record.code =
            static_cast<std::uint32_t>(static_cast<std::int64_t>(record.code) + chain.codeAdded);
        if (!succeeded) {
            record.remarks.insert(0, step.failurePrefix);
            return false;
        }
    }
    return true;
}

}  // namespace

bool parseLogical(SourceText& text, FileCount& record, const CountSettings& settings) {
    switch (settings.mode) {
        case CountMode::TerminatingCharacters:
            if (CountTrace::watches(text.chars)) {
                for (std::size_t i = 0; i < text.size(); ++i) {
                    if (text[i] == u';') {
                        CountTrace::note(text.chars, i, TraceKind::Statement);
                    }
                }
            }
            for (const char16_t c : text.chars) {
                if (c == u';') {
                    ++record.code;
                }
            }
            return true;
        case CountMode::Executable:
            return parseExecutable(text, record, settings);
        case CountMode::CyclomaticComplexity:
            measureComplexity(text, record);
            return true;
        case CountMode::Physical:
            break;
    }
    return true;
}

}  // namespace tw
