#pragma once

#include <string>

#include "engine/TextConversion.h"
#include "project/ProjectFolder.h"

namespace tw::test {

/// The shape of a project tree as text, one line per folder ("[name]") and per record (its
/// path), indented two spaces per level, so a whole tree compares in one assertion.
inline std::string treeText(const ProjectFolder& folder, int depth = 0) {
    std::string text;
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (const auto& file : folder.files()) {
        text += indent + utf8FromUtf16(file->path) + "\n";
    }
    for (const auto& subfolder : folder.subfolders()) {
        text += indent + "[" + utf8FromUtf16(subfolder->name()) + "]\n";
        text += treeText(*subfolder, depth + 1);
    }
    return text;
}

}  // namespace tw::test
