#include "FuzzEntries.h"

#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>
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
#include "project/ExcludePatterns.h"
#include "project/ProjectFile.h"
#include "project/ProjectFolder.h"
#include "project/ShellPattern.h"

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

/// The folders and records of a tree, in order, as text.
std::u16string shapeOf(const ProjectFolder& folder) {
    std::u16string shape = u"[" + folder.name() + u"]";
    for (const auto& file : folder.files()) {
        shape += u"<" + file->path + u">";
    }
    for (const auto& subfolder : folder.subfolders()) {
        shape += shapeOf(*subfolder);
    }
    return shape + u"/";
}

/// Whether `pattern` and `name` lie where both matchers define the result: one component each
/// (no '/', and no NUL, which ends a C string), no character class by name ("[:alpha:]"), no
/// collating element or equivalence class, no '[' left open, no range running backwards, and
/// no '\' left without a character to escape.
bool bothDefine(const std::string& pattern, const std::string& name) {
    if (pattern.empty() || name.empty() || pattern.find('/') != std::string::npos ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
        return false;
    }
    for (const char* unsure : {"[:", "[=", "[."}) {
        if (pattern.find(unsure) != std::string::npos) {
            return false;
        }
    }
    // A '[' never closed: a plain '[' to the one, an empty set to the other when a range
    // starts inside it.
    if (const std::size_t open = pattern.rfind('['); open != std::string::npos) {
        std::size_t first = open + 1;
        if (first < pattern.size() && (pattern[first] == '!' || pattern[first] == '^')) {
            ++first;
        }
        if (pattern.find(']', first + 1) == std::string::npos) {
            return false;
        }
    }
    std::size_t backslashes = 0;
    for (std::size_t i = pattern.size(); i > 0 && pattern[i - 1] == '\\'; --i) {
        ++backslashes;
    }
    if (backslashes % 2 == 1) {
        return false;
    }
    for (std::size_t i = 0; i + 2 < pattern.size(); ++i) {
        if (pattern[i + 1] == '-' &&
            static_cast<unsigned char>(pattern[i]) > static_cast<unsigned char>(pattern[i + 2])) {
            return false;
        }
    }
    return true;
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
        ProjectFile::store(again, settingsAgain) != stored || shapeOf(again) != shapeOf(root)) {
        std::abort();  // what was stored must load back to the same project and bytes
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
    if (info.report && info.report->format == ReportFormatId::Csv && !info.report->listStyle) {
        std::abort();  // a csv report is always a list
    }
    countSettings() = saved;
}

void readListFile(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    const std::size_t piece = std::size_t{data[0]} % 17 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::u16string> files;
    std::vector<std::size_t> longLines;
    ListFileLines whole(files, [&longLines](std::size_t line) { longLines.push_back(line); });
    whole.feed(bytes);
    whole.finish();
    std::vector<std::u16string> filesInPieces;
    std::vector<std::size_t> longLinesInPieces;
    ListFileLines pieces(filesInPieces, [&longLinesInPieces](std::size_t line) {
        longLinesInPieces.push_back(line);
    });
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        pieces.feed(bytes.substr(at, piece));
    }
    pieces.finish();
    if (filesInPieces != files || longLinesInPieces != longLines) {
        std::abort();  // where the reads of a pipe happen to end changes nothing
    }
    ProjectFolder root;
    for (const std::u16string& file : files) {
        root.AddFilePath(displayText(file), diskBytes(file));
    }
}

void matchPattern(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos) {
        return;
    }
    const std::string pattern(bytes.substr(0, nul));
    const std::string name(bytes.substr(nul + 1));
    if (!bothDefine(pattern, name)) {
        return;
    }
    const bool expected = ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
    // The ignore matcher compares bytes, as fnmatch does in the C locale.
    if (shell::componentMatches<char>(pattern, name) != expected) {
        std::abort();
    }
    // The exclude matcher compares characters: the same on ASCII.
    const auto ascii = [](const std::string& text) {
        return std::all_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (ascii(pattern) && ascii(name)) {
        ExcludePatterns excluded;
        if (excluded.add(pattern) && excluded.matches(name, false) != expected) {
            std::abort();
        }
    }
}

}  // namespace tw::fuzz
