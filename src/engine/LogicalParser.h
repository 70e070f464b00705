#pragma once

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/SourceText.h"

namespace tw {

/// Fills `code` (and, in the Executable mode, `declaration`) with the statement count of the
/// current mode from the prepared text. Terminating Characters counts the ';' characters;
/// Executable runs the stage chain (functions, array access, declarations, logic, operators,
/// the last four only for C/C++ and Java); the other modes count nothing. False after a stage
/// failure, with `remarks` holding the stage's prefix and message.
bool parseLogical(SourceText& text, FileCount& record, const CountSettings& settings);

}  // namespace tw
