#pragma once

#include "engine/FileCount.h"
#include "engine/SourceText.h"

namespace tw {

/// Fills `code` (and, in the Executable mode, `declaration`) with the statement count of the
/// current mode from the prepared text. False after a stage failure, with `remarks` set.
bool parseLogical(SourceText& text, FileCount& record);

}  // namespace tw
