#pragma once

#include <string>
#include <string_view>

#include "engine/CountColumns.h"

namespace tw {

/// `text` as a JSON string, quotes included. Control characters are escaped; a code unit that
/// UTF-8 cannot hold (a lone surrogate) becomes '?', as in the other reports.
void appendJsonString(std::string& out, std::u16string_view text);

void appendJsonBool(std::string& out, bool value);

/// `, "name": value` pairs of every column: the counters, then the two totals formed from them.
void appendJsonCounters(std::string& out, const CountValues& values);

}  // namespace tw
