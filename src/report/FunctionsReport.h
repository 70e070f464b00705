#pragma once

#include <functional>
#include <string_view>

#include "project/ProjectFolder.h"

namespace tw {

/// The functions report: comma-separated values with the header
/// `File,Function,Line,Lines,Complexity` and one row per function of the counted files below
/// `root`, the most complex first and functions of equal complexity in project order (the
/// records in pre-order, each record's functions in the order of their definitions). Lines is
/// the number of lines from the first line of the definition to its closing brace. Fields are
/// quoted as in the csv report. Rows end in "\r\n". Only a count in the Cyclomatic Complexity
/// mode finds functions: in the other modes the report is the header alone. The text goes to
/// `output` in pieces of a few tens of kilobytes; returns false when `output` ended it early.
bool writeFunctionsReport(const ProjectFolder& root,
                          const std::function<bool(std::u16string_view piece)>& output);

}  // namespace tw
