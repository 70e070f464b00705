#pragma once

#include <string>
#include <vector>

namespace tw::test {

/// The paths of the "Parsing:" lines a console run printed, in order: one per record.
inline std::vector<std::string> parsedPaths(const std::string& output) {
    std::vector<std::string> paths;
    const std::string prefix = "Parsing:\t";
    for (std::size_t at = output.find(prefix); at != std::string::npos;
         at = output.find(prefix, at)) {
        at += prefix.size();
        paths.push_back(output.substr(at, output.find('\n', at) - at));
    }
    return paths;
}

}  // namespace tw::test
