#include "FuzzEntries.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ArgumentText.h"
#include "cli/CustomCommandLineInfo.h"
#include "cli/ListFile.h"
#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "project/ProjectFile.h"
#include "project/ProjectFolder.h"

namespace tw::fuzz {
namespace {

/// A scratch file per process, rewritten for every input.
const std::string& scratchDirectory() {
    static const std::string directory = [] {
        std::string pattern = "/tmp/tallyweaver-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    return directory;
}

}  // namespace

void countFile(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    static const char* const kExtensions[] = {".h", ".cpp", ".rc", ".java", ".cs", ".txt"};
    const std::uint8_t selector = data[0];
    const auto mode = static_cast<CountMode>(selector % 4);
    const char* extension = kExtensions[(selector / 4) % 6];
    countSettings() =
        CountSettings{mode, (selector & 0x40) != 0, (selector & 0x80) == 0, (selector & 0x20) != 0};
    const std::string path = scratchDirectory() + "/input" + extension;
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data + 1, 1, size - 1, file);
        std::fclose(file);
    }
    FileCount record(argumentText(path), path);
    const bool ok = record.count(countSettings());
    // A count either succeeds with empty remarks or fails with a message.
    if (ok != record.remarks.empty() || ok != record.counted || ok == record.failed) {
        std::abort();
    }
}

void loadProject(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProjectFolder root;
    CountSettings settings;
    const ProjectLoadResult result = ProjectFile::load(bytes, root, settings);
    if (!result.succeeded()) {
        if (root.TotalRecords() != 0 || !root.subfolders().empty()) {
            std::abort();  // a failed load must leave nothing half-built
        }
        return;
    }
    const std::string stored = ProjectFile::store(root, settings);
    ProjectFolder again;
    CountSettings settingsAgain;
    if (!ProjectFile::load(stored, again, settingsAgain).succeeded() ||
        ProjectFile::store(again, settingsAgain) != stored) {
        std::abort();  // what was stored must load back to the same bytes
    }
}

void parseCommandLine(const std::uint8_t* data, std::size_t size) {
    std::vector<std::u16string> arguments;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        arguments.push_back(argumentText(rest.substr(0, end)));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    const CountSettings saved = countSettings();
    CCustomCommandLineInfo info;
    info.ParseArguments(arguments);
    if (info.reportFlags != 16 &&
        ((info.reportFlags & ~15u) != 0 || (info.reportFlags & 12u && !(info.reportFlags & 1u)))) {
        std::abort();  // only 0, 1, 2, 5, 9, 13 and 16 can arise
    }
    countSettings() = saved;
}

void readListFile(const std::uint8_t* data, std::size_t size) {
    std::vector<std::u16string> files;
    appendListLines(std::string_view(reinterpret_cast<const char*>(data), size), files);
    ProjectFolder root;
    for (const std::u16string& file : files) {
        root.AddFilePath(displayText(file), diskBytes(file));
    }
}

}  // namespace tw::fuzz
