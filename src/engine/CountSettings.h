#pragma once

#include "engine/CountMode.h"

namespace tw {

/// How the engine counts: the mode and the three options of the logical modes.
/// One instance per process (`countSettings()`); it must not change while a count runs.
struct CountSettings {
    CountMode mode = CountMode::Physical;
    bool allCapsFunctionsAsMacros = false;
    bool macrosAsStatements = true;
    bool logicAsSingleStatement = false;

    friend bool operator==(const CountSettings&, const CountSettings&) = default;
};

/// The process-wide settings read by every stage of every count.
CountSettings& countSettings();

}  // namespace tw
