#pragma once

#include <map>
#include <string>

namespace tw {

/// Files whose count failed, by record path in UTF-16 code-unit order, with the error text
/// each left. Filled by the counting loops; read by the quick summary and the Errors dialog.
using FailedCountTable = std::map<std::u16string, std::u16string>;

/// The process-wide table.
FailedCountTable& failedCountTable();

}  // namespace tw
